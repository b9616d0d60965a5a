// The game's two kinds of blit on a 640x480 16-bit back buffer, timed beside
// SDL2's SDL_BlitSurface (same pixels, same key, RLE off) and beside memcpy
// of the same bytes, all in one run; the ratios are printed at the end.
//   keyed sprite: 160x120 with a colour key  (goal: at least 2x SDL2)
//   opaque strip: 640x10 background strip    (goal: at least 0.8x memcpy)

#include "platform/ddraw/ddraw.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

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
constexpr WORD kKey = 0x0000;

// A round creature on a transparent ground, with shading: about 35% of the
// sprite is key, in runs along each row as in the game's sprite sheets.
WORD SpritePixel(LONG x, LONG y) {
    const LONG dx = x - kSpriteW / 2;
    const LONG dy = y - kSpriteH / 2;
    if (dx * dx * 9 + dy * dy * 16 > 60 * 60 * 9) {
        return kKey;
    }
    const WORD value = static_cast<WORD>(((x * 7) ^ (y * 13)) * 0x0841 + 0x1234);
    return value == kKey ? 1 : value;
}

WORD BackgroundPixel(LONG x, LONG y) {
    return static_cast<WORD>(x * 31 + y * 2047);
}

struct Scene {
    IDirectDraw* dd = nullptr;
    IDirectDrawSurface* back = nullptr;
    IDirectDrawSurface* sprite = nullptr;
    IDirectDrawSurface* strip = nullptr;
    SDL_Surface* sdlBack = nullptr;
    SDL_Surface* sdlSprite = nullptr;
    SDL_Surface* sdlStrip = nullptr;
    std::vector<WORD> plainBack;
    std::vector<WORD> plainSprite;
    std::vector<WORD> plainStrip;

    Scene() {
        SetSoftwareSettings(SoftwareSettings{});
        DirectDrawCreate(nullptr, &dd, nullptr);
        dd->SetCooperativeLevel(nullptr, DDSCL_NORMAL);
        back = Make(kScreenW, kScreenH);
        sprite = Make(kSpriteW, kSpriteH);
        strip = Make(kStripW, kStripH);
        const DDCOLORKEY key{kKey, kKey};
        sprite->SetColorKey(DDCKEY_SRCBLT, &key);

        plainBack.resize(static_cast<std::size_t>(kScreenW * kScreenH));
        plainSprite.resize(static_cast<std::size_t>(kSpriteW * kSpriteH));
        plainStrip.resize(static_cast<std::size_t>(kStripW * kStripH));
        for (LONG y = 0; y < kScreenH; ++y) {
            for (LONG x = 0; x < kScreenW; ++x) {
                plainBack[static_cast<std::size_t>(y * kScreenW + x)] = BackgroundPixel(x, y);
            }
        }
        for (LONG y = 0; y < kSpriteH; ++y) {
            for (LONG x = 0; x < kSpriteW; ++x) {
                plainSprite[static_cast<std::size_t>(y * kSpriteW + x)] = SpritePixel(x, y);
            }
        }
        for (LONG y = 0; y < kStripH; ++y) {
            for (LONG x = 0; x < kStripW; ++x) {
                plainStrip[static_cast<std::size_t>(y * kStripW + x)] =
                    BackgroundPixel(x + 1, y + 7);
            }
        }
        Load(back, plainBack, kScreenW, kScreenH);
        Load(sprite, plainSprite, kSpriteW, kSpriteH);
        Load(strip, plainStrip, kStripW, kStripH);

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

    IDirectDrawSurface* Make(LONG w, LONG h) {
        DDSURFACEDESC desc = MakeSurfaceDesc();
        desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
        desc.dwWidth = static_cast<DWORD>(w);
        desc.dwHeight = static_cast<DWORD>(h);
        desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
        desc.ddpfPixelFormat.dwSize = DDPIXELFORMAT::kSize;
        desc.ddpfPixelFormat.dwFlags = DDPF_RGB;
        desc.ddpfPixelFormat.dwRGBBitCount = 16;
        desc.ddpfPixelFormat.dwRBitMask = 0xF800;
        desc.ddpfPixelFormat.dwGBitMask = 0x07E0;
        desc.ddpfPixelFormat.dwBBitMask = 0x001F;
        IDirectDrawSurface* surface = nullptr;
        if (dd->CreateSurface(&desc, &surface, nullptr) != DD_OK) {
            std::fprintf(stderr, "CreateSurface failed\n");
            std::exit(1);
        }
        return surface;
    }

    static void Load(IDirectDrawSurface* surface, const std::vector<WORD>& pixels, LONG w, LONG h) {
        DDSURFACEDESC desc = MakeSurfaceDesc();
        surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr);
        for (LONG y = 0; y < h; ++y) {
            std::memcpy(static_cast<BYTE*>(desc.lpSurface) + y * desc.lPitch, pixels.data() + y * w,
                        static_cast<std::size_t>(w) * 2);
        }
        surface->Unlock(nullptr);
    }

    static SDL_Surface* MakeSdl(const std::vector<WORD>& pixels, LONG w, LONG h) {
        SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, w, h, 16, SDL_PIXELFORMAT_RGB565);
        for (LONG y = 0; y < h; ++y) {
            std::memcpy(static_cast<BYTE*>(surface->pixels) + y * surface->pitch,
                        pixels.data() + y * w, static_cast<std::size_t>(w) * 2);
        }
        return surface;
    }
};

