#include "bench/support/rally_trial.h"

#include "bench/support/scripted_person.h"
#include "partner/computer_partner.h"
#include "rules/loss_watch.h"
#include "rules/world.h"

#include <variant>

namespace partner {

RallyResult PlayRally(const TrialSetup& setup) {
    game::World world;
    world.SetCarryOver({setup.Seed, 0});
    world.StartRun(false, setup.Hard);

    std::array<std::variant<ComputerPartner, ScriptedPerson>, 2> players = {ScriptedPerson(0, 0),
                                                                            ScriptedPerson(1, 0)};
    for (int i = 0; i < 2; ++i) {
        const std::uint32_t seed = setup.Seed * 2654435761u + 1013904223u * (i + 1);
        if (setup.Players[i])
            players[i] = ComputerPartner(i, *setup.Players[i], seed);
        else
            players[i] = ScriptedPerson(i, seed);
    }

    game::LossWatch watch;
    RallyResult result;
    while (result.Frames < setup.FrameLimit) {
        game::FrameInput input;
        input.Hard = setup.Hard;
        for (int i = 0; i < 2; ++i)
            input.Pads[i] =
                std::visit([&](auto& player) { return player.Next(world); }, players[i]);
        world.Step(input, watch);
        ++result.Frames;
        if (watch.lost) {
            result.Score = world.LastRallyScore();
            return result;
        }
    }
    result.Score = world.Score();
    result.Limited = true;
    return result;
}

} // namespace partner
