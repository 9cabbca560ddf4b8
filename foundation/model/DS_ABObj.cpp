#include "foundation/model/DS_ABObj.h"

#include "foundation/model/DS_ABObj_Constructor.h"

DS_ABObj::DS_ABObj(DS_ABObj_Constructor* ownedClone) : clone(ownedClone) {}

DS_ABObj::~DS_ABObj() = default;

int DS_ABObj::NotifyConstructor()
{
    // An object may be built without a clone; then there is nobody to tell.
    return clone ? clone->OnObjectNotify(this) : 0;
}
