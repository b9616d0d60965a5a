// Key to screen: how long a key press takes to show, as a player feels it.
// A cursor key goes to the X server through XTEST at a random moment, and
// one row of the screen through pimuru 2 is read back every millisecond
// until its pink pixels move. Run it on the X server the game shows on
// (for weston, the one weston's own window is on), with the game running and
// holding the keyboard:
//   key_to_screen [presses, default 60] [label]
#include "support/processor_model.h"

#include <xcb/shm.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double MsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeDeleter>;

// The screen of an X server, read back a rectangle at a time: through a
// shared-memory segment where the server offers one, else as plain images.
class Screen {
public:
    Screen() {
        c_ = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(c_))
            throw std::runtime_error("cannot connect to the X server (is DISPLAY set?)");
        const xcb_setup_t* setup = xcb_get_setup(c_);
        const xcb_screen_t* screen = xcb_setup_roots_iterator(setup).data;
        root_ = screen->root;
        width_ = screen->width_in_pixels;
        height_ = screen->height_in_pixels;
        if (screen->root_depth != 24 || setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST)
            throw std::runtime_error("needs a 24-bit screen with little-endian pixels");
        const xcb_query_extension_reply_t* shm = xcb_get_extension_data(c_, &xcb_shm_id);
        if (shm && shm->present)
            AttachSegment();
    }
    ~Screen() {
        if (segment_) {
            xcb_shm_detach(c_, segment_);
            shmdt(memory_);
        }
        xcb_disconnect(c_);
    }
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Shared() const { return segment_ != 0; }
    xcb_connection_t* Connection() const { return c_; }
    xcb_window_t Root() const { return root_; }

    // The pixels of a rectangle as 0x00RRGGBB, rows packed; valid until the
    // next read.
    const std::uint32_t* Read(int x, int y, int w, int h) {
        if (segment_) {
            Reply<xcb_shm_get_image_reply_t> reply(xcb_shm_get_image_reply(
                c_,
                xcb_shm_get_image(c_, root_, static_cast<std::int16_t>(x),
                                  static_cast<std::int16_t>(y), static_cast<std::uint16_t>(w),
                                  static_cast<std::uint16_t>(h), ~0u, XCB_IMAGE_FORMAT_Z_PIXMAP,
                                  segment_, 0),
                nullptr));
            if (!reply)
                throw std::runtime_error(
                    "the server refused to copy the screen into shared memory");
            return static_cast<const std::uint32_t*>(memory_);
        }
        Reply<xcb_get_image_reply_t> reply(xcb_get_image_reply(
            c_,
            xcb_get_image(c_, XCB_IMAGE_FORMAT_Z_PIXMAP, root_, static_cast<std::int16_t>(x),
                          static_cast<std::int16_t>(y), static_cast<std::uint16_t>(w),
                          static_cast<std::uint16_t>(h), ~0u),
            nullptr));
        if (!reply || xcb_get_image_data_length(reply.get()) < w * h * 4)
            throw std::runtime_error("the server refused to give the screen's pixels");
        const auto* data = reinterpret_cast<const std::uint32_t*>(xcb_get_image_data(reply.get()));
        plain_.assign(data, data + static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
        return plain_.data();
    }

private:
    void AttachSegment() {
        const std::size_t bytes =
            static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 4;
        const int id = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
        if (id < 0)
            return;
        memory_ = shmat(id, nullptr, 0);
        shmctl(id, IPC_RMID, nullptr); // gone once both sides have let go
        if (memory_ == reinterpret_cast<void*>(-1)) {
            memory_ = nullptr;
            return;
        }
        const xcb_shm_seg_t segment = xcb_generate_id(c_);
        if (Reply<xcb_generic_error_t> error{
                xcb_request_check(c_, xcb_shm_attach_checked(c_, segment, id, 0))}) {
            shmdt(memory_);
            memory_ = nullptr;
            return;
        }
        segment_ = segment;
    }

    xcb_connection_t* c_ = nullptr;
    xcb_window_t root_ = 0;
    int width_ = 0, height_ = 0;
    xcb_shm_seg_t segment_ = 0;
    void* memory_ = nullptr;
    std::vector<std::uint32_t> plain_;
};

// Pimuru 2's body, shaded pink from (213, 92, 153) to (255, 153, 202): red
// high, green well below red and blue. Nothing else on the beach is.
bool IsPink(std::uint32_t pixel) {
    const int r = static_cast<int>((pixel >> 16) & 0xFF);
    const int g = static_cast<int>((pixel >> 8) & 0xFF);
    const int b = static_cast<int>(pixel & 0xFF);
    return r >= 200 && r - g >= 60 && b - g >= 30;
}

struct Span {
    int left = 0, right = 0; // right is one past the last pixel
    int Width() const { return right - left; }
    bool operator==(const Span&) const = default;
};

