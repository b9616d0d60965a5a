// LoadBMP and the two ways to feed it: a file or an archive entry.
//
// An 8-bit picture on an 8-bit desktop is copied row by row into the locked
// surface, bottom-aligned and unscaled; anything else is decoded whole and
// stretched over the surface through a canvas. The file is untrusted: no
// header value makes this code allocate more than the file and the surface
// justify, or touch memory outside them.
#include "archive/QDArc.h"
#include "base/errors.h"
#include "base/system_error_text.h"
#include "diagnostics/dddd_log.h"
#include "platform/component/bitmap_decoder.h"
#include "surfaces/dddd_canvas.h"
#include "surfaces/gen_surface.h"
#include "surfaces/surface_host.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <memory>
#include <vector>

namespace dddd {

using namespace ddraw;

namespace {

constexpr std::int64_t kFileHeaderSize = 14;
constexpr std::int64_t kInfoHeaderSize = 40;
constexpr std::int64_t kColorTableSize = 1024;
constexpr char kReadError[] = "LoadBMP中に、読み込みエラーが発生しました";
constexpr char kBadBitmap[] = "不正なビットマップです";

std::uint32_t U32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

// Reads count bytes; what does not arrive reads as zero. Stream errors
// (exceptions) reach the caller.
void ReadPadded(base::Stream& stream, void* buffer, std::int64_t count) {
    const std::int64_t got = std::max<std::int64_t>(0, stream.Read(buffer, count));
    if (got < count)
        std::memset(static_cast<std::uint8_t*>(buffer) + got, 0, static_cast<std::size_t>(count - got));
}

// The whole stream from its start, read in pieces so that only bytes that
// actually arrive take memory, whatever size the stream claims.
std::vector<std::uint8_t> ReadWholeStream(base::Stream& stream) {
    stream.SetPosition(0);
    std::vector<std::uint8_t> bytes;
    constexpr std::size_t kPiece = 64 * 1024;
    for (;;) {
        const std::size_t used = bytes.size();
        bytes.resize(used + kPiece);
        const std::int64_t got = stream.Read(bytes.data() + used, kPiece);
        bytes.resize(used + static_cast<std::size_t>(std::max<std::int64_t>(0, got)));
        if (got < static_cast<std::int64_t>(kPiece))
            return bytes;
    }
}

// The picture size the headers promise, in pixels.
std::uint64_t PromisedPixels(const std::vector<std::uint8_t>& file) {
    if (file.size() < kFileHeaderSize + 16)
        return 0;
    const std::uint8_t* info = file.data() + kFileHeaderSize;
    std::int64_t width;
    std::int64_t height;
    if (U32(info) == 12) {
        width = U16(info + 4);
        height = U16(info + 6);
    } else {
        width = static_cast<std::int32_t>(U32(info + 4));
        height = static_cast<std::int32_t>(U32(info + 8));
    }
    return static_cast<std::uint64_t>(width < 0 ? -width : width) *
           static_cast<std::uint64_t>(height < 0 ? -height : height);
}

// A canvas over a decoded picture, the source of the stretching copy.
class DecodedBitmapCanvas : public TCanvas {
public:
    explicit DecodedBitmapCanvas(ui::DecodedBitmap& image) {
        view_.Pixels = reinterpret_cast<BYTE*>(image.Pixels.data());
        view_.Width = image.Width;
        view_.Height = image.Height;
        view_.Pitch = image.Width * 4;
        view_.BitsPerPixel = 32;
        view_.Format.dwSize = DDPIXELFORMAT::kSize;
        view_.Format.dwFlags = DDPF_RGB;
        view_.Format.dwRGBBitCount = 32;
        view_.Format.dwRBitMask = 0x00FF0000;
        view_.Format.dwGBitMask = 0x0000FF00;
        view_.Format.dwBBitMask = 0x000000FF;
    }

protected:
    void CreateHandle() override {
        if (!context_)
            context_ = CurrentDeviceContextFactory().Create(view_);
        SetHandle(context_.get());
    }

private:
    PixelView view_;
    std::unique_ptr<DeviceContext> context_;
};

} // namespace

void TDDDDGenSurface::LoadBMP(base::Stream& stream) {
    if (IsLost())
        return;
    std::uint8_t fileHeader[kFileHeaderSize];
    try {
        ReadPadded(stream, fileHeader, kFileHeaderSize);
    } catch (const std::exception&) {
        ReportMessage("ビットマップの読みこみ中に、エラーが発生しました");
        return;
    }
    if (U16(fileHeader) != 0x4D42) {
        ReportMessage("おかしなBMPファイルです");
        return;
    }
    std::uint8_t info[kInfoHeaderSize];
    try {
        ReadPadded(stream, info, kInfoHeaderSize);
    } catch (const std::exception&) {
        ReportMessage(kReadError);
        return;
    }
    const std::int32_t screenBytes = Owner ? Owner->GetScreenBitsPerPixel() / 8 : 0;
    std::int32_t imageBytes = U16(info + 14) == 8 ? 1 : 0;
    if (imageBytes != screenBytes)
        imageBytes = 0;
    if (imageBytes == 0 || screenBytes == 0)
        LoadBitmapDecoded(stream);
    else
        LoadBitmapDirect(stream, static_cast<std::int32_t>(U32(info + 4)),
                         static_cast<std::int32_t>(U32(info + 8)), U32(fileHeader + 10));
}

void TDDDDGenSurface::LoadBitmapDirect(base::Stream& stream, std::int32_t width,
                                       std::int32_t height, std::uint32_t pixelOffset) {
    try {
        std::vector<std::uint8_t> colorTable(kColorTableSize);
        ReadPadded(stream, colorTable.data(), kColorTableSize);
        stream.SetPosition(pixelOffset);
    } catch (const std::exception&) {
        ReportMessage(kReadError);
        return;
    }
    // A negative width describes no rows at all.
    if (width < 0) {
        ReportMessage(kReadError);
        return;
    }
    const std::uint64_t paddedRow = (static_cast<std::uint64_t>(width) + 3) & ~std::uint64_t{3};

    DDSURFACEDESC desc = MakeSurfaceDesc();
    if (CheckResult(Surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr),
                    "LoadBMP中にサーフェスがロックできませんでした") != DD_OK)
        return;
    const std::uint64_t pitch = desc.lPitch > 0 ? static_cast<std::uint64_t>(desc.lPitch) : 0;
    const std::uint64_t copyBytes = std::min(pitch, paddedRow);
    const std::uint32_t rows = std::min(desc.dwHeight, static_cast<std::uint32_t>(height));
    auto* pixels = static_cast<std::uint8_t*>(desc.lpSurface);
    try {
        if (rows == 0 || !pixels)
            throw base::EReadError("no rows");
        // Each file row goes straight into its surface row; the part of a
        // wider file row that does not fit is skipped, not buffered.
        for (std::uint32_t i = 0; i < rows; ++i) {
            std::uint8_t* destination =
                pixels + static_cast<std::ptrdiff_t>(desc.dwHeight - 1 - i) * desc.lPitch;
            ReadPadded(stream, destination, static_cast<std::int64_t>(copyBytes));
            if (paddedRow > copyBytes)
                stream.Seek(static_cast<std::int64_t>(paddedRow - copyBytes), base::SeekOrigin::Current);
        }
    } catch (const std::exception&) {
        ReportMessage(kReadError);
    }
    CheckResult(Surface->Unlock(nullptr), "LoadBMP中にサーフェスがアンロックできませんでした");
}

