#include "sound/listener.h"

#include "sound/ddsd.h"
#include "sound/ddsd_log.h"

namespace ddsd {

TDDSDListener::TDDSDListener(TDDSD* owner)
    : Params{sizeof(dsound::DS3DLISTENER),
             {0, 0, 0},
             {0, 0, 0},
             {0, 0, 1.0f},
             {0, 1.0f, 0},
             1.0f,
             1.0f,
             1.0f},
      owner_(owner) {
    if (dsound::IDirectSound3DListener* listener = owner_->Listener3D())
        CheckResult(listener->SetAllParameters(&Params, dsound::DS3D_IMMEDIATE),
                    "Listenerに指定されたパラメータが不適切です");
}

} // namespace ddsd
