#include "sound/ddsd.h"

#include "platform/component/form.h"
#include "sound/ddsd_log.h"

#include <string>

namespace ddsd {

using namespace dsound;

TDDSD::TDDSD(ui::TComponent* owner) : ui::TComponent(owner) {}

TDDSD::~TDDSD() {
    if (Designing())
        return;
    FreeChannels();
    ReleaseDevice();
}

void TDDSD::Loaded() {
    ui::TComponent::Loaded();
    if (!Designing())
        Initialize();
}

void TDDSD::FreeChannels() {
    for (auto& channel : channels_)
        channel.reset();
    channels_.clear();
}

void TDDSD::ReleaseDevice() {
    listener_.reset();
    if (listener3D_)
        CheckResult(static_cast<std::int32_t>(listener3D_.Reset()),
                    "DirectSound3D Listnerの解放に失敗しました");
    if (primary_)
        CheckResult(static_cast<std::int32_t>(primary_.Reset()),
                    "一次バッファの解放に失敗しました");
    if (directSound_)
        CheckResult(static_cast<std::int32_t>(directSound_.Reset()),
                    "DirectSoundの解放に失敗しました");
}

bool TDDSD::Initialize() {
    FreeChannels();
    // A second call starts afresh instead of leaving the first device open.
    ReleaseDevice();
    for (std::uint32_t i = 0; i < ChannelCount; ++i)
        channels_.push_back(std::make_unique<TDDSDChannel>(this));

    if (const HRESULT result = DirectSoundCreate(nullptr, directSound_.Put(), nullptr);
        result != DS_OK) {
        // The game goes on without sound; the log says why it is silent.
        // Only a line: a missing device is no failure that ends the program.
        ReportMessage("サウンドデバイスが開けません。音なしで続けます" +
                      diagnostics::ErrorCodeSuffix(static_cast<std::int32_t>(result)));
        directSound_.Reset();
        initialized_ = false;
        return false;
    }
    initialized_ = true;

    auto* form = dynamic_cast<ui::TForm*>(Owner());
    CheckResult(directSound_->SetCooperativeLevel(form ? form->Handle() : nullptr, DSSCL_NORMAL),
                "DirectSoundの協調レベルの設定に失敗しました");
    DSBUFFERDESC desc{DSBUFFERDESC_SIZE, DSBCAPS_PRIMARYBUFFER | (Use3D ? DSBCAPS_CTRL3D : 0u), 0,
                      0, nullptr};
    if (CheckResult(directSound_->CreateSoundBuffer(&desc, primary_.Put(), nullptr),
                    "一次バッファの作成に失敗しました") != 0)
        return true;
    if (Use3D) {
        if (CheckResult(primary_->QueryInterface(listener3D_.Put()),
                        "DirectSound3D Listenerの作成に失敗しました") != 0)
            return true;
        listener_.reset();
        listener_ = std::make_unique<TDDSDListener>(this);
    }
    return true;
}

TDDSDChannel* TDDSD::GetChannel(std::int32_t number) {
    const auto count = static_cast<std::int64_t>(channels_.size());
    if (number >= 0 && number < count)
        return channels_[static_cast<std::size_t>(number)].get();
    ReportMessage("チャンネル番号" + std::to_string(number) + "は無効です、0～" +
                  std::to_string(count - 1) + "の範囲で指定してください");
    if (Log().HaltOnError)
        diagnostics::Halt();
    return nullptr;
}

} // namespace ddsd
