#include "tools/demodoc/DemoContent.h"

#include "tools/encoders/ImageWriters.h"
#include "tools/demodoc/DemoDocument.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

const wchar_t* const CommonModule = L"common_res.dll";

namespace {

constexpr int MaskSize = 512;

TableRecordsEntry ModuleEntry(int32_t number, DocumentBuilder::Bytes content)
{
    TableResourceRecord record;
    record.id = number;
    record.module = CommonModule;
    record.content = std::move(content);
    TableRecordsEntry entry;
    entry.path = CommonModule;
    entry.stamp = number;
    entry.records.push_back(std::move(record));
    return entry;
}

} // namespace

DemoContent::DemoContent(std::string folder) : effectsFolder(std::move(folder)) {}

std::wstring DemoContent::AddPicture(const wchar_t* fileName, DocumentBuilder::Bytes file)
{
    const std::wstring path = DemoPicturePath(fileName);
    for (const TableRecordsEntry& entry : table.images)
        if (entry.path == path)
            return path;
    TableResourceRecord record;
    record.content = std::move(file);
    record.path = path;
    TableRecordsEntry entry;
    entry.path = path;
    entry.stamp = DemoPictureStamp;
    entry.records.push_back(std::move(record));
    table.images.push_back(std::move(entry));
    return path;
}

bool DemoContent::HasModuleEntry(const std::vector<TableRecordsEntry>& entries, int32_t number) const
{
    for (const TableRecordsEntry& entry : entries)
        if (entry.path == CommonModule && entry.stamp == number)
            return true;
    return false;
}

void DemoContent::AddModulePicture(int32_t number, const DocumentBuilder::Bytes& file)
{
    if (!HasModuleEntry(table.images, number))
        table.images.push_back(ModuleEntry(number, file));
}

void DemoContent::AddModuleEffect(int32_t number, const std::string& fileName)
{
    if (HasModuleEntry(table.otherFiles, number))
        return;
    const std::string path = effectsFolder + "/" + fileName + ".fxo";
    std::ifstream in(path, std::ios::binary);
    DocumentBuilder::Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof())
        throw std::runtime_error("cannot read the compiled effect " + path);
    if (bytes.empty())
        throw std::runtime_error("cannot read the compiled effect " + path);
    table.otherFiles.push_back(ModuleEntry(number, std::move(bytes)));
}

void DemoContent::AddModuleFile(int32_t number, DocumentBuilder::Bytes file)
{
    if (!HasModuleEntry(table.otherFiles, number))
        table.otherFiles.push_back(ModuleEntry(number, std::move(file)));
}

GUID DemoContent::AddMask(uint32_t serial, const std::vector<uint8_t>& alpha)
{
    TableGuidEntry entry;
    entry.id = DemoGuid(serial);
    entry.content = EncodeAlphaDds(alpha, MaskSize);
    table.guids.push_back(std::move(entry));
    return DemoGuid(serial);
}

void DemoContent::AddModuleImageList(int32_t number, const std::vector<float>& delays,
                                     const std::vector<std::pair<std::wstring, DocumentBuilder::Bytes>>& frames)
{
    if (HasModuleEntry(table.images, number))
        return;
    // A module's image list names its frames by file: the document keeps
    // them under those paths, so they serve whether the module loads or not.
    TableRecordsEntry entry;
    entry.path = CommonModule;
    entry.stamp = number;
    for (const auto& [name, bytes] : frames) {
        TableResourceRecord record;
        record.content = bytes;
        record.path = DemoPicturePath(name.c_str());
        entry.records.push_back(std::move(record));
    }
    table.images.push_back(std::move(entry));
    TableDelaysEntry timing;
    timing.path = CommonModule;
    timing.stamp = number;
    timing.delays = delays;
    table.delays.push_back(std::move(timing));
}

GUID DemoGuid(uint32_t serial)
{
    // A version 4 layout with the project's fixed bits and the serial.
    return GUID{0x4E474C53u, 0x4445, 0x4D4F, {0x80, 0x00, 0x00, 0x00, 0x00, 0x00,
                                               static_cast<unsigned char>(serial >> 8),
                                               static_cast<unsigned char>(serial)}};
}

DocumentBuilder::Bytes DemoContent::Document() const
{
    DocumentBuilder builder;
    DocumentVersionString(builder);
    SlideShowRecord(builder, show);
    ResourceTableRecord(builder, table);
    return builder.Take();
}

LightContent PictureLayer(const std::wstring& path, bool camera, uint32_t zoom, uint32_t speed)
{
    LightContent layer;
    layer.picturePath = path;
    layer.pictureStamp = DemoPictureStamp;
    layer.cameraEnabled = camera ? 1 : 0;
    layer.cameraZoom = zoom;
    layer.cameraSpeed = speed;
    return layer;
}

SlideContent LayerSlide(const wchar_t* name, uint32_t display, DocumentBuilder::Bytes layer)
{
    SlideContent slide;
    slide.name = name;
    slide.fadeIn = 2;
    slide.display = display;
    slide.fadeOut = 2;
    slide.layer = std::move(layer);
    return slide;
}
