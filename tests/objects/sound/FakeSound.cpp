#include "tests/objects/sound/FakeSound.h"

#include <cstring>

FakeSoundBuffer::FakeSoundBuffer(IDirectSoundBuffer8* realBuffer) { real = realBuffer; }

void FakeSoundBuffer::Lose()
{
    real->Stop();
    void* part = nullptr;
    DWORD bytes = 0;
    if (SUCCEEDED(real->Lock(0, 0, &part, &bytes, nullptr, nullptr, DSBLOCK_ENTIREBUFFER))) {
        std::memset(part, 0x5A, bytes);
        real->Unlock(part, bytes, nullptr, 0);
    }
    lost = true;
}

HRESULT FakeSoundBuffer::QueryInterface(REFIID riid, void** object)
{
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDirectSoundBuffer) ||
        IsEqualIID(riid, IID_IDirectSoundBuffer8)) {
        AddRef();
        *object = this;
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG FakeSoundBuffer::AddRef() { return ++count; }

ULONG FakeSoundBuffer::Release()
{
    const ULONG left = --count;
    if (left == 0)
        delete this;
    return left;
}

HRESULT FakeSoundBuffer::GetCaps(LPDSBCAPS caps) { return real->GetCaps(caps); }
HRESULT FakeSoundBuffer::GetCurrentPosition(LPDWORD play, LPDWORD write) { return real->GetCurrentPosition(play, write); }
HRESULT FakeSoundBuffer::GetFormat(LPWAVEFORMATEX format, DWORD size, LPDWORD written)
{
    return real->GetFormat(format, size, written);
}
HRESULT FakeSoundBuffer::GetVolume(LPLONG volume) { return real->GetVolume(volume); }
HRESULT FakeSoundBuffer::GetPan(LPLONG pan) { return real->GetPan(pan); }
HRESULT FakeSoundBuffer::GetFrequency(LPDWORD frequency) { return real->GetFrequency(frequency); }

HRESULT FakeSoundBuffer::GetStatus(LPDWORD status)
{
    const HRESULT hr = real->GetStatus(status);
    if (SUCCEEDED(hr) && lost)
        *status |= DSBSTATUS_BUFFERLOST;
    return hr;
}

HRESULT FakeSoundBuffer::Initialize(LPDIRECTSOUND device, LPCDSBUFFERDESC description)
{
    return real->Initialize(device, description);
}

HRESULT FakeSoundBuffer::Lock(DWORD offset, DWORD bytes, LPVOID* first, LPDWORD firstBytes, LPVOID* second,
                              LPDWORD secondBytes, DWORD flags)
{
    if (failLock)
        return DSERR_INVALIDCALL;
    if (lost)
        return DSERR_BUFFERLOST;
    return real->Lock(offset, bytes, first, firstBytes, second, secondBytes, flags);
}

HRESULT FakeSoundBuffer::Play(DWORD reserved1, DWORD reserved2, DWORD flags)
{
    return lost ? DSERR_BUFFERLOST : real->Play(reserved1, reserved2, flags);
}

HRESULT FakeSoundBuffer::SetCurrentPosition(DWORD position)
{
    return lost ? DSERR_BUFFERLOST : real->SetCurrentPosition(position);
}

HRESULT FakeSoundBuffer::SetFormat(LPCWAVEFORMATEX format) { return real->SetFormat(format); }
HRESULT FakeSoundBuffer::SetVolume(LONG volume) { return real->SetVolume(volume); }
HRESULT FakeSoundBuffer::SetPan(LONG pan) { return real->SetPan(pan); }
HRESULT FakeSoundBuffer::SetFrequency(DWORD frequency) { return real->SetFrequency(frequency); }
HRESULT FakeSoundBuffer::Stop() { return real->Stop(); }
HRESULT FakeSoundBuffer::Unlock(LPVOID first, DWORD firstBytes, LPVOID second, DWORD secondBytes)
{
    return real->Unlock(first, firstBytes, second, secondBytes);
}

HRESULT FakeSoundBuffer::Restore()
{
    ++restores;
    lost = false;
    return DS_OK;
}

HRESULT FakeSoundBuffer::SetFX(DWORD count, LPDSEFFECTDESC effects, LPDWORD results)
{
    return real->SetFX(count, effects, results);
}
HRESULT FakeSoundBuffer::AcquireResources(DWORD flags, DWORD count, LPDWORD results)
{
    return real->AcquireResources(flags, count, results);
}
HRESULT FakeSoundBuffer::GetObjectInPath(REFGUID object, DWORD index, REFGUID id, LPVOID* result)
{
    return real->GetObjectInPath(object, index, id, result);
}

FakeSoundDevice::FakeSoundDevice()
{
    IDirectSound8* made = nullptr;
    if (SUCCEEDED(DirectSoundCreate8(nullptr, &made, nullptr)))
        real.Attach(made);
}

HRESULT FakeSoundDevice::QueryInterface(REFIID riid, void** object)
{
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDirectSound) ||
        IsEqualIID(riid, IID_IDirectSound8)) {
        AddRef();
        *object = this;
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG FakeSoundDevice::AddRef() { return ++count; }

ULONG FakeSoundDevice::Release()
{
    const ULONG left = --count;
    if (left == 0)
        delete this;
    return left;
}

HRESULT FakeSoundDevice::CreateSoundBuffer(LPCDSBUFFERDESC description, LPLPDIRECTSOUNDBUFFER buffer, IUnknown* outer)
{
    if (!real)
        return DSERR_NODRIVER;
    const HRESULT hr = real->CreateSoundBuffer(description, buffer, outer);
    if (FAILED(hr) || (description->dwFlags & DSBCAPS_PRIMARYBUFFER))
        return hr;
    ComHolder<IDirectSoundBuffer> made(*buffer);
    ComHolder<IDirectSoundBuffer8> made8;
    if (FAILED(made->QueryInterface(IID_IDirectSoundBuffer8, reinterpret_cast<void**>(made8.Out()))))
        return E_NOINTERFACE;
    auto* fake = new FakeSoundBuffer(made8.Get());
    fake->failLock = failLocks;
    lastBuffer = fake;
    // Its first methods are those of IDirectSoundBuffer, in the same order.
    *buffer = reinterpret_cast<IDirectSoundBuffer*>(static_cast<IDirectSoundBuffer8*>(fake));
    return hr;
}

HRESULT FakeSoundDevice::GetCaps(LPDSCAPS caps) { return real->GetCaps(caps); }
HRESULT FakeSoundDevice::DuplicateSoundBuffer(LPDIRECTSOUNDBUFFER original, LPLPDIRECTSOUNDBUFFER duplicate)
{
    return real->DuplicateSoundBuffer(original, duplicate);
}

HRESULT FakeSoundDevice::SetCooperativeLevel(HWND window, DWORD level)
{
    if (failCooperativeLevel)
        return DSERR_INVALIDPARAM;
    return real ? real->SetCooperativeLevel(window, level) : DSERR_NODRIVER;
}

HRESULT FakeSoundDevice::Compact() { return real->Compact(); }
HRESULT FakeSoundDevice::GetSpeakerConfig(LPDWORD config) { return real->GetSpeakerConfig(config); }
HRESULT FakeSoundDevice::SetSpeakerConfig(DWORD config) { return real->SetSpeakerConfig(config); }
HRESULT FakeSoundDevice::Initialize(LPCGUID device) { return real->Initialize(device); }
HRESULT FakeSoundDevice::VerifyCertification(LPDWORD certified) { return real->VerifyCertification(certified); }
