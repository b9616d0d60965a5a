#include "play/online_play.h"

#include "play/frame_sink_parts.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace play {

namespace {

game::World StartedWorld(game::World& world, const online::Welcome& run) {
    world.SetCarryOver({run.RandomSeed, run.HighScore});
    return world;
}

} // namespace

OnlinePlay::OnlinePlay(game::World& world, const OnlineStart& start, InputSource& devices,
                       online::Clock& clock, online::Transport& transport,
                       std::string programVersion)
    : world_(world), devices_(devices), ownBest_(world.HighScore()),
      recorder_(StartedWorld(world, start.Run), start.Run.CoupleMode, start.Run.Hard,
                std::move(programVersion), start.Run.StartedAt) {
    world_.StartRun(start.Run.CoupleMode, start.Run.Hard);
    confirmed_ = world_;
    host_ = start.Host;
    online::SessionOptions options;
    options.Host = start.Host;
    options.SessionNonce = start.Run.SessionNonce;
    options.Hard = start.Run.Hard;
    options.InputDelay = start.InputDelay;
    options.ForceDesyncAtFrame = start.ForceDesyncAtFrame;
    options.OnConfirmedFrame = [this](const game::FrameInput& input, const game::World& after) {
        recorder_.Record(input, after);
        confirmed_ = after;
        runBest_ = std::max(runBest_, after.Score());
    };
    session_ = std::make_unique<online::Session>(world_, std::move(options), clock, transport);
}

OnlinePlay::~OnlinePlay() {
    // The launcher keeps what the run confirmed, its generator, but its own
    // best: the host's high score only showed during the run.
    world_ = confirmed_;
    world_.SetCarryOver({confirmed_.GetCarryOver().RandomSeed, std::max(ownBest_, runBest_)});
}

void OnlinePlay::Advance(game::FrameSink& shown) {
    const online::PlayerInput local =
        online::PlayerInput::FromDevices(devices_.Read(session_->World()));
    waiting_ = session_->Advance(local, shown) != online::Session::Tick::Stepped;
    if (waiting_) {
        PicturesOnly pictures(shown);
        session_->DrawAgain(pictures);
    }
}

bool OnlinePlay::Continue(bool quitAsked) {
    if (quitAsked) {
        session_->Quit();
    }
    return !session_->Ending();
}

std::uint32_t OnlinePlay::ExtraFrameMs() {
    return static_cast<std::uint32_t>(session_->ExtraFrameMs());
}

std::string OnlinePlay::EndMessage() const {
    const auto& end = session_->Ending();
    if (!end) {
        return {};
    }
    switch (end->Reason) {
    case online::EndReason::Quit:
        return end->ByPartner ? "相手がゲームを終了しました。" : "";
    case online::EndReason::Timeout:
        return "相手から10秒間応答がないため、ゲームを終了しました。";
    case online::EndReason::Desync:
        return "二台の画面の内容が食い違ったため、ゲームを終了しました(フレーム " +
               std::to_string(end->DesyncFrame) + " で不一致、フレーム " +
               std::to_string(end->LastGoodFrame) + " までは一致)。両方のリプレイを保存しました。";
    }
    return {};
}

std::string OnlinePlay::DesyncReport() const {
    const auto& end = session_->Ending();
    if (!end || end->Reason != online::EndReason::Desync) {
        return {};
    }
    char checksums[96] = {};
    std::snprintf(checksums, sizeof checksums, "this side %016llx, partner %016llx",
                  static_cast<unsigned long long>(end->LocalChecksum),
                  static_cast<unsigned long long>(end->PartnerChecksum));
    return std::string("pimuru online desync report\n") +
           "side: " + (host_ ? "host (pimuru 1)" : "guest (pimuru 2)") +
           "\nfound by: " + (end->ByPartner ? "the partner" : "this side") +
           "\nlast frame both worlds agreed on: " + std::to_string(end->LastGoodFrame) +
           "\nfirst checked frame that differed: " + std::to_string(end->DesyncFrame) +
           (end->ByPartner ? std::string() : "\nchecksums after it: " + std::string(checksums)) +
           "\nconfirmed frames recorded: " + std::to_string(session_->ConfirmedFrames()) +
           "\nCheck both replays (pimuru --check-replay FILE…): each replays its own world, so "
           "the\n"
           "one whose world left the rules shows the first differing frame.\n";
}

} // namespace play