void TDDDDGenSurface::LoadBitmapDecoded(base::Stream& stream) {
    ui::DecodedBitmap image;
    try {
        const std::vector<std::uint8_t> file = ReadWholeStream(stream);
        // A picture may be as large as its bytes can describe (8 pixels a
        // byte) or as the surface it covers; run-length files that claim
        // more are refused before anything is decoded.
        const std::uint64_t justified = std::max<std::uint64_t>(
            static_cast<std::uint64_t>(file.size()) * 8,
            static_cast<std::uint64_t>(std::max(Width, 0)) * static_cast<std::uint64_t>(std::max(Height, 0)));
        if (PromisedPixels(file) > justified ||
            !ui::CurrentBitmapDecoder().Decode(file.data(), file.size(), image) ||
            image.Width <= 0 || image.Height <= 0) {
            ReportMessage(kBadBitmap);
            return;
        }
    } catch (const std::exception&) {
        ReportMessage(kBadBitmap);
        return;
    }
    DecodedBitmapCanvas source(image);
    TDDDDCanvas canvas(this);
    canvas.CopyMode = TCopyMode::cmSrcCopy;
    canvas.CopyRect(base::MakeRect(0, 0, Width, Height), source,
                    base::MakeRect(0, 0, image.Width, image.Height));
}

void TDDDDGenSurface::LoadFromFile(const std::string& fileName) {
    std::unique_ptr<base::FileStream> file;
    try {
        file = std::make_unique<base::FileStream>(fileName, base::FileMode::OpenRead);
    } catch (const base::EFOpenError& error) {
        ReportMessage(base::OpenFailureMessage(fileName, error.ErrorNumber()));
        return;
    }
    LoadBMP(*file);
}

void TDDDDGenSurface::LoadFromArchive(const std::string& archiveName,
                                      const std::string& entryName) {
    std::unique_ptr<base::MemoryStream> entry;
    try {
        entry = archive::ExtractFromArchive(archiveName, entryName);
    } catch (const std::exception&) {
        ReportMessage("アーカイブからのビットマップの読み取りに失敗しました");
        return;
    }
    LoadBMP(*entry);
}

} // namespace dddd
