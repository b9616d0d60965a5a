// The game's two kinds of blit on a 640x480 back buffer, timed beside SDL2's
// SDL_BlitSurface (same pixels, same key, RLE off) and beside memcpy of the
// same bytes, all in one run; the ratios are printed at the end with the
// processor and the routine our keyed copies ran.
//   keyed sprite: 160x120 with a colour key, at 16 and at 32 bits
//                                            (goal: at least 2x SDL2)
//   opaque strip: 640x10 background strip    (goal: at least 0.8x memcpy)

#include "platform/ddraw/blitter.h"
#include "platform/ddraw/ddraw.h"
#include "support/processor_model.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace ddraw;

constexpr LONG kScreenW = 640;
constexpr LONG kScreenH = 480;
constexpr LONG kSpriteW = 160;
constexpr LONG kSpriteH = 120;
constexpr LONG kStripW = 640;
constexpr LONG kStripH = 10;
constexpr LONG kSpriteX = 203; // not a multiple of anything, as sprites land
constexpr LONG kSpriteY = 171;
constexpr LONG kStripY = 300;
constexpr DWORD kKey = 0;

// A round creature on a transparent ground, with shading: about 35% of the
// sprite is key, in runs along each row as in the game's sprite sheets.
// The unused top byte of a 32-bit pixel stays 0, as SDL keeps it.
template <typename P> P Opaque(std::uint32_t value) {
    return static_cast<P>(value & 0x00FFFFFFu);
}

template <typename P> P SpritePixel(LONG x, LONG y) {
    const LONG dx = x - kSpriteW / 2;
    const LONG dy = y - kSpriteH / 2;
    if (dx * dx * 9 + dy * dy * 16 > 60 * 60 * 9) {
        return static_cast<P>(kKey);
    }
    const P value =
        Opaque<P>(static_cast<std::uint32_t>((x * 7) ^ (y * 13)) * 0x00410841u + 0x00561234u);
    return value == kKey ? 1 : value;
}

template <typename P> P BackgroundPixel(LONG x, LONG y) {
    return Opaque<P>(static_cast<std::uint32_t>(x * 31 + y * 2047) * 0x00010101u);
}

