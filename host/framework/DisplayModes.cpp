#include "host/framework/DisplayModes.h"

#include <algorithm>

namespace {

const UINT MinModeWidth = 640;
const UINT MinModeHeight = 400;

bool IsDefaultSixteenBit(D3DFORMAT f)
{
    return f == D3DFMT_R5G6B5 || f == D3DFMT_X1R5G5B5 || f == D3DFMT_A1R5G5B5;
}

// The software device's choice also counts the 4-bit-per-channel formats.
bool IsSoftwareSixteenBit(D3DFORMAT f)
{
    return IsDefaultSixteenBit(f) || f == D3DFMT_A4R4G4B4 || f == D3DFMT_X4R4G4B4;
}

bool IsThirtyTwoBit(D3DFORMAT f)
{
    return f == D3DFMT_X8R8G8B8 || f == D3DFMT_A8R8G8B8;
}

int FindStoredMode(const AdapterRecord& adapter, const DeviceRecord& device)
{
    for (int i = 0; i < device.modeCount; ++i) {
        const ModeRecord& m = device.modes[i];
        if (m.width == adapter.storedWidth && m.height == adapter.storedHeight &&
            static_cast<DWORD>(m.format) == adapter.storedFormat)
            return i;
    }
    return -1;
}

// The lowest mode above 400 lines, preferring a 16-bit one of that height.
int ChooseSoftwareMode(const DeviceRecord& device)
{
    int chosen = -1;
    for (int i = 0; i < device.modeCount; ++i) {
        const ModeRecord& m = device.modes[i];
        if (m.height == MinModeHeight)
            continue;
        if (chosen < 0 || m.height < device.modes[chosen].height ||
            (m.height == device.modes[chosen].height && !IsSoftwareSixteenBit(device.modes[chosen].format)))
            chosen = i;
    }
    return chosen;
}

// The desktop's size, in 32 bits when the device lists it so.
int ChooseHardwareMode(const AdapterRecord& adapter, const DeviceRecord& device)
{
    int chosen = -1;
    for (int i = 0; i < device.modeCount; ++i) {
        const ModeRecord& m = device.modes[i];
        if (m.width != adapter.desktopMode.Width || m.height != adapter.desktopMode.Height)
            continue;
        if (chosen < 0)
            chosen = i;
        if (IsThirtyTwoBit(m.format))
            return i;
    }
    return chosen;
}

// The largest mode, the deeper one on equal size.
int ChooseLargestMode(const DeviceRecord& device)
{
    int chosen = -1;
    for (int i = 0; i < device.modeCount; ++i) {
        const ModeRecord& m = device.modes[i];
        if (chosen < 0) {
            chosen = i;
            continue;
        }
        const ModeRecord& c = device.modes[chosen];
        if (m.width > c.width || m.height > c.height ||
            (m.width == c.width && m.height == c.height && ColourBits(m.format) > ColourBits(c.format)))
            chosen = i;
    }
    return chosen;
}

} // namespace

int ColourBits(D3DFORMAT format)
{
    return IsThirtyTwoBit(format) ? 32 : 16;
}

bool KeepDisplayMode(ModeRecord* modes, int& count, const D3DDISPLAYMODE& mode)
{
    if (mode.Width < MinModeWidth || mode.Height < MinModeHeight || count >= MaxKeptModes)
        return false;
    for (int i = 0; i < count; ++i) {
        if (modes[i].width == mode.Width && modes[i].height == mode.Height && modes[i].format == mode.Format)
            return false;
    }
    modes[count] = ModeRecord{mode.Width, mode.Height, mode.Format, 0, D3DFMT_UNKNOWN};
    ++count;
    return true;
}

int CompareModes(const ModeRecord& a, const ModeRecord& b)
{
    if (a.width != b.width)
        return a.width < b.width ? -1 : 1;
    if (a.height != b.height)
        return a.height < b.height ? -1 : 1;
    if (a.format != b.format)
        return a.format > b.format ? -1 : 1;
    return 0;
}

void SortModes(ModeRecord* modes, int count)
{
    std::sort(modes, modes + count,
              [](const ModeRecord& a, const ModeRecord& b) { return CompareModes(a, b) < 0; });
}

int FindDefaultMode(const DeviceRecord& device)
{
    int found = 0;
    for (int i = 0; i < device.modeCount; ++i) {
        const ModeRecord& m = device.modes[i];
        if (m.width != 640 || m.height != 480)
            continue;
        found = i;
        if (IsDefaultSixteenBit(m.format))
            break;
    }
    return found;
}

int ChooseFullscreenMode(const AdapterRecord& adapter, const DeviceRecord& device)
{
    int chosen = adapter.storedWidth != 0 ? FindStoredMode(adapter, device) : -1;
    if (chosen < 0)
        chosen = device.type == D3DDEVTYPE_SW ? ChooseSoftwareMode(device) : ChooseHardwareMode(adapter, device);
    if (chosen < 0)
        chosen = ChooseLargestMode(device);
    return chosen;
}

bool PickLowerDisplayMode(const DeviceRecord& device, int& mode)
{
    if (mode < 0 || mode >= device.modeCount)
        return false;
    const ModeRecord& current = device.modes[mode];
    const bool current32 = IsThirtyTwoBit(current.format);
    const UINT64 currentArea = static_cast<UINT64>(current.width) * current.height;
    int best = -1;
    UINT64 bestArea = 0;
    for (int i = 0; i < device.modeCount; ++i) {
        if (i == mode)
            continue;
        const ModeRecord& m = device.modes[i];
        if (current32 && m.width == current.width && m.height == current.height && !IsThirtyTwoBit(m.format)) {
            mode = i;
            return true;
        }
        const UINT64 area = static_cast<UINT64>(m.width) * m.height;
        if (area >= currentArea)
            continue;
        if (best < 0 || area > bestArea ||
            (area == bestArea && IsThirtyTwoBit(m.format) && !IsThirtyTwoBit(device.modes[best].format))) {
            best = i;
            bestArea = area;
        }
    }
    if (best < 0)
        return false;
    mode = best;
    return true;
}
