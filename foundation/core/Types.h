// Basic types shared by every part of the program.
#pragma once

#include <string>

// The program's wide string: UTF-16 code units, as Windows and the scene
// document store them.
using ds_string = std::wstring;
