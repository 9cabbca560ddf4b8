// Fixtures for the resource manager tests: a device published as
// CurrentDevice, managers read from resource-table records that the document
// builder writes, links into the test module, and small drawing helpers.
#pragma once

#include "foundation/resources/DS_DocResManager.h"
#include "tests/support/ArchiveBytes.h"
#include "tests/foundation/resources/LoaderTestSupport.h"
#include "tests/support/ScopedCurrentDevice.h"
#include "tools/document/ResourceTableRecord.h"
#include "tools/testmodule/TestModuleContent.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

// A disk record carrying a picture, as documents embed pictures.
TableResourceRecord EmbeddedPicture(const std::wstring& path, const Bytes& content);
// A record of the test module without bytes.
TableResourceRecord TestModuleRecord(int32_t id);

// The builder's bytes of a resource-table record.
Bytes ResourceTableBytes(const ResourceTableContent& content, int32_t version = 3);

// A link to a resource of the test module (present beside the tests).
DS_FileLink3 TestModuleLink(int32_t id);

// The manager under test is made on a device published as CurrentDevice and
// becomes CurrentResManager; everything is cleared afterwards.
class DocResManagerTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Reads a resource-table record with ReadDocResManager.
    DS_DocResManager& Read(const Bytes& record);
    // A manager with an empty table.
    DS_DocResManager& Fresh();
    ResourceTable& Table() { return manager->Table(); }

    TestDevice device;
    std::optional<ScopedCurrentDevice> current;
    std::unique_ptr<DS_DocResManager> manager;
};

// Draws a quad over the whole back buffer showing the texture unfiltered,
// stage 0 selecting the texture's colour.
void DrawTextureQuad(IDirect3DDevice9* device, IDirect3DTexture9* texture);

// Draws the mesh through the effect's current technique, seen along z in an
// orthographic view eight units wide around (x, y) = (1, 2), the test
// module mesh's centre.
void DrawMeshThroughEffect(IDirect3DDevice9* device, const LoadedMesh& mesh, ID3DXEffect* effect);

// The colour channels of an ARGB value, as read back.
Rgba Colour(uint32_t argb);
