// Reading the scene document: the program's own resource "DDS" 107, or any
// other bytes in the same form. A document is a version string (read and
// ignored), the root record and the resource table.
#pragma once

#include "foundation/resources/DS_DocResManager.h"
#include "scene/slideshow/DS_SlideShow_Light.h"

#include <cstddef>
#include <cstdint>
#include <memory>

// The two halves of one loaded document. The manager outlives the root: the
// root goes first.
struct SceneDocument {
    std::unique_ptr<DS_DocResManager> resources;
    std::unique_ptr<DS_SlideShow_Light> root;

    explicit operator bool() const { return root != nullptr; }
};

// The program's embedded document.
SceneDocument LoadSceneDocument();
// A document in memory; every call reads it anew into a new root and a new
// manager, which becomes CurrentResManager (its cache CurrentResourceCache).
//
// A document that cannot be read (no bytes, bytes that end early or hold an
// impossible count, a class the registries do not know) gives an empty
// result: the failure MediaNotFound. Everything read so far is destroyed, and
// CurrentResManager and CurrentResourceCache are as they were before.
SceneDocument LoadSceneDocument(const uint8_t* bytes, std::size_t size);
