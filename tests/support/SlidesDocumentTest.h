// A fixture for tests of a family's demo slides: a 320 × 180 device, the
// random generator at its known state, and a document of the slides loaded
// with every slide's objects made, as the show makes them.
#pragma once

#include "foundation/core/RandomForTesting.h"
#include "scene/slideshow/LoadSceneDocument.h"
#include "tests/support/RenderTestSupport.h"
#include "tools/document/DocumentBuilder.h"

#include <gtest/gtest.h>

#include <cstddef>

class SlidesDocumentTest : public DeviceTest<320, 180> {
protected:
    // The document's bytes; kept by the caller for the test's whole run.
    virtual const DocumentBuilder::Bytes& SlidesDocument() = 0;

    void SetUp() override
    {
        DeviceTest<320, 180>::SetUp();
        ResetRandForTesting();
        const DocumentBuilder::Bytes& bytes = SlidesDocument();
        document = LoadSceneDocument(bytes.data(), bytes.size());
        ASSERT_TRUE(document);
        for (const CountedPtr<DS_SlideContainer>& slide : document.root->slides)
            slide->BuildObjects();
    }

    DS_SlideContainer& Slide(std::size_t index) { return *document.root->slides.at(index); }

    SceneDocument document;
};
