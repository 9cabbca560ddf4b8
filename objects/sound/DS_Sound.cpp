#include "objects/sound/DS_Sound.h"

DS_Sound::DS_Sound(DS_Sound_Ctrl* ownedClone) : DS_ABObj(ownedClone), controller(ownedClone)
{
    controller->Load();
}

void DS_Sound::Update(float time)
{
    if (enabled)
        controller->Tick(time);
}

void DS_Sound::SetActive(bool active)
{
    if (!active)
        controller->Stop();
    else if (controller->Loops())
        controller->PlayLooped();
    else
        // Looping it until an interval drawn on an earlier visit came round
        // would repeat a one-off sound over and over: it plays once at once
        // instead, and again after each interval.
        controller->TriggerAtNextTick();
    enabled = active;
}

void DS_Sound::Trigger(int) { controller->PlayOnce(); }