// The widest run of pink pixels in a row, across gaps of a few pixels (the
// eyes and the outline): pimuru 2's body where the row crosses it.
std::optional<Span> BodyIn(const std::uint32_t* row, int width) {
    constexpr int kGap = 12;
    constexpr int kNarrowest = 20;
    std::optional<Span> widest, current;
    for (int x = 0; x < width; ++x) {
        if (!IsPink(row[x]))
            continue;
        if (current && x - current->right <= kGap) {
            current->right = x + 1;
        } else {
            current = Span{x, x + 1};
        }
        if (!widest || current->Width() > widest->Width())
            widest = current;
    }
    if (widest && widest->Width() < kNarrowest)
        return std::nullopt;
    return widest;
}

// Whether the body has moved sideways: both its edges went the same way.
bool Moved(const Span& from, const Span& to) {
    const int left = to.left - from.left;
    const int right = to.right - from.right;
    return (left >= 2 && right >= 2) || (left <= -2 && right <= -2);
}

class Keyboard {
public:
    explicit Keyboard(Screen& screen) : screen_(screen) {
        xcb_connection_t* c = screen.Connection();
        const xcb_query_extension_reply_t* xtest = xcb_get_extension_data(c, &xcb_test_id);
        if (!xtest || !xtest->present)
            throw std::runtime_error("the X server has no XTEST extension");
        left_ = KeycodeOf(0xFF51);  // XK_Left
        right_ = KeycodeOf(0xFF53); // XK_Right
    }
    void Press(bool left) { Send(XCB_KEY_PRESS, left ? left_ : right_); }
    void Release(bool left) { Send(XCB_KEY_RELEASE, left ? left_ : right_); }

private:
    xcb_keycode_t KeycodeOf(xcb_keysym_t symbol) {
        xcb_connection_t* c = screen_.Connection();
        const xcb_setup_t* setup = xcb_get_setup(c);
        const int count = setup->max_keycode - setup->min_keycode + 1;
        Reply<xcb_get_keyboard_mapping_reply_t> map(xcb_get_keyboard_mapping_reply(
            c, xcb_get_keyboard_mapping(c, setup->min_keycode, static_cast<std::uint8_t>(count)),
            nullptr));
        if (!map)
            throw std::runtime_error("cannot read the keyboard mapping");
        const xcb_keysym_t* symbols = xcb_get_keyboard_mapping_keysyms(map.get());
        const int perKey = map->keysyms_per_keycode;
        for (int key = 0; key < count; ++key) {
            for (int i = 0; i < perKey; ++i) {
                if (symbols[key * perKey + i] == symbol)
                    return static_cast<xcb_keycode_t>(setup->min_keycode + key);
            }
        }
        throw std::runtime_error("no key gives a cursor key's symbol");
    }
    void Send(std::uint8_t type, xcb_keycode_t key) {
        xcb_test_fake_input(screen_.Connection(), type, key, XCB_CURRENT_TIME, screen_.Root(), 0, 0,
                            0);
        xcb_flush(screen_.Connection());
    }

    Screen& screen_;
    xcb_keycode_t left_ = 0, right_ = 0;
};

// Pimuru 2 on the screen: the row through the widest part of its body,
// where the body lies on that row now and where it lay when found.
class Pimuru {
public:
    explicit Pimuru(Screen& screen) : screen_(screen) {}

    // Looks for the body on the whole screen; false when it is not there.
    bool Find() {
        const std::uint32_t* pixels = screen_.Read(0, 0, screen_.Width(), screen_.Height());
        std::optional<Span> best;
        for (int y = 0; y < screen_.Height(); ++y) {
            const auto span =
                BodyIn(pixels + static_cast<std::size_t>(y) * screen_.Width(), screen_.Width());
            if (span && (!best || span->Width() > best->Width())) {
                best = span;
                row_ = y;
            }
        }
        if (!best)
            return false;
        home_ = *best;
        return true;
    }
    std::optional<Span> Now() {
        return BodyIn(screen_.Read(0, row_, screen_.Width(), 1), screen_.Width());
    }
    const Span& Home() const { return home_; }
    int Row() const { return row_; }

private:
    Screen& screen_;
    int row_ = 0;
    Span home_;
};

// Sleeps until the next whole millisecond counted from `start`.
void SleepToNextTick(Clock::time_point start) {
    const auto elapsed = Clock::now() - start;
    const auto next = std::chrono::duration_cast<std::chrono::milliseconds>(elapsed) +
                      std::chrono::milliseconds(1);
    std::this_thread::sleep_until(start + next);
}

// Reads the row every millisecond until the body has stood still for
// `quietMs`; its place then, or nothing when it does not settle in two
// seconds or cannot be seen.
std::optional<Span> Settle(Pimuru& pimuru, int quietMs) {
    const auto start = Clock::now();
    auto since = start;
    std::optional<Span> last = pimuru.Now();
    while (MsBetween(start, Clock::now()) < 2000) {
        SleepToNextTick(start);
        const std::optional<Span> now = pimuru.Now();
        if (now != last) {
            last = now;
            since = Clock::now();
        } else if (last && MsBetween(since, Clock::now()) >= quietMs) {
            return last;
        }
    }
    return std::nullopt;
}

struct Move {
    Clock::time_point at;
    int left; // the body's left edge after the move
};

