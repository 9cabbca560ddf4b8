// The base of every object of a slide as the document describes it: it holds
// the settings and makes the runtime object that draws and updates them.
#pragma once

#include "foundation/core/Types.h"
#include "foundation/model/DS_IOF_Item.h"

#include <cstdint>

class DS_ABObj;

class DS_ABObj_Constructor : public DS_IOF_Item {
public:
    ~DS_ABObj_Constructor() override = default;

    // Writes the constructor base record; every derived class writes its own
    // fields first and ends with this.
    void Write(ArchiveHandle& archive) override;

    // Makes the runtime object, which owns a clone of this constructor. The
    // caller owns the object.
    virtual DS_ABObj* CreateObject() = 0;

    // Gives the object a new identity where that means something (brushes).
    virtual void RenewIdentity() {}

    // Told after the device came back, before the layer restores its own
    // device objects.
    virtual void OnDeviceRestored() {}

    // Hooks of the editing side: no class of the program gives them a
    // meaning, and the player never calls them.
    virtual void Reserved5(int) {}
    virtual void Reserved6(int) {}
    virtual void Reserved7(int) {}
    virtual bool Reserved8(int) { return false; }

    // Called by DS_ABObj::NotifyConstructor with the runtime object.
    virtual int OnObjectNotify(DS_ABObj*) { return 0; }

    // 1 after construction and kept by copies; not stored in the record.
    uint8_t flag = 1;
    ds_string name;

protected:
    DS_ABObj_Constructor() = default;
    DS_ABObj_Constructor(const DS_ABObj_Constructor&) = default;
    DS_ABObj_Constructor& operator=(const DS_ABObj_Constructor&) = default;
};

// Reads the constructor base record that ends every constructor's record:
// the header (its name is not compared and its version changes nothing),
// then the name.
void ReadConstructorBase(ArchiveHandle& archive, DS_ABObj_Constructor& constructor);
