#include "foundation/archive/DS_IOF_Virtual.h"

#include "foundation/SaverError.h"

void ReadFloatVector(ArchiveHandle& handle, std::vector<float>& values)
{
    int32_t count = 0;
    handle->ReadInt(count);
    if (count <= 0)
        return;
    if (static_cast<std::size_t>(count) > handle->BytesLeft() / sizeof(float))
        throw MediaLoadError("float vector runs past the end of the document");
    const std::size_t first = values.size();
    values.resize(first + static_cast<std::size_t>(count));
    for (std::size_t i = first; i < values.size(); ++i)
        handle->ReadFloat(values[i]);
}
