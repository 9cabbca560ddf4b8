// DirectSound objects that stand in front of real ones and fail on purpose:
// a device whose cooperative level is refused or whose buffers cannot be
// locked, and a buffer that the device takes away (lost) until it is
// restored. Everything else goes to the real object behind.
#pragma once

#include "foundation/core/ComHolder.h"

#include <windows.h>
#include <mmsystem.h>

#include <dsound.h>

class FakeSoundBuffer : public IDirectSoundBuffer8 {
public:
    // Takes a reference of the real buffer; the fake starts with one of its
    // own, for the caller.
    explicit FakeSoundBuffer(IDirectSoundBuffer8* real);

    // The device takes the buffer's memory: it stops, its samples are gone
    // (overwritten here with a pattern), and Play, Lock and
    // SetCurrentPosition answer DSERR_BUFFERLOST until Restore.
    void Lose();

    bool lost = false;
    bool failLock = false;
    int restores = 0;
    ComHolder<IDirectSoundBuffer8> real;

    STDMETHOD_(HRESULT, QueryInterface)(REFIID riid, void** object) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(GetCaps)(LPDSBCAPS caps) override;
    STDMETHOD(GetCurrentPosition)(LPDWORD play, LPDWORD write) override;
    STDMETHOD(GetFormat)(LPWAVEFORMATEX format, DWORD size, LPDWORD written) override;
    STDMETHOD(GetVolume)(LPLONG volume) override;
    STDMETHOD(GetPan)(LPLONG pan) override;
    STDMETHOD(GetFrequency)(LPDWORD frequency) override;
    STDMETHOD(GetStatus)(LPDWORD status) override;
    STDMETHOD(Initialize)(LPDIRECTSOUND device, LPCDSBUFFERDESC description) override;
    STDMETHOD(Lock)(DWORD offset, DWORD bytes, LPVOID* first, LPDWORD firstBytes, LPVOID* second,
                    LPDWORD secondBytes, DWORD flags) override;
    STDMETHOD(Play)(DWORD reserved1, DWORD reserved2, DWORD flags) override;
    STDMETHOD(SetCurrentPosition)(DWORD position) override;
    STDMETHOD(SetFormat)(LPCWAVEFORMATEX format) override;
    STDMETHOD(SetVolume)(LONG volume) override;
    STDMETHOD(SetPan)(LONG pan) override;
    STDMETHOD(SetFrequency)(DWORD frequency) override;
    STDMETHOD(Stop)() override;
    STDMETHOD(Unlock)(LPVOID first, DWORD firstBytes, LPVOID second, DWORD secondBytes) override;
    STDMETHOD(Restore)() override;
    STDMETHOD(SetFX)(DWORD count, LPDSEFFECTDESC effects, LPDWORD results) override;
    STDMETHOD(AcquireResources)(DWORD flags, DWORD count, LPDWORD results) override;
    STDMETHOD(GetObjectInPath)(REFGUID object, DWORD index, REFGUID id, LPVOID* result) override;

private:
    virtual ~FakeSoundBuffer() = default;
    ULONG count = 1;
};

class FakeSoundDevice : public IDirectSound8 {
public:
    // Over a real device of the default sound card; one reference for the
    // caller.
    FakeSoundDevice();

    // Declared first, so that it goes after the buffer below.
    ComHolder<IDirectSound8> real;
    bool failCooperativeLevel = false;
    // Secondary buffers come as FakeSoundBuffer, their locks failing.
    bool failLocks = false;
    // The last secondary buffer made (the device keeps a reference).
    ComHolder<FakeSoundBuffer> lastBuffer;
    // References still held: counted down by each Release.
    ULONG References() const { return count; }

    STDMETHOD_(HRESULT, QueryInterface)(REFIID riid, void** object) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(CreateSoundBuffer)(LPCDSBUFFERDESC description, LPLPDIRECTSOUNDBUFFER buffer, IUnknown* outer) override;
    STDMETHOD(GetCaps)(LPDSCAPS caps) override;
    STDMETHOD(DuplicateSoundBuffer)(LPDIRECTSOUNDBUFFER original, LPLPDIRECTSOUNDBUFFER duplicate) override;
    STDMETHOD(SetCooperativeLevel)(HWND window, DWORD level) override;
    STDMETHOD(Compact)() override;
    STDMETHOD(GetSpeakerConfig)(LPDWORD config) override;
    STDMETHOD(SetSpeakerConfig)(DWORD config) override;
    STDMETHOD(Initialize)(LPCGUID device) override;
    STDMETHOD(VerifyCertification)(LPDWORD certified) override;

private:
    virtual ~FakeSoundDevice() = default;
    ULONG count = 1;
};
