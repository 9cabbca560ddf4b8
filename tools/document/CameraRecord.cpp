#include "tools/document/CameraRecord.h"

DocumentBuilder& CameraRecord(DocumentBuilder& builder, int32_t enabled, uint32_t zoom, uint32_t speed)
{
    return builder.Header(L"DSM_Camera", 1).Long(enabled).UInt(zoom).UInt(speed);
}
