// Feeds arbitrary bytes to LoadBMP as a BMP file on a memory stream, on both
// paths: a surface of an 8-bit display whose desktop is 8 bits (rows copied
// straight into the surface) and one on a 32-bit desktop (decoded through
// Qt and stretched over the surface). Nothing may crash, read or write out
// of bounds or allocate beyond what the bytes and the surface justify.
#include "diagnostics/dddd_log.h"
#include "platform/ui/qt_bitmap_decoder.h"
#include "surfaces/fake_host.h"

#include <QtGlobal>

#include <cstddef>
#include <cstdint>

namespace {

struct Fixture {
    Fixture() {
        // Qt warns about every malformed picture it reads, which here is
        // nearly every input; the warnings would bury libFuzzer's output.
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        dddd::Log().WriteDebugLog = false;
        ui::SetBitmapDecoder(&decoder);
        paletted.ScreenBits = 8;
    }
    ui::QtBitmapDecoder decoder;
    surfacetest::FakeHost trueColour;
    surfacetest::FakeHost paletted{8};
    dddd::TDDDDSurface decoded{&trueColour, 64, 48, 0};
    dddd::TDDDDSurface direct{&paletted, 64, 48, 0};
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Fixture* fixture = new Fixture();
    for (dddd::TDDDDSurface* surface : {&fixture->decoded, &fixture->direct}) {
        base::MemoryStream stream(std::vector<std::uint8_t>(data, data + size));
        surface->LoadBMP(stream);
        if (surface->Locked)
            __builtin_trap();
    }
    return 0;
}
