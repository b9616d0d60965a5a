#pragma once
// Builds BMP files in memory for the loader's tests: 24-bit pictures from a
// colour function and 8-bit pictures from an index function.

#include <cstdint>
#include <functional>
#include <vector>

namespace surfacetest {

using Bytes = std::vector<std::uint8_t>;

inline void Put16(Bytes& b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
inline void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// File and info headers for a picture whose pixel data start at dataOffset.
inline Bytes BmpHeaders(std::int32_t width, std::int32_t height, std::uint16_t bits,
                        std::uint32_t dataOffset, std::uint32_t compression = 0) {
    Bytes b(54, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 10, dataOffset);
    Put32(b, 14, 40);
    Put32(b, 18, static_cast<std::uint32_t>(width));
    Put32(b, 22, static_cast<std::uint32_t>(height));
    Put16(b, 26, 1);
    Put16(b, 28, bits);
    Put32(b, 30, compression);
    return b;
}

// colour(x, y) gives 0x00RRGGBB for the pixel at column x of row y (top row 0).
inline Bytes MakeBmp24(int width, int height, const std::function<std::uint32_t(int, int)>& colour) {
    Bytes b = BmpHeaders(width, height, 24, 54);
    const int row = (width * 3 + 3) & ~3;
    for (int y = height - 1; y >= 0; --y) {
        Bytes line(static_cast<std::size_t>(row), 0);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t c = colour(x, y);
            line[x * 3] = static_cast<std::uint8_t>(c);
            line[x * 3 + 1] = static_cast<std::uint8_t>(c >> 8);
            line[x * 3 + 2] = static_cast<std::uint8_t>(c >> 16);
        }
        b.insert(b.end(), line.begin(), line.end());
    }
    Put32(b, 2, static_cast<std::uint32_t>(b.size()));
    return b;
}

// index(x, y) gives the palette index; the palette is a grey ramp.
inline Bytes MakeBmp8(int width, int height, const std::function<std::uint8_t(int, int)>& index) {
    Bytes b = BmpHeaders(width, height, 8, 54 + 1024);
    for (int i = 0; i < 256; ++i) {
        const auto v = static_cast<std::uint8_t>(i);
        b.insert(b.end(), {v, v, v, 0});
    }
    const int row = (width + 3) & ~3;
    for (int y = height - 1; y >= 0; --y) {
        Bytes line(static_cast<std::size_t>(row), 0);
        for (int x = 0; x < width; ++x)
            line[x] = index(x, y);
        b.insert(b.end(), line.begin(), line.end());
    }
    Put32(b, 2, static_cast<std::uint32_t>(b.size()));
    return b;
}

} // namespace surfacetest
