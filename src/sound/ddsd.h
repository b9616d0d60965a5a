#pragma once
// The sound component: opens the sound device once its form has loaded it
// and keeps a fixed number of numbered channels that play waves. Without a
// sound device everything here is silent and nothing is reported.

#include "platform/dsound/com_ref.h"
#include "platform/dsound/dsound.h"
#include "platform/component/component.h"
#include "sound/channel.h"
#include "sound/listener.h"
#include "sound/params_3d.h"
#include "sound/wave.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace ddsd {

class TDDSD : public ui::TComponent {
public:
    explicit TDDSD(ui::TComponent* owner);
    ~TDDSD() override;

    // Opens the device unless the component is seen by the form designer.
    void Loaded() override;
    // Builds the channels and opens the device; false only when there is no
    // sound device.
    bool Initialize();
    // The channel with that number; another number is logged and ends the
    // program (none when the sound layer does not halt).
    TDDSDChannel* GetChannel(std::int32_t number);

    // Published properties.
    bool Use3D = false;
    std::uint32_t ChannelCount = 8;
    bool StickyFocus = true;

    dsound::IDirectSound* DirectSound() const { return directSound_.Get(); }
    bool Initialized() const { return initialized_; }
    dsound::IDirectSound3DListener* Listener3D() const { return listener3D_.Get(); }
    TDDSDListener* Listener() const { return listener_.get(); }

private:
    void FreeChannels();
    void ReleaseDevice();

    dsound::ComRef<dsound::IDirectSound> directSound_;
    dsound::ComRef<dsound::IDirectSoundBuffer> primary_;
    dsound::ComRef<dsound::IDirectSound3DListener> listener3D_;
    std::vector<std::unique_ptr<TDDSDChannel>> channels_;
    bool initialized_ = false;
    std::unique_ptr<TDDSDListener> listener_;
};

} // namespace ddsd
