#include "game/online_overlay.h"

#include "game/scene_layout.h"
#include "game/status_line.h"

namespace game {

namespace {

constexpr std::int32_t kLineWidth = 470;
constexpr std::uint32_t kYellow = Rgb(255, 255, 0);

} // namespace

void OnlineOverlay::Draw(const play::OnlinePlay& online, bool lineShown) {
    const online::Session& session = online.Session();
    const bool quiet = session.PartnerQuiet();
    // The scene draws only what changed: a box taken away needs its place drawn afresh.
    if ((lineWasShown_ && !lineShown) || (quietWasShown_ && !quiet)) {
        canvas_.DrawWholeFrames();
    }
    lineWasShown_ = lineShown;
    quietWasShown_ = quiet;
    if (lineShown) {
        const std::string text = std::string(relayed_ ? "中継" : "直接") + "  往復 " + std::to_string(session.RoundTripMs()) +
                                 " ms  入力遅延 " + std::to_string(session.InputDelay()) +
                                 "  巻き戻し " + std::to_string(session.Stats().LastRollback) +
                                 "  (H)";
        DrawStatusLine(canvas_, kLineWidth, text);
    }
    if (quiet) {
        const base::Rect box = base::MakeRect(170, 220, 470, 260);
        canvas_.FillScreenRect(box.Left, box.Top, box.Right, box.Bottom, 0);
        canvas_.DrawScreenText(box.Left + 20, box.Top + 10, "相手を待っています…", 20, kYellow,
                               std::span(&box, 1));
    }
}

} // namespace game
