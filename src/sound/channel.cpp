#include "sound/channel.h"

#include "sound/ddsd.h"
#include "sound/ddsd_log.h"

namespace ddsd {

TDDSDChannel::TDDSDChannel(TDDSD* owner)
    : owner_(owner), params3D_(std::make_unique<TDDSDParams3D>(this)) {}

TDDSDChannel::~TDDSDChannel() {
    buffer3D_.Reset();
    buffer_.Reset();
}

void TDDSDChannel::setWaveData(TDDSDGenWave* wave) {
    if (!owner_->Initialized())
        return;
    if (buffer3D_)
        CheckResult(static_cast<std::int32_t>(buffer3D_.Reset()),
                    "setWaveData 3Dサウンドバッファの解放に失敗しました");
    if (buffer_)
        CheckResult(static_cast<std::int32_t>(buffer_.Reset()),
                    "setWaveData サウンドバッファの解放に失敗しました");
    is3D_ = false;
    wave_ = nullptr;
    if (!wave)
        return;

    const char* duplicateFailed = "setWaveData サウンドバッファの複製に失敗しました";
    dsound::HRESULT result =
        owner_->DirectSound()->DuplicateSoundBuffer(wave->Buffer(), buffer_.Put());
    if (!wave->Buffer()) {
        // The wave's file did not load. The failure is logged as any failed
        // duplicate, but a missing sound file only silences that sound: the
        // program goes on with this channel mute.
        ReportMessage(duplicateFailed + diagnostics::ErrorCodeSuffix(
                                            result != 0 ? result : dsound::DSERR_INVALIDPARAM));
        buffer_.Reset();
        return;
    }
    if (CheckResult(result, duplicateFailed) != 0)
        return;

    if (auto* wave3D = dynamic_cast<TDDSDWave3D*>(wave)) {
        is3D_ = true;
        if (CheckResult(buffer_->QueryInterface(buffer3D_.Put()),
                        "setWaveData 3Dサウンドバッファの作成に失敗しました") != 0)
            return;
        params3D_->Assign(wave3D->Params3D());
    }
    frequency_ = wave->Format().nSamplesPerSec;
    wave_ = wave;
}

void TDDSDChannel::Play() {
    if (!buffer_)
        return;
    buffer_->SetCurrentPosition(0);
    buffer_->Play(0, 0, 0);
}

void TDDSDChannel::Stop() {
    if (buffer_)
        buffer_->Stop();
}

void TDDSDChannel::SetVolume(std::int32_t value) {
    if (!buffer_)
        return;
    volume_ = value;
    buffer_->SetVolume(value);
}

} // namespace ddsd
