#pragma once
// The 128-bit identifier the platform stand-ins name devices, drivers and
// interfaces with, laid out as Windows lays out a GUID.

#include <cstdint>

namespace base {

struct GUID {
    std::uint32_t Data1 = 0;
    std::uint16_t Data2 = 0;
    std::uint16_t Data3 = 0;
    std::uint8_t Data4[8] = {};
    friend bool operator==(const GUID&, const GUID&) = default;
};

} // namespace base
