// Choosing among an adapter's display modes: which modes are listed, their
// order, the default and full-screen choices and the fall-back to a lower
// mode when a device cannot be made in the chosen one.
#pragma once

#include "host/framework/DeviceRecords.h"

// 32 for the two 8-bit-per-channel formats, 16 for every other.
int ColourBits(D3DFORMAT format);

// Adds mode to the list of count modes unless it is smaller than 640 × 400,
// the list already holds its width, height and format (refresh rates are not
// told apart) or the list holds MaxKeptModes. Returns whether it was added.
bool KeepDisplayMode(ModeRecord* modes, int& count, const D3DDISPLAYMODE& mode);

// Sort order of modes: width ascending, then height ascending, then the
// larger D3DFORMAT value first. Negative when a goes before b.
int CompareModes(const ModeRecord& a, const ModeRecord& b);
void SortModes(ModeRecord* modes, int count);

// The last 640 × 480 mode, or the first such mode in a 16-bit format; 0
// when there is none.
int FindDefaultMode(const DeviceRecord& device);

// The mode a full-screen device starts in: the stored one when the device
// lists it, else the automatic choice for its type; -1 without modes.
int ChooseFullscreenMode(const AdapterRecord& adapter, const DeviceRecord& device);

// The next mode to try after a device could not be made in mode: the same
// size in 16 bits when mode is 32-bit, else the largest smaller area (32-bit
// first on a tie). False when there is none.
bool PickLowerDisplayMode(const DeviceRecord& device, int& mode);
