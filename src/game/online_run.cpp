#include "game/online_run.h"

#include "game/main_form.h"
#include "game/online_connect.h"

#include <iostream>

namespace game {

OnlineRun::OnlineRun(Tfrm_main& form, OnlineConnection& connection, BackBufferCanvas& canvas)
    : form_(form), devices_(form), play_(form.GameWorld(), connection.Start, devices_, clock_,
                                         connection.Link->Transport(), PIMURU_VERSION),
      overlay_(canvas, connection.Link->Relayed()) {
    // For whoever started the game from a script or a shortcut's log.
    std::cerr << "pimuru: the online run starts as " << (connection.Start.Host ? "host" : "guest")
              << '\n';
}

void OnlineRun::Advance(FrameSink& shown) {
    play_.Advance(shown);
    overlay_.Draw(play_, form_.OnlineLineShown);
}

} // namespace game
