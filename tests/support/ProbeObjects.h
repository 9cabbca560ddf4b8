// A slide object of the tests' own: the constructor "TestProbe" and the
// runtime object it makes, which fills a rectangle of the target in its
// colour and notes every call it receives in ProbeLog, so that tests see the
// order in which a slide drives its objects. Like the objects that glow, it
// holds a render target in the default pool while its device is restored.
#pragma once

#include "foundation/core/ComHolder.h"
#include "foundation/model/DS_ABObj.h"
#include "foundation/model/DS_ABObj_Constructor.h"
#include "tools/document/DocumentBuilder.h"

#include <windows.h>
#include <d3d9.h>

#include <string>
#include <vector>

struct ProbeSettings {
    std::wstring name;
    D3DCOLOR colour = 0xFFFFFFFF;
    bool needsBackground = false;
    // In target pixels.
    RECT area{0, 0, 0, 0};
};

class ProbeConstructor : public DS_ABObj_Constructor {
public:
    ProbeConstructor() = default;
    ProbeConstructor(const ProbeConstructor&) = default;

    // After the header "TestProbe": colour, flag, rectangle, then the
    // constructor base record.
    void Read(ArchiveHandle& archive, int32_t version);
    void Write(ArchiveHandle& archive) override;
    DS_ABObj* CreateObject() override;
    void OnDeviceRestored() override;

    ProbeSettings settings;
};

class ProbeObject : public DS_ABObj {
public:
    explicit ProbeObject(ProbeConstructor* clone) : DS_ABObj(clone), settings(clone->settings) {}

    // Notes whether the layer offered the plain picture as the scene behind
    // it, then fills its rectangle.
    void Render(DS_2D_Light& layer) override;
    void DrawHighlight(DS_2D_Light&, int) override {}
    void Update(float time) override;
    void OnViewChanged() override {}
    void SetActive(bool active) override;
    bool NeedsBackground() override { return settings.needsBackground; }
    // Release and make the render target.
    void OnDeviceInvalidated() override;
    void OnDeviceRestored() override;

    ComHolder<IDirect3DTexture9> target;

private:
    ProbeSettings settings;
};

// Entries such as "render A picture", "render B capture", "update A 1.5",
// "active S 1", "restored A" (the constructor), "object restored A" and
// "object invalidated A".
std::vector<std::string>& ProbeLog();

// Registers "TestProbe" in the constructor registry (once).
void RegisterProbe();

// The record of a probe, ready for a slide's object list.
DocumentBuilder::Bytes ProbeRecord(const ProbeSettings& settings);
