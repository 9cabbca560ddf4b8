// Emits scene-document bytes by its own code, straight from the byte layout,
// so that tests can build fixture documents in a few lines and the demo
// document can be generated. It never calls the program's readers, which
// makes it an independent check on them.
//
// Record emitters for each document class live beside this file as free
// functions taking a DocumentBuilder& (one file per family).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class DocumentBuilder {
public:
    using Bytes = std::vector<uint8_t>;

    DocumentBuilder& Int(int32_t v);      // versions, counts
    DocumentBuilder& UInt(uint32_t v);    // unsigned parameters
    DocumentBuilder& Long(int32_t v);     // signed parameters, rectangles
    DocumentBuilder& Int64(int64_t v);    // link stamps
    DocumentBuilder& Float(float v);
    DocumentBuilder& Byte(uint8_t v);
    DocumentBuilder& Bool(bool v);
    DocumentBuilder& Point(int32_t x, int32_t y);
    // The string form: marker, 1-, 3- or 7-byte length, UTF-16LE units.
    DocumentBuilder& String(const std::wstring& text);
    // A class name and version opening a record.
    DocumentBuilder& Header(const std::wstring& className, int32_t version);
    // An embedded file: size, bytes, path.
    DocumentBuilder& FileRecord(const Bytes& content, const std::wstring& path);
    // An embedded file that may name a module resource: id, module, size,
    // bytes, path.
    DocumentBuilder& ResourceRecord(int32_t id, const std::wstring& module, const Bytes& content,
                                    const std::wstring& path);
    // A file link: path, then the 64-bit stamp.
    DocumentBuilder& Link(const std::wstring& path, int64_t stamp);
    // Anything already encoded.
    DocumentBuilder& Raw(const Bytes& bytes);

    const Bytes& Data() const { return bytes; }
    Bytes Take() { return std::move(bytes); }
    std::size_t Size() const { return bytes.size(); }

private:
    void PutLE(uint64_t v, int count);

    Bytes bytes;
};

// The bytes of one record written alone by its emitter, as a record test or a
// slide's object list wants them.
template <class Content>
DocumentBuilder::Bytes RecordAlone(DocumentBuilder& (*emit)(DocumentBuilder&, const Content&), const Content& content)
{
    DocumentBuilder builder;
    emit(builder, content);
    return builder.Take();
}
