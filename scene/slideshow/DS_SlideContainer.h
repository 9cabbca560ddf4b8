// One slide of the show: its timing, its background layer and the runtime
// objects drawn over the layer (brushes, particles, 3D objects and sprites),
// plus the sound objects that play while it is shown. The document holds the
// objects' constructors; BuildObjects turns them into runtime objects once,
// after loading.
#pragma once

#include "foundation/core/Types.h"
#include "foundation/core/CountedPtr.h"
#include "foundation/model/DS_ABObj.h"
#include "foundation/model/DS_ABObj_Constructor.h"
#include "foundation/model/DS_IOF_Item.h"
#include "foundation/params/MediaParam.h"
#include "scene/layerbase/DS_2D_Light.h"

#include <cstdint>
#include <list>
#include <memory>
#include <vector>

class DS_SlideContainer : public DS_IOF_Item {
public:
    using ConstructorList = std::list<std::unique_ptr<DS_ABObj_Constructor>>;
    using ObjectVector = std::vector<CountedPtr<DS_ABObj>>;

    // Fade-in 1 s, fade-out 1 s, display 10 s, no layer and no objects.
    DS_SlideContainer();
    DS_SlideContainer(const DS_SlideContainer&) = delete;
    DS_SlideContainer& operator=(const DS_SlideContainer&) = delete;
    ~DS_SlideContainer() override;

    // "DS_SlideContainer", version 2: the timing, the tag, the name, the
    // layer's record and both object groups.
    void Write(ArchiveHandle& archive) override;
    // The visual objects, then the layer, let go of their default-pool
    // objects before a device reset.
    virtual void OnDeviceInvalidated();
    // After a reset: the layer, then the visual objects, make them again.
    void OnDeviceRestored();

    // The record's fields after its header. A version 1 record has no second
    // object group. Values go straight into the parameters, telling no one.
    void ReadBody(ArchiveHandle& archive, int32_t version);
    // The name the slide registry's reader calls the body's read by.
    void Read(ArchiveHandle& archive, int32_t version) { ReadBody(archive, version); }

    // Once, after loading: the layer's device objects at size 1 × 1, then a
    // runtime object from each constructor in document order; the
    // constructors go, each object keeping its own copy.
    void BuildObjects();
    // The slide becomes current: the objects' constructors hear of the
    // device, then the layer and the visual objects restore their device
    // objects (and the layer its state).
    void Activate();
    // Starts (true) or stops (false) the sound objects.
    void SetSoundsActive(bool active);
    // The layer, then every visual object, then every sound object, all with
    // the same application time.
    void Update(float time);
    // The layer's picture and the visual objects over it, the first object
    // on top; opens the layer's capture when anything reads the scene.
    void RenderScene();
    // The layer's finishing pass.
    void FinishFrame();
    void SetSize(int width, int height);
    void SetPicturePosition(int mode);
    // The layer places its picture again in the shared scene view.
    void RestoreView();
    // A share of the layer.
    CountedPtr<DS_2D_Light> GetLight() const { return layer; }

    // Whole seconds.
    MediaParamT<unsigned int> fadeIn;
    MediaParamT<unsigned int> fadeOut;
    MediaParamT<unsigned int> display;
    // Kept and written with the slide; nothing else reads it.
    MediaParamT<int> tag;
    MediaParamTB<ds_string> name;
    CountedPtr<DS_2D_Light> layer{nullptr};
    ObjectVector visualObjects;
    ObjectVector soundObjects;
    // Filled by the reader, emptied by BuildObjects.
    ConstructorList visualConstructors;
    ConstructorList soundConstructors;

private:
    // Objects whose NeedsBackground is true, plus one when the layer's own
    // finishing pass reads the captured scene.
    int CountSceneReaders() const;
};

// An int32 count, then that many constructor records (any class of the
// constructor registry), appended in order.
void ReadConstructorList(ArchiveHandle& archive, DS_SlideContainer::ConstructorList& list);
