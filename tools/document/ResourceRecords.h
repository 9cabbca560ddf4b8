// Emitters for the resource values that document records carry: GUID texts.
#pragma once

#include "tools/document/DocumentBuilder.h"

#include <windows.h>

#include <string>

// The registry form of a GUID, braces included, upper-case hexadecimal.
std::wstring GuidRegistryText(const GUID& id);

// A GUID as the document stores it: its registry form as a string.
DocumentBuilder& GuidString(DocumentBuilder& builder, const GUID& id);
