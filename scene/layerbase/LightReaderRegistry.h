// The registry that finds a layer class's reader by its class name.
#pragma once

#include "foundation/archive/ReaderRegistry.h"

class DS_2D_Light;

using LightRegistry = ReaderRegistry<IOF_Virtual_ReaderII<DS_2D_Light>>;

// Built empty on its first call, which also schedules its destruction at exit.
LightRegistry& LightReaderRegistry();

template <class X>
void RegisterLightReader(const ds_string& className)
{
    RegisterReaderStatic<IOF_Virtual_ReaderT_II<X, DS_2D_Light>>(LightReaderRegistry(), className);
}

// A layer read by its class name through the layer registry; the caller owns
// it. An unknown name throws MediaLoadError after the header.
DS_2D_Light* ReadLight(ArchiveHandle& archive);

// Registers the layer base's own class.
void RegisterLayerBaseReaders();
