#include "tests/support/ProbeObjects.h"

#include "foundation/archive/DS_IOF_Virtual.h"
#include "foundation/archive/ObjectHeader.h"
#include "foundation/archive/ReaderRegistry.h"
#include "foundation/core/CurrentDevice.h"
#include "scene/layerbase/DS_2D_Light.h"
#include "tools/document/ObjectRecords.h"

#include <sstream>

namespace {

const wchar_t* const ProbeClass = L"TestProbe";

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

void Note(const std::string& entry) { ProbeLog().push_back(entry); }

} // namespace

std::vector<std::string>& ProbeLog()
{
    static std::vector<std::string> log;
    return log;
}

void RegisterProbe() { RegisterConstructorReader<ProbeConstructor>(ProbeClass); }

void ProbeConstructor::Read(ArchiveHandle& archive, int32_t)
{
    long colour = 0;
    archive->ReadLong(colour);
    settings.colour = static_cast<D3DCOLOR>(colour);
    archive->ReadBool(settings.needsBackground);
    long edges[4] = {};
    for (long& edge : edges)
        archive->ReadLong(edge);
    settings.area = RECT{edges[0], edges[1], edges[2], edges[3]};
    ReadConstructorBase(archive, *this);
    settings.name = name;
}

void ProbeConstructor::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, ProbeClass, 1);
    long colour = static_cast<long>(settings.colour);
    archive->WriteLong(colour);
    archive->WriteBool(settings.needsBackground);
    long edges[4] = {settings.area.left, settings.area.top, settings.area.right, settings.area.bottom};
    for (long& edge : edges)
        archive->WriteLong(edge);
    DS_ABObj_Constructor::Write(archive);
}

DS_ABObj* ProbeConstructor::CreateObject() { return new ProbeObject(new ProbeConstructor(*this)); }

void ProbeConstructor::OnDeviceRestored() { Note("restored " + Narrow(settings.name)); }

void ProbeObject::Render(DS_2D_Light& layer)
{
    const bool picture = layer.GetSceneTexture().Get() == layer.GetPictureQuad().texture.Get();
    Note("render " + Narrow(settings.name) + (picture ? " picture" : " capture"));
    if (CurrentDevice)
        CurrentDevice->Clear(1, reinterpret_cast<const D3DRECT*>(&settings.area), D3DCLEAR_TARGET, settings.colour,
                             1.0f, 0);
}

void ProbeObject::Update(float time)
{
    std::ostringstream entry;
    entry << "update " << Narrow(settings.name) << ' ' << time;
    Note(entry.str());
}

void ProbeObject::OnDeviceInvalidated()
{
    target.Release();
    Note("object invalidated " + Narrow(settings.name));
}

void ProbeObject::OnDeviceRestored()
{
    const UINT TargetSide = 64;
    target.Release();
    if (CurrentDevice)
        CurrentDevice->CreateTexture(TargetSide, TargetSide, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8,
                                     D3DPOOL_DEFAULT, target.Out(), nullptr);
    Note("object restored " + Narrow(settings.name));
}

void ProbeObject::SetActive(bool active) { Note("active " + Narrow(settings.name) + (active ? " 1" : " 0")); }

DocumentBuilder::Bytes ProbeRecord(const ProbeSettings& settings)
{
    DocumentBuilder builder;
    builder.Header(ProbeClass, 1)
        .Long(static_cast<int32_t>(settings.colour))
        .Bool(settings.needsBackground)
        .Long(settings.area.left)
        .Long(settings.area.top)
        .Long(settings.area.right)
        .Long(settings.area.bottom);
    ConstructorBaseRecord(builder, settings.name);
    return builder.Take();
}
