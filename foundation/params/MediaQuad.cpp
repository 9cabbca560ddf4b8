#include "foundation/params/MediaQuad.h"

#include "foundation/archive/DS_IOF_Virtual.h"

void MediaQuad::Read(ArchiveHandle& handle)
{
    for (MediaParamTB<D3DXVECTOR3>& corner : corners) {
        handle->ReadFloat(corner.value.x);
        handle->ReadFloat(corner.value.y);
        handle->ReadFloat(corner.value.z);
    }
}

void MediaQuad::Write(ArchiveHandle& handle)
{
    for (MediaParamTB<D3DXVECTOR3>& corner : corners) {
        handle->WriteFloat(corner.value.x);
        handle->WriteFloat(corner.value.y);
        handle->WriteFloat(corner.value.z);
    }
}
