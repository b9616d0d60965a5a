#pragma once
// The ALSA library under OpenAL's and FluidSynth's audio back ends prints its
// own complaints to stderr (on a machine without a sound card: "Unknown PCM
// default"). A machine without sound must stay quiet, so both replace its
// error handler before they open a device.

namespace base {

// Does nothing when the ALSA library is not loaded in this process.
void QuietAlsaLog();

} // namespace base
