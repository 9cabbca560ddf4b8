#include "objects/particles/DS_ParticleSystemCtrl.h"

#include "objects/particles/DS_SpriteArrayObj.h"

#include <memory>
#include <new>

DS_ABObj* DS_ParticleSystemCtrl::CreateObject() { return CreateSpriteArrayObject(); }

DS_ABObj* DS_ParticleSystemCtrl::CreateSpriteArrayObject()
{
    ResolveLegacyImages();
    // Running out of memory here leaves the slide without this one object
    // rather than ending the show.
    try {
        std::unique_ptr<DS_ParticleSystemCtrl> clone(Clone());
        if (!clone)
            return nullptr;
        return new DS_SpriteArrayObj(clone.release());
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
