// The base of the runtime objects of a slide: each owns a private clone of the
// constructor that made it, updates with the time and draws through the layer
// that holds it.
#pragma once

#include <memory>

class DS_2D_Light;
class DS_ABObj_Constructor;

class DS_ABObj {
public:
    DS_ABObj(const DS_ABObj&) = delete;
    DS_ABObj& operator=(const DS_ABObj&) = delete;
    // Destroys the clone, when there is one.
    virtual ~DS_ABObj();

    // Draws the object through the layer's drawing services.
    virtual void Render(DS_2D_Light& layer) = 0;
    // An editing aid that the player never calls.
    virtual void DrawHighlight(DS_2D_Light& layer, int style) = 0;
    // The per-frame step, with the application time in seconds.
    virtual void Update(float time) = 0;
    // The picture's size or placement changed.
    virtual void OnViewChanged() = 0;
    // The slide that holds the object was entered (true) or left (false).
    virtual void SetActive(bool) {}
    // True makes the layer capture what has been drawn so far before this
    // object renders.
    virtual bool NeedsBackground() { return false; }
    // Whether Render will draw anything on layer. The layer captures the
    // scene only for an object that needs the background and will draw:
    // taking the capture from one that draws nothing would lose the scene.
    virtual bool WillDraw(DS_2D_Light&) { return true; }
    virtual void Trigger(int) {}
    // An editing aid that the player never calls.
    virtual bool HitTest(float, float) { return false; }
    // Passes this object to its clone's OnObjectNotify; 0 without a clone.
    virtual int NotifyConstructor();
    // Before a device reset: an object that holds default-pool resources
    // (render targets) releases them here.
    virtual void OnDeviceInvalidated() {}
    // After a reset and whenever its slide becomes current: the object makes
    // its default-pool resources, in place of any it still holds.
    virtual void OnDeviceRestored() {}

    DS_ABObj_Constructor* Constructor() const { return clone.get(); }

protected:
    // Takes ownership of the clone that CreateObject made for this object.
    explicit DS_ABObj(DS_ABObj_Constructor* ownedClone);

private:
    std::unique_ptr<DS_ABObj_Constructor> clone;
};
