// The record of a document's resource table ("DS_DocResManager"), written
// from its byte layout: the image records, frame delays, other files and
// GUID entries blocks, as many as the version holds.
#pragma once

#include "tools/document/DocumentBuilder.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// One embedded file that may name a module resource.
struct TableResourceRecord {
    int32_t id = 0;
    std::wstring module;
    DocumentBuilder::Bytes content;
    std::wstring path;
};

// One embedded file's record as it stands inside another object's record.
DocumentBuilder& TableRecord(DocumentBuilder& builder, const TableResourceRecord& record);

// A (path, stamp) key with its records.
struct TableRecordsEntry {
    std::wstring path;
    int64_t stamp = 0;
    std::vector<TableResourceRecord> records;
};

// A (path, stamp) key with its frame delays in seconds.
struct TableDelaysEntry {
    std::wstring path;
    int64_t stamp = 0;
    std::vector<float> delays;
};

// A GUID-named texture's stored file.
struct TableGuidEntry {
    GUID id{};
    std::wstring name;
    bool flag = true;
    DocumentBuilder::Bytes content;
    std::wstring path;
};

// Entries are written in the order given, duplicates included, so that tests
// can spell out any table a document might hold.
struct ResourceTableContent {
    std::vector<TableRecordsEntry> images;
    std::vector<TableDelaysEntry> delays;
    std::vector<TableRecordsEntry> otherFiles;
    std::vector<TableGuidEntry> guids;
};

// Header "DS_DocResManager" with the version, then the image records and
// frame delays blocks; the other files block unless the version is 1; the
// GUID entries block unless it is 1 or 2.
DocumentBuilder& ResourceTableRecord(DocumentBuilder& builder, const ResourceTableContent& content,
                                     int32_t version = 3);
