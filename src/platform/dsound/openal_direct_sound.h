#pragma once
// The real sound device: DirectSound on OpenAL Soft. The program installs it
// at start-up; components only ever see the interfaces of dsound.h.

#include "platform/dsound/dsound.h"

namespace dsound {

// Opens the default OpenAL output: DS_OK, or DSERR_NODRIVER when none opens.
HRESULT CreateOpenALDirectSound(IDirectSound** out);

// Makes DirectSoundCreate open OpenAL.
void InstallOpenALDirectSound();

} // namespace dsound
