#include "host/music/SoundVolume.h"

#include "host/framework/Settings.h"
#include "objects/sound/SoundDevice.h"

#include <algorithm>

namespace {

const LONG VolumeStep = 50;
const DWORD FullVolume = 100;

} // namespace

void ApplySoundVolume()
{
    const DWORD volume = std::min(ReadSetting(SoundVolumeSetting), FullVolume);
    const bool muted = ReadSetting(MuteSoundSetting) != 0;
    if (PrimarySoundBuffer)
        PrimarySoundBuffer->SetVolume(muted ? DSBVOLUME_MIN : -VolumeStep * static_cast<LONG>(FullVolume - volume));
}
