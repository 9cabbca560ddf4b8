#include "tools/document/ModelRecords.h"

#include "tools/document/ObjectRecords.h"
#include "res/resource.h"

const wchar_t* const ModelModule = L"common_res.dll";

ButterflyContent::ButterflyContent() : bodyTexturePath(ModelModule), bodyMeshPath(ModelModule)
{
    object.size = 100;
    object.meshPath = ModelModule;
    object.meshStamp = IDR_MESH_BUTTERFLY_WING;
    object.view.flag = true;
}

ClockContent::ClockContent() : handsPath(ModelModule)
{
    object.size = 400;
    object.texturePath = ModelModule;
    object.textureStamp = 71;
    object.meshPath = ModelModule;
    object.meshStamp = IDR_MESH_CLOCK_PLATE;
}

DocumentBuilder& Object3DRecord(DocumentBuilder& builder, const Object3DContent& content)
{
    builder.Header(L"DS_3D_Obj_Ctrl", 1).UInt(content.count).UInt(content.size);
    builder.Link(content.texturePath, content.textureStamp).Link(content.meshPath, content.meshStamp);
    return ViewObjCtrlRecord(builder, content.view);
}

DocumentBuilder& ButterflyRecord(DocumentBuilder& builder, const ButterflyContent& content)
{
    builder.Header(L"DS_ButterflyConstructor", content.version);
    builder.Link(content.bodyTexturePath, content.bodyTextureStamp).Link(content.bodyMeshPath, content.bodyMeshStamp);
    builder.UInt(content.firstScaled).UInt(content.secondScaled);
    if (content.version >= 2)
        builder.Float(content.wingScale);
    return Object3DRecord(builder, content.object);
}

DocumentBuilder& ClockRecord(DocumentBuilder& builder, const ClockContent& content)
{
    builder.Header(L"DS_ClockConstructor", content.version);
    for (int32_t value : content.rectangle)
        builder.Long(value);
    builder.Link(content.handsPath, content.handsStamp);
    return Object3DRecord(builder, content.object);
}

DocumentBuilder& Sprites3DRecord(DocumentBuilder& builder, const Sprites3DContent& content)
{
    builder.Header(L"DS_3D_in_2D_array_Constructor", 1).String(content.leadingName).UInt(content.count);
    TableRecord(builder, content.mesh);
    TableRecord(builder, content.texture);
    builder.UInt(content.size).UInt(content.speed).UInt(content.driftAmount).UInt(content.driftChangeRate);
    builder.UInt(content.tumble).UInt(content.angle);
    return ConstructorBaseRecord(builder, content.name);
}

DocumentBuilder::Bytes ButterflyRecordBytes(const ButterflyContent& content) { return RecordAlone(ButterflyRecord, content); }
DocumentBuilder::Bytes ClockRecordBytes(const ClockContent& content) { return RecordAlone(ClockRecord, content); }
DocumentBuilder::Bytes Sprites3DRecordBytes(const Sprites3DContent& content)
{
    return RecordAlone(Sprites3DRecord, content);
}
