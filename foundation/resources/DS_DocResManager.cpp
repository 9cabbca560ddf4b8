#include "foundation/resources/DS_DocResManager.h"

#include "foundation/core/SaverError.h"
#include "foundation/archive/DS_IOF_R.h"
#include "foundation/archive/ObjectHeader.h"
#include "foundation/archive/ResourceBuffer.h"
#include "foundation/core/CurrentDevice.h"
#include "foundation/resources/RenderTargetPair.h"
#include "foundation/resources/TextureCopies.h"
#include "foundation/resources/EffectBinaryCheck.h"
#include "foundation/resources/MeshLoaders.h"
#include "foundation/resources/ResourceModule.h"
#include "foundation/resources/TextureLoaders.h"

#include <cstring>
#include <utility>

DS_DocResManager* CurrentResManager = nullptr;

namespace {

using Records = ResourceTable::Records;

const wchar_t* const RecordClassName = L"DS_DocResManager";
constexpr int32_t WrittenVersion = 3;
// The size of the render-target pairs made again from GUID textures.
constexpr uint32_t GuidTargetSize = 512;

// A module link's resource number: the stamp's low 32 bits.
int32_t ResourceNumber(const DS_FileLink3& link)
{
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(link.value.stamp) & 0xFFFFFFFFu));
}

// Effects and meshes that a module or empty link names by number are looked
// for among the program's own resources when the module does not load: the
// program carries them. A disk link's stamp is a file time, not a number.
ModuleFallback FallbackFor(const DS_FileLink3& link)
{
    return link.IsDiskLink() ? ModuleFallback::None : ModuleFallback::ProgramResources;
}

// The picture of a record, by default on the current document's cache;
// without a cache there is nothing to make it with.
SizedTexture RecordTexture(const ResourceRecord& record, ResourceCache* cache = CurrentResourceCache)
{
    return cache ? cache->GetRecordTexture(record) : SizedTexture();
}

// One slot per record holding that record's picture; the set ends with the
// sizes of the last one, made or not.
void MakeFrameTextures(TextureSet& set, const Records& records, ResourceCache* cache)
{
    set.textures.assign(records.size(), ComHolder<IDirect3DTexture9>());
    for (std::size_t i = 0; i < records.size(); ++i) {
        const SizedTexture sized = RecordTexture(records[i], cache);
        set.textures[i] = sized.texture;
        set.width = sized.width;
        set.height = sized.height;
        set.aspect = sized.aspect;
    }
}

// Block counts are int32; no writer makes a negative one.
int32_t ReadCount(ArchiveHandle& archive)
{
    int32_t count = 0;
    archive->ReadInt(count);
    if (count < 0)
        throw MediaLoadError("negative count in the resource table");
    return count;
}

FileKey ReadFileKey(ArchiveHandle& archive)
{
    FileKey key;
    archive->ReadString(key.path);
    archive->ReadInt64(key.stamp);
    return key;
}

void WriteFileKey(ArchiveHandle& archive, const FileKey& key)
{
    ds_string path = key.path;
    int64_t stamp = key.stamp;
    archive->WriteString(path);
    archive->WriteInt64(stamp);
}

void WriteCount(ArchiveHandle& archive, std::size_t size)
{
    int32_t count = static_cast<int32_t>(size);
    archive->WriteInt(count);
}

Records ReadRecords(ArchiveHandle& archive, int32_t count)
{
    Records records;
    for (int32_t i = 0; i < count; ++i)
        records.emplace_back(archive);
    return records;
}

// Entries of a key the block already holds are read and dropped: the first
// one stays.
void ReadRecordsBlock(ArchiveHandle& archive, ResourceTable::FileMap<Records>& map)
{
    const int32_t entries = ReadCount(archive);
    for (int32_t i = 0; i < entries; ++i) {
        FileKey key = ReadFileKey(archive);
        Records records = ReadRecords(archive, ReadCount(archive));
        map.emplace(std::move(key), std::move(records));
    }
}

