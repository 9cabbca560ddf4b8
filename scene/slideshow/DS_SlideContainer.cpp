#include "scene/slideshow/DS_SlideContainer.h"

#include "foundation/archive/DS_IOF_Virtual.h"
#include "foundation/archive/ObjectHeader.h"
#include "foundation/archive/ReaderRegistry.h"
#include "scene/layerbase/LightReaderRegistry.h"

namespace {

const wchar_t* const RecordName = L"DS_SlideContainer";
const int32_t WrittenVersion = 2;
const int32_t FirstVersionWithSounds = 2;

const unsigned int DefaultFadeIn = 1;
const unsigned int DefaultFadeOut = 1;
const unsigned int DefaultDisplay = 10;

// Before BuildObjects a group lives in its constructors, afterwards in the
// copies its runtime objects own: whichever holds it is written.
void WriteGroup(ArchiveHandle& archive, const DS_SlideContainer::ObjectVector& objects,
                const DS_SlideContainer::ConstructorList& constructors)
{
    int32_t count = static_cast<int32_t>(constructors.size());
    for (const CountedPtr<DS_ABObj>& object : objects)
        if (object && object->Constructor())
            ++count;
    archive->WriteInt(count);
    for (const CountedPtr<DS_ABObj>& object : objects)
        if (object && object->Constructor())
            object->Constructor()->Write(archive);
    for (const std::unique_ptr<DS_ABObj_Constructor>& constructor : constructors)
        constructor->Write(archive);
}

// One runtime object per constructor, in list order. A constructor that
// could not make its object leaves no empty place behind.
void CreateObjects(const DS_SlideContainer::ConstructorList& constructors, DS_SlideContainer::ObjectVector& objects)
{
    for (const std::unique_ptr<DS_ABObj_Constructor>& constructor : constructors) {
        CountedPtr<DS_ABObj> object(constructor->CreateObject());
        if (object)
            objects.push_back(object);
    }
}

} // namespace

DS_SlideContainer::DS_SlideContainer()
{
    fadeIn.SetValue(DefaultFadeIn, nullptr);
    fadeOut.SetValue(DefaultFadeOut, nullptr);
    display.SetValue(DefaultDisplay, nullptr);
    tag.SetValue(0, nullptr);
}

DS_SlideContainer::~DS_SlideContainer() = default;

void ReadConstructorList(ArchiveHandle& archive, DS_SlideContainer::ConstructorList& list)
{
    int32_t count = 0;
    archive->ReadInt(count);
    // Every record takes bytes, so a count beyond what is left ends at the
    // end of the document rather than in a long loop of failed reads.
    for (uint32_t i = 0; i < static_cast<uint32_t>(count); ++i) {
        std::unique_ptr<DS_ABObj_Constructor> constructor(ReadConstructor(archive));
        list.push_back(std::move(constructor));
    }
}

void DS_SlideContainer::ReadBody(ArchiveHandle& archive, int32_t version)
{
    archive->ReadUInt(fadeIn.value);
    archive->ReadUInt(fadeOut.value);
    archive->ReadUInt(display.value);
    long tagValue = 0;
    archive->ReadLong(tagValue);
    tag.value = static_cast<int>(tagValue);
    archive->ReadString(name.value);
    layer = CountedPtr<DS_2D_Light>(ReadLight(archive));
    ReadConstructorList(archive, visualConstructors);
    if (version >= FirstVersionWithSounds)
        ReadConstructorList(archive, soundConstructors);
}

void DS_SlideContainer::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    archive->WriteUInt(fadeIn.value);
    archive->WriteUInt(fadeOut.value);
    archive->WriteUInt(display.value);
    long tagValue = tag.value;
    archive->WriteLong(tagValue);
    archive->WriteString(name.value);
    if (layer)
        layer->Write(archive);
    WriteGroup(archive, visualObjects, visualConstructors);
    WriteGroup(archive, soundObjects, soundConstructors);
}

void DS_SlideContainer::OnDeviceInvalidated()
{
    for (const CountedPtr<DS_ABObj>& object : visualObjects)
        if (object)
            object->OnDeviceInvalidated();
    if (layer)
        layer->OnDeviceInvalidated();
}

void DS_SlideContainer::OnDeviceRestored()
{
    if (layer)
        layer->OnDeviceRestored();
    for (const CountedPtr<DS_ABObj>& object : visualObjects)
        if (object)
            object->OnDeviceRestored();
}

void DS_SlideContainer::BuildObjects()
{
    if (layer) {
        layer->OnDeviceCreated();
        layer->SetSize(1, 1);
    }
    CreateObjects(visualConstructors, visualObjects);
    CreateObjects(soundConstructors, soundObjects);
    visualConstructors.clear();
    soundConstructors.clear();
}

void DS_SlideContainer::Activate()
{
    for (const CountedPtr<DS_ABObj>& object : visualObjects)
        if (object && object->Constructor())
            object->Constructor()->OnDeviceRestored();
    OnDeviceRestored();
}

void DS_SlideContainer::SetSoundsActive(bool active)
{
    for (const CountedPtr<DS_ABObj>& object : soundObjects)
        if (object)
            object->SetActive(active);
}

void DS_SlideContainer::Update(float time)
{
    if (layer)
        layer->FrameMove(time);
    for (const CountedPtr<DS_ABObj>& object : visualObjects)
        if (object)
            object->Update(time);
    for (const CountedPtr<DS_ABObj>& object : soundObjects)
        if (object)
            object->Update(time);
}

int DS_SlideContainer::CountSceneReaders() const
{
    int readers = 0;
    for (const CountedPtr<DS_ABObj>& object : visualObjects)
        if (object && object->NeedsBackground() && object->WillDraw(*layer))
            ++readers;
    if (layer->NeedsSceneCapture())
        ++readers;
    return readers;
}

void DS_SlideContainer::RenderScene()
{
    if (!layer)
        return;
    // Without its pair (the textures could not be made) the layer draws as
    // if nothing read the scene: the picture in place, every object onto
    // the back buffer.
    const int readers = layer->targetPair.current ? CountSceneReaders() : 0;
    if (readers > 0)
        layer->BeginSceneCapture();
    layer->DrawBackground(false);
    DS_2D_Light::RenderObjects(*layer, visualObjects, readers);
}

void DS_SlideContainer::FinishFrame()
{
    if (layer)
        layer->FinishFrame();
}

void DS_SlideContainer::SetSize(int width, int height)
{
    if (layer)
        layer->SetSize(width, height);
}

void DS_SlideContainer::RestoreView()
{
    if (layer)
        layer->RestoreView();
}

void DS_SlideContainer::SetPicturePosition(int mode)
{
    if (layer)
        layer->SetPicturePosition(mode);
}