// Our surfaces and SDL's with the same pixels, at one depth (16-bit 5-6-5 or
// 32-bit 8-8-8).
template <typename P> struct Scene {
    static constexpr DWORD kBits = sizeof(P) * 8;
    IDirectDraw* dd = nullptr;
    IDirectDrawSurface* back = nullptr;
    IDirectDrawSurface* sprite = nullptr;
    IDirectDrawSurface* strip = nullptr;
    SDL_Surface* sdlBack = nullptr;
    SDL_Surface* sdlSprite = nullptr;
    SDL_Surface* sdlStrip = nullptr;
    std::vector<P> plainBack = Pixels(kScreenW, kScreenH, BackgroundPixel<P>);
    std::vector<P> plainSprite = Pixels(kSpriteW, kSpriteH, SpritePixel<P>);
    std::vector<P> plainStrip =
        Pixels(kStripW, kStripH, [](LONG x, LONG y) { return BackgroundPixel<P>(x + 1, y + 7); });

    Scene() {
        SetSoftwareSettings(SoftwareSettings{});
        DirectDrawCreate(nullptr, &dd, nullptr);
        dd->SetCooperativeLevel(nullptr, DDSCL_NORMAL);
        back = Make(kScreenW, kScreenH, plainBack);
        sprite = Make(kSpriteW, kSpriteH, plainSprite);
        strip = Make(kStripW, kStripH, plainStrip);
        const DDCOLORKEY key{kKey, kKey};
        sprite->SetColorKey(DDCKEY_SRCBLT, &key);

        sdlBack = MakeSdl(plainBack, kScreenW, kScreenH);
        sdlSprite = MakeSdl(plainSprite, kSpriteW, kSpriteH);
        sdlStrip = MakeSdl(plainStrip, kStripW, kStripH);
        SDL_SetColorKey(sdlSprite, SDL_TRUE, kKey);
        SDL_SetSurfaceRLE(sdlSprite, 0);
        SDL_SetSurfaceRLE(sdlStrip, 0);
        SDL_SetSurfaceBlendMode(sdlSprite, SDL_BLENDMODE_NONE);
        SDL_SetSurfaceBlendMode(sdlStrip, SDL_BLENDMODE_NONE);
    }

    ~Scene() {
        SDL_FreeSurface(sdlBack);
        SDL_FreeSurface(sdlSprite);
        SDL_FreeSurface(sdlStrip);
        back->Release();
        sprite->Release();
        strip->Release();
        dd->Release();
    }

    template <typename F> static std::vector<P> Pixels(LONG w, LONG h, F pixel) {
        std::vector<P> pixels(static_cast<std::size_t>(w * h));
        for (LONG y = 0; y < h; ++y) {
            for (LONG x = 0; x < w; ++x) {
                pixels[static_cast<std::size_t>(y * w + x)] = pixel(x, y);
            }
        }
        return pixels;
    }

    IDirectDrawSurface* Make(LONG w, LONG h, const std::vector<P>& pixels) {
        DDSURFACEDESC desc = MakeSurfaceDesc();
        desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
        desc.dwWidth = static_cast<DWORD>(w);
        desc.dwHeight = static_cast<DWORD>(h);
        desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
        desc.ddpfPixelFormat.dwSize = DDPIXELFORMAT::kSize;
        desc.ddpfPixelFormat.dwFlags = DDPF_RGB;
        desc.ddpfPixelFormat.dwRGBBitCount = kBits;
        desc.ddpfPixelFormat.dwRBitMask = kBits == 16 ? 0xF800 : 0xFF0000;
        desc.ddpfPixelFormat.dwGBitMask = kBits == 16 ? 0x07E0 : 0x00FF00;
        desc.ddpfPixelFormat.dwBBitMask = kBits == 16 ? 0x001F : 0x0000FF;
        IDirectDrawSurface* surface = nullptr;
        if (dd->CreateSurface(&desc, &surface, nullptr) != DD_OK) {
            std::fprintf(stderr, "CreateSurface failed\n");
            std::exit(1);
        }
        surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr);
        for (LONG y = 0; y < h; ++y) {
            std::memcpy(static_cast<BYTE*>(desc.lpSurface) + y * desc.lPitch, pixels.data() + y * w,
                        static_cast<std::size_t>(w) * sizeof(P));
        }
        surface->Unlock(nullptr);
        return surface;
    }

    static SDL_Surface* MakeSdl(const std::vector<P>& pixels, LONG w, LONG h) {
        SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(
            0, w, h, kBits, kBits == 16 ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_RGB888);
        for (LONG y = 0; y < h; ++y) {
            std::memcpy(static_cast<BYTE*>(surface->pixels) + y * surface->pitch,
                        pixels.data() + y * w, static_cast<std::size_t>(w) * sizeof(P));
        }
        return surface;
    }

    // Our blits draw what SDL draws, so the times compare like with like.
    bool SamePixels() {
        const RECT spriteRect{0, 0, kSpriteW, kSpriteH};
        back->BltFast(kSpriteX, kSpriteY, sprite, &spriteRect, DDBLTFAST_SRCCOLORKEY);
        SDL_Rect to{kSpriteX, kSpriteY, kSpriteW, kSpriteH};
        SDL_BlitSurface(sdlSprite, nullptr, sdlBack, &to);
        const RECT stripRect{0, 0, kStripW, kStripH};
        back->BltFast(0, kStripY, strip, &stripRect, 0);
        SDL_Rect stripTo{0, kStripY, kStripW, kStripH};
        SDL_BlitSurface(sdlStrip, nullptr, sdlBack, &stripTo);
        DDSURFACEDESC desc = MakeSurfaceDesc();
        back->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_READONLY, nullptr);
        bool same = true;
        for (LONG y = 0; y < kScreenH && same; ++y) {
            same = std::memcmp(static_cast<BYTE*>(desc.lpSurface) + y * desc.lPitch,
                               static_cast<BYTE*>(sdlBack->pixels) + y * sdlBack->pitch,
                               kScreenW * sizeof(P)) == 0;
        }
        back->Unlock(nullptr);
        return same;
    }
};

template <typename P> Scene<P>& TheScene() {
    static Scene<P> scene;
    return scene;
}

template <typename P> void KeyedSpriteOurs(benchmark::State& state) {
    Scene<P>& s = TheScene<P>();
    const RECT from{0, 0, kSpriteW, kSpriteH};
    for (auto _ : state) {
        s.back->BltFast(kSpriteX, kSpriteY, s.sprite, &from,
                        DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT);
        benchmark::ClobberMemory();
    }
    state.SetLabel(blit::KeyedCopyName(sizeof(P)));
}

