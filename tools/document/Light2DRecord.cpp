#include "tools/document/Light2DRecord.h"

#include "tools/document/CameraRecord.h"

DocumentBuilder& Light2DRecord(DocumentBuilder& builder, const LightContent& content)
{
    builder.Header(L"DS_2D_Light", content.version);
    if (content.version >= 2)
        builder.Link(content.picturePath, content.pictureStamp);
    if (content.version >= 3)
        CameraRecord(builder, content.cameraEnabled, content.cameraZoom, content.cameraSpeed);
    return builder;
}

DocumentBuilder::Bytes Light2DRecordBytes(const LightContent& content)
{
    return RecordAlone(Light2DRecord, content);
}
