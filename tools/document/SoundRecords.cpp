#include "tools/document/SoundRecords.h"

#include "tools/document/ObjectRecords.h"

DocumentBuilder& WavConstructorRecord(DocumentBuilder& builder, const WavSoundContent& content)
{
    builder.Header(L"DS_WAV_Constructor", 1).Link(content.wavePath, content.waveStamp);
    builder.Header(L"DS_Sound_Ctrl", 2)
        .UInt(content.volume)
        .UInt(content.balance)
        .Long(content.mode)
        .UInt(content.minimumInterval)
        .UInt(content.maximumInterval);
    return ConstructorBaseRecord(builder, content.name);
}

DocumentBuilder::Bytes WavConstructorRecordBytes(const WavSoundContent& content)
{
    return RecordAlone(WavConstructorRecord, content);
}
