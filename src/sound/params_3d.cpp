#include "sound/params_3d.h"

#include "sound/channel.h"
#include "sound/ddsd_log.h"

namespace ddsd {

TDDSDParams3D::TDDSDParams3D(TDDSDChannel* channel)
    : Params{sizeof(dsound::DS3DBUFFER),
             {0, 0, 0},
             {0, 0, 0},
             360,
             360,
             {0, 0, 1.0f},
             0,
             5.0f,
             100.0f,
             dsound::DS3DMODE_NORMAL},
      channel_(channel) {}

dsound::IDirectSound3DBuffer* TDDSDParams3D::ChannelBuffer3D() const {
    return channel_ ? channel_->Buffer3D() : nullptr;
}

void TDDSDParams3D::GetParams(dsound::DS3DBUFFER& out) {
    if (dsound::IDirectSound3DBuffer* buffer = ChannelBuffer3D())
        buffer->GetAllParameters(&Params);
    out = Params;
}

void TDDSDParams3D::Assign(TDDSDParams3D& source) {
    source.GetParams(Params);
    if (dsound::IDirectSound3DBuffer* buffer = ChannelBuffer3D())
        CheckResult(buffer->SetAllParameters(&Params, dsound::DS3D_IMMEDIATE),
                    "Params3Dに指定されたパラメータが不適切です");
}

} // namespace ddsd
