// The registry that finds a slide class's reader by its class name.
#pragma once

#include "foundation/archive/ReaderRegistry.h"

class DS_SlideContainer;

using SlideRegistry = ReaderRegistry<IOF_Virtual_ReaderII<DS_SlideContainer>>;

// Built empty on its first call, which also schedules its destruction at exit.
SlideRegistry& SlideReaderRegistry();

template <class X>
void RegisterSlideReader(const ds_string& className)
{
    RegisterReaderStatic<IOF_Virtual_ReaderT_II<X, DS_SlideContainer>>(SlideReaderRegistry(), className);
}

// A slide read by its class name through the slide registry; the caller owns
// it. An unknown name throws MediaLoadError after the header.
DS_SlideContainer* ReadSlide(ArchiveHandle& archive);

// Registers the slide class.
void RegisterSlideReaders();