void ReadDelaysBlock(ArchiveHandle& archive, ResourceTable::FileMap<std::vector<float>>& map)
{
    const int32_t entries = ReadCount(archive);
    for (int32_t i = 0; i < entries; ++i) {
        FileKey key = ReadFileKey(archive);
        std::vector<float> delays;
        ReadFloatVector(archive, delays);
        map.emplace(std::move(key), std::move(delays));
    }
}

void WriteRecordsBlock(ArchiveHandle& archive, ResourceTable::FileMap<Records>& map)
{
    WriteCount(archive, map.size());
    for (auto& [key, records] : map) {
        WriteFileKey(archive, key);
        WriteCount(archive, records.size());
        for (ResourceRecord& record : records)
            archive->WriteResourceRecord(record);
    }
}

void WriteDelaysBlock(ArchiveHandle& archive, ResourceTable::FileMap<std::vector<float>>& map)
{
    WriteCount(archive, map.size());
    for (auto& [key, delays] : map) {
        WriteFileKey(archive, key);
        WriteCount(archive, delays.size());
        for (float& delay : delays)
            archive->WriteFloat(delay);
    }
}

// An image list of a module: int32 n, n delays (floats), int32 m, m records.
// False when the counts or sizes run past the resource's end: nothing of a
// list that does not fit is used.
bool ReadImageList(const ResourceBytes& bytes, std::vector<float>& delays, Records& records)
{
    ResourceBuffer buffer(bytes.data, bytes.size);
    ArchiveHandle archive(std::make_unique<DS_IOF_R<ResourceBuffer>>(&buffer));
    // The archive reports a read past the end as a document-load failure; a
    // module resource that does not fit is only an empty list.
    try {
        std::vector<uint32_t> delayBits;
        buffer.ReadIntVector(delayBits);
        int32_t count = 0;
        archive->ReadInt(count);
        if (count < 0)
            return false;
        Records read = ReadRecords(archive, count);
        delays.resize(delayBits.size());
        if (!delayBits.empty())
            std::memcpy(delays.data(), delayBits.data(), delayBits.size() * sizeof(float));
        records = std::move(read);
        return true;
    } catch (const MediaLoadError&) {
        return false;
    }
}

ComHolder<ID3DXEffect> CreateEffect(const ResourceRecord& record)
{
    ComHolder<ID3DXEffect> effect;
    if (!CurrentDevice || !record.Bytes())
        return effect;
    // D3DX trusts the offsets inside the file; a damaged one is no effect.
    if (record.Size() <= 0 || !IsWellFormedCompiledEffect(record.Bytes(), static_cast<std::size_t>(record.Size())))
        return effect;
    if (FAILED(D3DXCreateEffect(CurrentDevice, record.Bytes(), static_cast<UINT>(record.Size()), nullptr, nullptr,
                                0, nullptr, effect.Out(), nullptr)))
        effect.Release();
    return effect;
}

// Replaces the set's slots with the one texture of sized.
void HoldSingleTexture(TextureSet& set, const SizedTexture& sized)
{
    set.textures.clear();
    set.Append(sized);
}

} // namespace

DS_DocResManager::DS_DocResManager() : cache(std::make_unique<ResourceCache>())
{
    CurrentResourceCache = cache.get();
    table = std::make_unique<ResourceTable>();
}

DS_DocResManager::~DS_DocResManager()
{
    if (CurrentResManager == this)
        CurrentResManager = nullptr;
    cache.reset();
    table.reset();
}

bool DS_DocResManager::Read(ArchiveHandle& archive, int32_t version)
{
    ReadImageRecords(archive);
    if (version == 1)
        return true;
    ReadOtherFiles(archive);
    if (version == 2)
        return true;
    ReadGuidEntries(archive);
    return true;
}

void DS_DocResManager::ReadImageRecords(ArchiveHandle& archive)
{
    ReadRecordsBlock(archive, table->imageRecords);
    ReadDelaysBlock(archive, table->frameDelays);

    for (const auto& [key, records] : table->imageRecords) {
        table->allRecords[key] = records;
        TextureSet& set = table->textureSets[key];
        // On this manager's own cache, which the constructor made current.
        MakeFrameTextures(set, records, cache.get());
        // A still picture keeps no delays, even when the document has some.
        if (records.size() > 1)
            set.delays = table->frameDelays[key];
    }
    table->imageRecords.clear();
}

