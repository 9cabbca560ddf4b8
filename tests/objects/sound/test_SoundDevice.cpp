#include "objects/sound/SoundDevice.h"

#include <gtest/gtest.h>

// The exit steps release exactly one reference of what is set, clear the
// pointer, and leave anything unset alone.
TEST(SoundDevice, ReleasesDropOneReferenceOfWhatIsSetAndClearIt)
{
    ReleasePrimarySoundBuffer();
    ReleaseDirectSound();
    EXPECT_EQ(nullptr, PrimarySoundBuffer);
    EXPECT_EQ(nullptr, SoundDevice);

    ASSERT_HRESULT_SUCCEEDED(DirectSoundCreate8(nullptr, &SoundDevice, nullptr));
    ASSERT_HRESULT_SUCCEEDED(SoundDevice->SetCooperativeLevel(GetDesktopWindow(), DSSCL_NORMAL));
    DSBUFFERDESC description{};
    description.dwSize = sizeof description;
    description.dwFlags = DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRLVOLUME;
    ASSERT_HRESULT_SUCCEEDED(SoundDevice->CreateSoundBuffer(&description, &PrimarySoundBuffer, nullptr));

    IDirectSound8* device = SoundDevice;
    IDirectSoundBuffer* buffer = PrimarySoundBuffer;
    const ULONG deviceCount = device->AddRef();
    const ULONG bufferCount = buffer->AddRef();

    ReleasePrimarySoundBuffer();
    EXPECT_EQ(nullptr, PrimarySoundBuffer);
    EXPECT_EQ(device, SoundDevice);
    EXPECT_EQ(bufferCount - 2, buffer->Release());

    ReleaseDirectSound();
    EXPECT_EQ(nullptr, SoundDevice);
    EXPECT_EQ(deviceCount - 2, device->Release());
}
