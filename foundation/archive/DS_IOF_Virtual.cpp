#include "foundation/archive/DS_IOF_Virtual.h"

void ReadFloatVector(ArchiveHandle& handle, std::vector<float>& values)
{
    int32_t count = 0;
    handle->ReadCount(count, sizeof(float));
    if (count <= 0)
        return;
    const std::size_t first = values.size();
    values.resize(first + static_cast<std::size_t>(count));
    for (std::size_t i = first; i < values.size(); ++i)
        handle->ReadFloat(values[i]);
}