void DS_DocResManager::ReadOtherFiles(ArchiveHandle& archive)
{
    ReadRecordsBlock(archive, table->otherFiles);
    // A key with image records keeps them.
    for (const auto& [key, records] : table->otherFiles)
        table->allRecords.emplace(key, records);
}

void DS_DocResManager::ReadGuidEntries(ArchiveHandle& archive)
{
    const int32_t entries = ReadCount(archive);
    for (int32_t i = 0; i < entries; ++i) {
        GUID id{};
        ReadGuid(archive, id);
        ds_string name;
        archive->ReadString(name);
        bool flag = false;
        archive->ReadBool(flag);
        FileRecord file;
        archive->ReadFileRecord(file);
        table->guidFiles.emplace(GuidKey(id, name, flag ? 1 : 0), std::move(file));
    }

    for (const auto& [key, file] : table->guidFiles) {
        const SizedTexture sized = CreateSizedTextureFromMemory(file.Bytes(), file.Size());
        table->guidTextures[key] = sized.texture;
    }
    // The textures are all that is needed from here on.
    table->guidFiles.clear();
}

void DS_DocResManager::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordClassName, WrittenVersion);
    WriteRecordsBlock(archive, table->imageRecords);
    WriteDelaysBlock(archive, table->frameDelays);
    WriteRecordsBlock(archive, table->otherFiles);

    WriteCount(archive, table->guidFiles.size());
    for (auto& [key, file] : table->guidFiles) {
        RefreshGuidTextureBytes(key);
        WriteGuid(archive, key.id);
        ds_string name = key.name;
        archive->WriteString(name);
        bool flag = key.flag != 0;
        archive->WriteBool(flag);
        archive->WriteFileRecord(file);
    }
}

bool DS_DocResManager::StoreImageLink(const DS_FileLink3& link)
{
    if (link.value.path.empty())
        return true;
    const auto set = table->textureSets.find(link.value);
    if (set != table->textureSets.end() && !set->second.delays.empty())
        table->frameDelays[link.value] = set->second.delays;
    table->imageRecords[link.value] = table->allRecords[link.value];
    return true;
}

bool DS_DocResManager::RefreshGuidTextureBytes(const GuidKey& key)
{
    const auto slot = table->guidTextures.find(key);
    if (slot == table->guidTextures.end() || !slot->second)
        return true;
    const ComHolder<ID3DXBuffer> file = SaveTextureToDdsMemory(slot->second.Get());
    if (file)
        table->guidFiles[key].SetBytes(static_cast<int32_t>(file->GetBufferSize()),
                                       static_cast<const uint8_t*>(file->GetBufferPointer()));
    return true;
}

TextureSet& DS_DocResManager::GetLinkTextures(const DS_FileLink3& link)
{
    TextureSet& set = table->textureSets[link.value];
    if (set.IsLoaded())
        return set;
    Records& records = table->allRecords[link.value];
    // A disk picture that the document does not embed stays empty: nothing
    // is read from the disk.
    if (link.IsModuleLink() || link.IsEmptyLink()) {
        // A fresh record: records the document may hold for the key are not
        // what a module or the program provides.
        records.emplace_back(ResourceNumber(link), link.value.path);
        HoldSingleTexture(set, RecordTexture(records.back()));
    }
    return set;
}

TextureSet& DS_DocResManager::GetModuleImageList(const DS_FileLink3& link)
{
    TextureSet& set = table->textureSets[link.value];
    if (set.IsLoaded() || absentImageLists.count(link.value))
        return set;
    HMODULE module = nullptr;
    const bool loaded = LoadResourceModule(link.value.path, module);
    const ResourceBytes bytes = loaded ? FindResourceBytes(module, ResourceNumber(link), PictureResourceType)
                                       : ResourceBytes{};
    std::vector<float> delays;
    Records records;
    if (!bytes || !ReadImageList(bytes, delays, records)) {
        absentImageLists.insert(link.value);
        return set;
    }

    set.delays = std::move(delays);
    MakeFrameTextures(set, records, CurrentResourceCache);
    table->allRecords[link.value] = std::move(records);
    return set;
}

