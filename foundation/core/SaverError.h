// The program's own HRESULT codes and the failure of a document load.
#pragma once

#include <windows.h>

#include <stdexcept>

enum SaverError : HRESULT {
    NoDirect3D = static_cast<HRESULT>(0x82000001),
    NoCompatibleDevice = static_cast<HRESULT>(0x82000003),
    NoHardwareDevice = static_cast<HRESULT>(0x82000005),
    HardwareLacksFeature = static_cast<HRESULT>(0x82000006),
    InitFailed = static_cast<HRESULT>(0x82000007),
    HardwareLacksFeatureInMode = static_cast<HRESULT>(0x82000009),
    MediaNotFound = static_cast<HRESULT>(0x8200000B),
    ResetFailed = static_cast<HRESULT>(0x8200000C),
    DeviceObjectsFailed = static_cast<HRESULT>(0x8200000D),
    DeviceCreateFailed = static_cast<HRESULT>(0x8200000E),
    NoPreview = static_cast<HRESULT>(0x8200000F),
};

// Raised when the scene document cannot be read: bytes that end early, a
// length or count that does not fit, a class the reader does not know, or no
// document at all. The loader catches it and ends the load with
// MediaNotFound; everything built before the failure is destroyed on the way.
class MediaLoadError : public std::runtime_error {
public:
    explicit MediaLoadError(const char* what) : std::runtime_error(what) {}
    HRESULT Code() const { return MediaNotFound; }
};
