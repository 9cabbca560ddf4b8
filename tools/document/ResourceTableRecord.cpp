#include "tools/document/ResourceTableRecord.h"

#include "tools/document/ResourceRecords.h"

DocumentBuilder& TableRecord(DocumentBuilder& builder, const TableResourceRecord& record)
{
    return builder.ResourceRecord(record.id, record.module, record.content, record.path);
}

namespace {

void RecordsBlock(DocumentBuilder& builder, const std::vector<TableRecordsEntry>& entries)
{
    builder.Int(static_cast<int32_t>(entries.size()));
    for (const TableRecordsEntry& entry : entries) {
        builder.Link(entry.path, entry.stamp).Int(static_cast<int32_t>(entry.records.size()));
        for (const TableResourceRecord& record : entry.records)
            builder.ResourceRecord(record.id, record.module, record.content, record.path);
    }
}

void DelaysBlock(DocumentBuilder& builder, const std::vector<TableDelaysEntry>& entries)
{
    builder.Int(static_cast<int32_t>(entries.size()));
    for (const TableDelaysEntry& entry : entries) {
        builder.Link(entry.path, entry.stamp).Int(static_cast<int32_t>(entry.delays.size()));
        for (float delay : entry.delays)
            builder.Float(delay);
    }
}

void GuidBlock(DocumentBuilder& builder, const std::vector<TableGuidEntry>& entries)
{
    builder.Int(static_cast<int32_t>(entries.size()));
    for (const TableGuidEntry& entry : entries) {
        GuidString(builder, entry.id);
        builder.String(entry.name).Bool(entry.flag).FileRecord(entry.content, entry.path);
    }
}

} // namespace

DocumentBuilder& ResourceTableRecord(DocumentBuilder& builder, const ResourceTableContent& content,
                                     int32_t version)
{
    builder.Header(L"DS_DocResManager", version);
    RecordsBlock(builder, content.images);
    DelaysBlock(builder, content.delays);
    if (version == 1)
        return builder;
    RecordsBlock(builder, content.otherFiles);
    if (version == 2)
        return builder;
    GuidBlock(builder, content.guids);
    return builder;
}