ResourceRecord* DS_DocResManager::GetLinkRecord(const DS_FileLink3& link)
{
    Records& records = table->allRecords[link.value];
    if (!records.empty())
        return &records.front();
    if (!link.IsModuleLink())
        return nullptr;
    records.emplace_back(ResourceNumber(link), link.value.path);
    LoadModuleResource(records.back());
    return &records.back();
}

ComHolder<ID3DXEffect> DS_DocResManager::GetLinkEffect(const DS_FileLink3& link)
{
    ComHolder<ID3DXEffect>& slot = table->effects[link.value];
    if (!slot) {
        Records& records = table->allRecords[link.value];
        // Once the key has a record the module is not asked again: a failed
        // effect is retried from the records alone.
        if (records.empty()) {
            records.emplace_back(ResourceNumber(link), link.value.path);
            LoadModuleResource(records.back(), EffectResourceType, FallbackFor(link));
        }
        // The last record wins: an editor appends the newest compile.
        slot = CreateEffect(records.back());
    }
    return slot;
}

LoadedMesh& DS_DocResManager::GetLinkMesh(const DS_FileLink3& link, UINT stride)
{
    LoadedMesh& mesh = table->meshes[link.value];
    if (mesh.IsLoaded())
        return mesh;
    Records& records = table->allRecords[link.value];
    if (records.empty()) {
        records.emplace_back(ResourceNumber(link), link.value.path);
        LoadModuleResource(records.back(), PictureResourceType, FallbackFor(link));
    }
    const ResourceRecord& first = records.front();
    mesh = LoadMeshFromMemory(first.Bytes(), first.Size(), stride);
    return mesh;
}

DS_ImageFileLink DS_DocResManager::MakeImageLink(const ResourceRecord& record)
{
    const DS_FileLink3 link(record);
    Records& records = table->allRecords[link.value];
    if (records.empty())
        records.push_back(record);
    HoldSingleTexture(table->textureSets[link.value], RecordTexture(record));
    return DS_ImageFileLink(link);
}

DS_ImageFileLink DS_DocResManager::MakeImageLinkFromList(const std::vector<float>& delays,
                                                         const std::list<ResourceRecord>& records)
{
    // Without a record there is nothing to name the link after.
    if (records.empty())
        return DS_ImageFileLink();
    const DS_FileLink3 link(records.front());
    TextureSet& set = table->textureSets[link.value];
    if (!set.IsLoaded()) {
        Records& kept = table->allRecords[link.value];
        for (const ResourceRecord& record : records) {
            set.Append(RecordTexture(record));
            kept.push_back(record);
        }
        set.delays = delays;
    }
    return DS_ImageFileLink(link);
}

DS_ImageFileLink DS_DocResManager::MakeImageLinkFromFile(const ds_string& path)
{
    DS_ImageFileLink image{DS_FileLink3(path)};
    GetLinkTextures(image);
    return image;
}

ComHolder<IDirect3DTexture9>& DS_DocResManager::GuidTexture(const GuidKey& key)
{
    return table->guidTextures[key];
}

void DS_DocResManager::OnLostDevice()
{
    for (auto& [key, effect] : table->effects)
        if (effect)
            effect->OnLostDevice();
    // The pairs' textures live in the default pool and must go before the
    // reset; the pair objects stay for OnResetDevice.
    for (auto& [key, pair] : table->renderTargets) {
        if (!pair)
            continue;
        pair->ReleaseTextures();
    }
}

void DS_DocResManager::OnResetDevice()
{
    for (auto& [key, effect] : table->effects)
        if (effect)
            effect->OnResetDevice();
    // Textures and meshes are managed and survive the reset by themselves.
    for (auto& [key, pair] : table->renderTargets)
        if (pair)
            pair->CreateFromTexture(table->guidTextures[key].Get(), GuidTargetSize, GuidTargetSize);
}
