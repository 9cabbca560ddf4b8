// Emitters of the records that every object constructor shares.
#pragma once

#include "tools/document/DocumentBuilder.h"

#include <cstdint>
#include <string>

// The constructor base record that ends every constructor's record: header
// "DS_ABObj_Constructor" with the given version (the program writes 1), then
// the name.
DocumentBuilder& ConstructorBaseRecord(DocumentBuilder& builder, const std::wstring& name, int32_t version = 1);
