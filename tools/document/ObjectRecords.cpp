#include "tools/document/ObjectRecords.h"

DocumentBuilder& ConstructorBaseRecord(DocumentBuilder& builder, const std::wstring& name, int32_t version)
{
    return builder.Header(L"DS_ABObj_Constructor", version).String(name);
}
