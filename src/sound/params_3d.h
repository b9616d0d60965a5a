#pragma once
// The 3D settings of a channel's sound (position, motion, cone, distances,
// mode); a 3D wave carries a set that a channel takes over when it is attached.

#include "platform/dsound/dsound.h"

namespace ddsd {

class TDDSDChannel;

class TDDSDParams3D {
public:
    // `channel` may be none (the set of a wave).
    explicit TDDSDParams3D(TDDSDChannel* channel);
    virtual ~TDDSDParams3D() = default;
    TDDSDParams3D(const TDDSDParams3D&) = delete;
    TDDSDParams3D& operator=(const TDDSDParams3D&) = delete;

    // The settings; read fresh from the channel's sound when it has a 3D one.
    void GetParams(dsound::DS3DBUFFER& out);
    // Takes over `source`'s settings and applies them to the channel's sound.
    void Assign(TDDSDParams3D& source);

    TDDSDChannel* Channel() const { return channel_; }

    dsound::DS3DBUFFER Params;

private:
    dsound::IDirectSound3DBuffer* ChannelBuffer3D() const;

    TDDSDChannel* channel_;
};

} // namespace ddsd
