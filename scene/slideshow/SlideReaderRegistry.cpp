#include "scene/slideshow/SlideReaderRegistry.h"

#include "scene/slideshow/DS_SlideContainer.h"

SlideRegistry& SlideReaderRegistry()
{
    static SlideRegistry registry("BuildSlideReaderRegistry", "DestroySlideReaderRegistry");
    return registry;
}

DS_SlideContainer* ReadSlide(ArchiveHandle& archive) { return ReadByClassName(SlideReaderRegistry(), archive); }

void RegisterSlideReaders() { RegisterSlideReader<DS_SlideContainer>(L"DS_SlideContainer"); }
