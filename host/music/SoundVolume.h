// The volume of every sound object at once: the primary sound buffer's,
// from the user's sound settings.
#pragma once

// Reads "SoundVolume" and "MuteSound" and sets the primary sound buffer's
// volume, when the buffer exists: silent when muted, else 50 hundredths of a
// decibel less for each step of the volume below 100.
void ApplySoundVolume();