template <typename P> void KeyedSpriteSdl(benchmark::State& state) {
    Scene<P>& s = TheScene<P>();
    for (auto _ : state) {
        SDL_Rect to{kSpriteX, kSpriteY, kSpriteW, kSpriteH};
        SDL_BlitSurface(s.sdlSprite, nullptr, s.sdlBack, &to);
        benchmark::ClobberMemory();
    }
}

template <typename P> void KeyedSpriteMemcpy(benchmark::State& state) {
    Scene<P>& s = TheScene<P>();
    for (auto _ : state) {
        P* dst = s.plainBack.data() + kSpriteY * kScreenW + kSpriteX;
        for (LONG y = 0; y < kSpriteH; ++y) {
            std::memcpy(dst + y * kScreenW, s.plainSprite.data() + y * kSpriteW,
                        kSpriteW * sizeof(P));
        }
        benchmark::ClobberMemory();
    }
}

void OpaqueStripOurs(benchmark::State& state) {
    Scene<WORD>& s = TheScene<WORD>();
    const RECT from{0, 0, kStripW, kStripH};
    for (auto _ : state) {
        s.back->BltFast(0, kStripY, s.strip, &from, DDBLTFAST_WAIT);
        benchmark::ClobberMemory();
    }
}

void OpaqueStripSdl(benchmark::State& state) {
    Scene<WORD>& s = TheScene<WORD>();
    for (auto _ : state) {
        SDL_Rect to{0, kStripY, kStripW, kStripH};
        SDL_BlitSurface(s.sdlStrip, nullptr, s.sdlBack, &to);
        benchmark::ClobberMemory();
    }
}

void OpaqueStripMemcpy(benchmark::State& state) {
    Scene<WORD>& s = TheScene<WORD>();
    for (auto _ : state) {
        std::memcpy(s.plainBack.data() + kStripY * kScreenW, s.plainStrip.data(),
                    static_cast<std::size_t>(kStripW * kStripH) * 2);
        benchmark::ClobberMemory();
    }
}

BENCHMARK(KeyedSpriteOurs<WORD>)->Name("KeyedSprite16Ours");
BENCHMARK(KeyedSpriteSdl<WORD>)->Name("KeyedSprite16Sdl");
BENCHMARK(KeyedSpriteMemcpy<WORD>)->Name("KeyedSprite16Memcpy");
BENCHMARK(KeyedSpriteOurs<DWORD>)->Name("KeyedSprite32Ours");
BENCHMARK(KeyedSpriteSdl<DWORD>)->Name("KeyedSprite32Sdl");
BENCHMARK(KeyedSpriteMemcpy<DWORD>)->Name("KeyedSprite32Memcpy");
BENCHMARK(OpaqueStripOurs);
BENCHMARK(OpaqueStripSdl);
BENCHMARK(OpaqueStripMemcpy);

// Keeps each benchmark's time per iteration for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            // Processor time: the machine is shared, and waiting for it is not
            // the blit's cost.
            times[run.benchmark_name()] = run.GetAdjustedCPUTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (!TheScene<WORD>().SamePixels() || !TheScene<DWORD>().SamePixels()) {
        std::fprintf(stderr, "our blits and SDL's differ; the comparison would be void\n");
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto& t = reporter.times;
    std::printf("\nprocessor: %s\n", benchsupport::ProcessorModel().c_str());
    for (const int bits : {16, 32}) {
        const std::string name = "KeyedSprite" + std::to_string(bits);
        if (t.count(name + "Ours") && t.count(name + "Sdl") && t.count(name + "Memcpy")) {
            std::printf("keyed 160x120 sprite, %d-bit (%s): %.2fx SDL2 (goal >= 2), %.2fx memcpy "
                        "of its rows\n",
                        bits, blit::KeyedCopyName(static_cast<DWORD>(bits / 8)),
                        t[name + "Sdl"] / t[name + "Ours"], t[name + "Memcpy"] / t[name + "Ours"]);
        }
    }
    if (t.count("OpaqueStripOurs") && t.count("OpaqueStripSdl") && t.count("OpaqueStripMemcpy")) {
        std::printf("opaque 640x10 strip, 16-bit:       %.2fx memcpy (goal >= 0.8), %.2fx SDL2\n",
                    t["OpaqueStripMemcpy"] / t["OpaqueStripOurs"],
                    t["OpaqueStripSdl"] / t["OpaqueStripOurs"]);
    }
    benchmark::Shutdown();
    return 0;
}
