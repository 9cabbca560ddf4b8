// Publishes a device as CurrentDevice for one scope and puts the previous
// one back when the scope ends, on every path out of a test. A fixture keeps
// one in a std::optional, made in SetUp and reset in TearDown: the device is
// withdrawn before the fixture's own members (documents, managers, caches)
// are destroyed.
#pragma once

#include "foundation/core/CurrentDevice.h"

class ScopedCurrentDevice {
public:
    explicit ScopedCurrentDevice(IDirect3DDevice9* device) : previous(CurrentDevice) { CurrentDevice = device; }
    ~ScopedCurrentDevice() { CurrentDevice = previous; }
    ScopedCurrentDevice(const ScopedCurrentDevice&) = delete;
    ScopedCurrentDevice& operator=(const ScopedCurrentDevice&) = delete;

private:
    IDirect3DDevice9* previous;
};
