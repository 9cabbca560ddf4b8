#include "objects/sound/SoundDevice.h"

#include "objects/sound/SoundDeviceForTesting.h"
#include "tests/objects/sound/FakeSound.h"

#include <gtest/gtest.h>

namespace {

FakeSoundDevice* NextDevice = nullptr;

HRESULT WINAPI NoSoundCard(LPCGUID, LPDIRECTSOUND8* made, LPUNKNOWN)
{
    *made = nullptr;
    return E_INVALIDARG;
}

HRESULT WINAPI GiveNextDevice(LPCGUID, LPDIRECTSOUND8* made, LPUNKNOWN)
{
    NextDevice->AddRef();
    *made = NextDevice;
    return DS_OK;
}

} // namespace

// A start that fails (no sound card, or a device that refuses its
// cooperative level) leaves nothing behind and answers false; the next call
// tries again from the start and, once the card is there, gets the device
// and its looping primary buffer.
TEST(SoundDevice, AStartThatFailsLeavesNothingAndIsTriedAgain)
{
    ReleasePrimarySoundBuffer();
    ReleaseDirectSound();
    const HWND window = GetDesktopWindow();

    UseSoundDeviceFactoryForTesting(NoSoundCard);
    EXPECT_FALSE(InitDirectSound(window));
    EXPECT_FALSE(SoundDevice || PrimarySoundBuffer);
    EXPECT_FALSE(InitDirectSound(window));

    NextDevice = new FakeSoundDevice;
    NextDevice->failCooperativeLevel = true;
    UseSoundDeviceFactoryForTesting(GiveNextDevice);
    EXPECT_FALSE(InitDirectSound(window));
    EXPECT_FALSE(SoundDevice || PrimarySoundBuffer);
    EXPECT_EQ(1u, NextDevice->References());

    NextDevice->failCooperativeLevel = false;
    EXPECT_TRUE(InitDirectSound(window));
    EXPECT_EQ(static_cast<IDirectSound8*>(NextDevice), SoundDevice);
    ASSERT_TRUE(PrimarySoundBuffer);
    DWORD status = 0;
    EXPECT_EQ(DS_OK, PrimarySoundBuffer->GetStatus(&status));
    EXPECT_TRUE(status & DSBSTATUS_LOOPING);

    ReleasePrimarySoundBuffer();
    ReleaseDirectSound();
    EXPECT_EQ(1u, NextDevice->References());
    NextDevice->Release();
    NextDevice = nullptr;
    UseSoundDeviceFactoryForTesting(nullptr);
    EXPECT_TRUE(InitDirectSound(window));
    ReleasePrimarySoundBuffer();
    ReleaseDirectSound();
}

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