Scene& TheScene() {
    static Scene scene;
    return scene;
}

void KeyedSpriteOurs(benchmark::State& state) {
    Scene& s = TheScene();
    const RECT from{0, 0, kSpriteW, kSpriteH};
    for (auto _ : state) {
        s.back->BltFast(kSpriteX, kSpriteY, s.sprite, &from,
                        DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT);
        benchmark::ClobberMemory();
    }
}

void KeyedSpriteSdl(benchmark::State& state) {
    Scene& s = TheScene();
    for (auto _ : state) {
        SDL_Rect to{kSpriteX, kSpriteY, kSpriteW, kSpriteH};
        SDL_BlitSurface(s.sdlSprite, nullptr, s.sdlBack, &to);
        benchmark::ClobberMemory();
    }
}

void KeyedSpriteMemcpy(benchmark::State& state) {
    Scene& s = TheScene();
    for (auto _ : state) {
        BYTE* dst = reinterpret_cast<BYTE*>(s.plainBack.data() + kSpriteY * kScreenW + kSpriteX);
        const BYTE* src = reinterpret_cast<const BYTE*>(s.plainSprite.data());
        for (LONG y = 0; y < kSpriteH; ++y) {
            std::memcpy(dst + y * kScreenW * 2, src + y * kSpriteW * 2, kSpriteW * 2);
        }
        benchmark::ClobberMemory();
    }
}

void OpaqueStripOurs(benchmark::State& state) {
    Scene& s = TheScene();
    const RECT from{0, 0, kStripW, kStripH};
    for (auto _ : state) {
        s.back->BltFast(0, kStripY, s.strip, &from, DDBLTFAST_WAIT);
        benchmark::ClobberMemory();
    }
}

void OpaqueStripSdl(benchmark::State& state) {
    Scene& s = TheScene();
    for (auto _ : state) {
        SDL_Rect to{0, kStripY, kStripW, kStripH};
        SDL_BlitSurface(s.sdlStrip, nullptr, s.sdlBack, &to);
        benchmark::ClobberMemory();
    }
}

void OpaqueStripMemcpy(benchmark::State& state) {
    Scene& s = TheScene();
    for (auto _ : state) {
        std::memcpy(s.plainBack.data() + kStripY * kScreenW, s.plainStrip.data(),
                    static_cast<std::size_t>(kStripW * kStripH) * 2);
        benchmark::ClobberMemory();
    }
}

BENCHMARK(KeyedSpriteOurs);
BENCHMARK(KeyedSpriteSdl);
BENCHMARK(KeyedSpriteMemcpy);
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

// Checks that the blits draw what SDL draws, so the times compare like
// with like.
bool SamePixels() {
    Scene& s = TheScene();
    const RECT sprite{0, 0, kSpriteW, kSpriteH};
    s.back->BltFast(kSpriteX, kSpriteY, s.sprite, &sprite, DDBLTFAST_SRCCOLORKEY);
    SDL_Rect to{kSpriteX, kSpriteY, kSpriteW, kSpriteH};
    SDL_BlitSurface(s.sdlSprite, nullptr, s.sdlBack, &to);
    const RECT strip{0, 0, kStripW, kStripH};
    s.back->BltFast(0, kStripY, s.strip, &strip, 0);
    SDL_Rect stripTo{0, kStripY, kStripW, kStripH};
    SDL_BlitSurface(s.sdlStrip, nullptr, s.sdlBack, &stripTo);
    DDSURFACEDESC desc = MakeSurfaceDesc();
    s.back->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_READONLY, nullptr);
    bool same = true;
    for (LONG y = 0; y < kScreenH && same; ++y) {
        same = std::memcmp(static_cast<BYTE*>(desc.lpSurface) + y * desc.lPitch,
                           static_cast<BYTE*>(s.sdlBack->pixels) + y * s.sdlBack->pitch,
                           kScreenW * 2) == 0;
    }
    s.back->Unlock(nullptr);
    return same;
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (!SamePixels()) {
        std::fprintf(stderr, "our blits and SDL's differ; the comparison would be void\n");
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto& t = reporter.times;
    if (t.count("KeyedSpriteOurs") && t.count("KeyedSpriteSdl") && t.count("KeyedSpriteMemcpy")) {
        std::printf("\nkeyed 160x120 sprite: %.2fx SDL2 (goal >= 2), %.2fx memcpy of its rows\n",
                    t["KeyedSpriteSdl"] / t["KeyedSpriteOurs"],
                    t["KeyedSpriteMemcpy"] / t["KeyedSpriteOurs"]);
    }
    if (t.count("OpaqueStripOurs") && t.count("OpaqueStripSdl") && t.count("OpaqueStripMemcpy")) {
        std::printf("opaque 640x10 strip:  %.2fx memcpy (goal >= 0.8), %.2fx SDL2\n",
                    t["OpaqueStripMemcpy"] / t["OpaqueStripOurs"],
                    t["OpaqueStripSdl"] / t["OpaqueStripOurs"]);
    }
    benchmark::Shutdown();
    return 0;
}
