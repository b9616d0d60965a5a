#pragma once
// The listener of a 3D sound component: where the player's ears are, how they
// face and move, and the distance, rolloff and Doppler factors.

#include "platform/dsound/dsound.h"

namespace ddsd {

class TDDSD;

class TDDSDListener {
public:
    // Sets the defaults and applies them to the owner's 3D listener, if any.
    explicit TDDSDListener(TDDSD* owner);
    virtual ~TDDSDListener() = default;
    TDDSDListener(const TDDSDListener&) = delete;
    TDDSDListener& operator=(const TDDSDListener&) = delete;

    TDDSD* Owner() const { return owner_; }

    dsound::DS3DLISTENER Params;

private:
    TDDSD* owner_;
};

} // namespace ddsd
