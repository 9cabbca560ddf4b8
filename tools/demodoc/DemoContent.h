// What the demo document's slide families add their slides and resources to,
// with the ways a document from the authoring tool embeds what it uses:
// pictures under their own file paths, copies of "common_res.dll" pictures
// and effects under their module numbers, and brush masks under GUIDs.
#pragma once

#include "tools/document/Light2DRecord.h"
#include "tools/document/ResourceTableRecord.h"
#include "tools/document/SlideshowRecords.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// The module that documents' numbered links name.
extern const wchar_t* const CommonModule;

class DemoContent {
public:
    // effectsFolder holds the program's compiled effects, <name>.fxo.
    explicit DemoContent(std::string effectsFolder);

    // The slides, in showing order, and the music.
    SlideShowContent show;
    ResourceTableContent table;

    // A picture file kept under C:\Nightglass\Pictures\<fileName>, stamped
    // with the demo's file time (once, whoever asks); returns the path its
    // links name.
    std::wstring AddPicture(const wchar_t* fileName, DocumentBuilder::Bytes file);
    // A copy of "common_res.dll" picture `number` (once, whoever asks).
    void AddModulePicture(int32_t number, const DocumentBuilder::Bytes& file);
    // A copy of the program's compiled effect <fileName>.fxo under
    // "common_res.dll" number `number` (once). Throws std::runtime_error when
    // the file cannot be read.
    void AddModuleEffect(int32_t number, const std::string& fileName);
    // A copy of "common_res.dll" file `number` that is not a picture (a
    // mesh, say) among the document's other files (once).
    void AddModuleFile(int32_t number, DocumentBuilder::Bytes file);
    // A brush mask (512 × 512 alpha bytes) under a GUID made from `serial`;
    // returns the GUID.
    GUID AddMask(uint32_t serial, const std::vector<uint8_t>& alpha);
    // A copy of "common_res.dll" image list `number`: its frames, each
    // embedded under C:\Nightglass\Pictures\<name> as the list names it, and
    // their delays in seconds (once).
    void AddModuleImageList(int32_t number, const std::vector<float>& delays,
                            const std::vector<std::pair<std::wstring, DocumentBuilder::Bytes>>& frames);

    // The document: its version string, the slideshow and the resource table.
    DocumentBuilder::Bytes Document() const;

private:
    bool HasModuleEntry(const std::vector<TableRecordsEntry>& entries, int32_t number) const;

    std::string effectsFolder;
};

// A plain picture layer over the picture at path (the key AddPicture or
// DemoPicturePath gives), the camera as given.
LightContent PictureLayer(const std::wstring& path, bool camera = false, uint32_t zoom = 120, uint32_t speed = 50);
// A slide of the layer's record: a fade in of 2 s, `display` seconds shown,
// then a fade out of 2 s.
SlideContent LayerSlide(const wchar_t* name, uint32_t display, DocumentBuilder::Bytes layer);

// The demo's own GUIDs: fixed, so the document is the same on every run.
GUID DemoGuid(uint32_t serial);