// Holds a key for `ms` and returns the body's moves meanwhile.
std::vector<Move> Hold(Keyboard& keys, Pimuru& pimuru, bool left, int ms) {
    std::vector<Move> moves;
    std::optional<Span> last = pimuru.Now();
    const auto start = Clock::now();
    keys.Press(left);
    while (MsBetween(start, Clock::now()) < ms) {
        SleepToNextTick(start);
        const std::optional<Span> now = pimuru.Now();
        if (now && last && Moved(*last, *now))
            moves.push_back({Clock::now(), now->left});
        if (now)
            last = now;
    }
    keys.Release(left);
    return moves;
}

// The game's frame time, from the moves of a held key: the body goes one
// step a frame. A compositor may show two frames' steps at once, so the
// frames are counted by the distance, in steps of the smallest move seen.
double FrameTime(Keyboard& keys, Pimuru& pimuru) {
    double time = 0;
    int frames = 0;
    for (bool left : {true, false}) {
        const auto moves = Hold(keys, pimuru, left, 500);
        int step = 0;
        for (std::size_t i = 1; i < moves.size(); ++i) {
            const int distance = std::abs(moves[i].left - moves[i - 1].left);
            step = step == 0 ? distance : std::min(step, distance);
        }
        if (step > 0) {
            frames += (std::abs(moves.back().left - moves.front().left) + step / 2) / step;
            time += MsBetween(moves.front().at, moves.back().at);
        }
        Settle(pimuru, 80);
    }
    if (frames == 0)
        throw std::runtime_error(
            "pimuru 2 does not move while a cursor key is held: is the game holding the keyboard?");
    return time / frames;
}

// The value below which `share` of the sorted values lie (nearest rank).
double Percentile(const std::vector<double>& sorted, double share) {
    const auto rank =
        static_cast<std::size_t>(share * static_cast<double>(sorted.size()) + 0.999999);
    return sorted[std::clamp<std::size_t>(rank, 1, sorted.size()) - 1];
}

} // namespace

int main(int argc, char** argv) {
    const int presses = argc > 1 ? std::atoi(argv[1]) : 60;
    const std::string label = argc > 2 ? argv[2] : "key to screen";
    if (presses <= 0) {
        std::fprintf(stderr, "usage: key_to_screen [presses] [label]\n");
        return 2;
    }
    try {
        Screen screen;
        Keyboard keys(screen);
        Pimuru pimuru(screen);
        const auto looking = Clock::now();
        while (!pimuru.Find()) {
            if (MsBetween(looking, Clock::now()) > 10000)
                throw std::runtime_error("pimuru 2 is not on the screen");
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        const double frame = FrameTime(keys, pimuru);

        std::mt19937 random{std::random_device{}()};
        // A moment anywhere within two frames, so that presses fall evenly
        // over the frame's phases.
        std::uniform_int_distribution<int> delay(0, static_cast<int>(2 * frame));
        std::vector<double> latencies;
        int missed = 0;
        int tries = 0;
        while (static_cast<int>(latencies.size()) + missed < presses) {
            if (++tries > 20 * presses)
                throw std::runtime_error("pimuru 2 does not keep still between presses");
            std::optional<Span> before = Settle(pimuru, 60);
            if (!before) {
                // Knocked, covered or gone for a moment: look for it afresh.
                if (!pimuru.Find())
                    throw std::runtime_error("pimuru 2 has left the screen");
                continue;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(delay(random)));
            if (pimuru.Now() != before)
                continue; // moved by itself meanwhile: this press would not tell
            // Back and forth around where it was found.
            const bool left = before->left >= pimuru.Home().left;
            const auto pressed = Clock::now();
            keys.Press(left);
            std::optional<double> took;
            while (MsBetween(pressed, Clock::now()) < 1000) {
                SleepToNextTick(pressed);
                const std::optional<Span> now = pimuru.Now();
                if (now && Moved(*before, *now)) {
                    took = MsBetween(pressed, Clock::now());
                    break;
                }
            }
            keys.Release(left);
            if (took)
                latencies.push_back(*took);
            else
                ++missed;
        }
        if (latencies.empty())
            throw std::runtime_error("no press showed on the screen within a second");
        std::sort(latencies.begin(), latencies.end());
        std::printf("processor: %s\n", benchsupport::ProcessorModel().c_str());
        std::printf("%s: %zu presses (%d missed), screen read %s on row %d, frame %.1f ms\n",
                    label.c_str(), latencies.size(), missed,
                    screen.Shared() ? "through shared memory" : "as plain images", pimuru.Row(),
                    frame);
        std::printf("%s: key to screen median %.1f ms, p10 %.1f, p90 %.1f, max %.1f;"
                    " the frame loop's own bound: half a frame plus a frame = %.1f ms on average,"
                    " two frames = %.1f ms at most\n",
                    label.c_str(), Percentile(latencies, 0.5), Percentile(latencies, 0.1),
                    Percentile(latencies, 0.9), latencies.back(), 1.5 * frame, 2 * frame);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "key_to_screen: %s\n", error.what());
        return 1;
    }
    return 0;
}
