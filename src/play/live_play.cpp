#include "play/live_play.h"

#include <utility>

namespace play {

LivePlay::LivePlay(game::World& world, bool coupleMode, bool hard, InputSource& source,
                   std::string programVersion, std::int64_t startedAt)
    : world_(world), source_(source),
      recorder_(world, coupleMode, hard, std::move(programVersion), startedAt) {
    world_.StartRun(coupleMode, hard);
}

void LivePlay::Advance(game::FrameSink& shown) {
    const game::FrameInput input = source_.Read(world_);
    world_.Step(input, shown);
    recorder_.Record(input, world_);
}

} // namespace play
