// The document's string form: a 3-byte marker, a length in 1, 3 or 7 bytes,
// then that many UTF-16LE code units with no terminator.
#pragma once

#include "foundation/core/Types.h"

#include <cstddef>
#include <cstdint>

// Reads one string at bytes (never at or past end) into target and returns the
// bytes consumed. The target gets the units up to the first NUL; a length of
// 0 leaves it as it was. Throws MediaLoadError, with target unchanged, when the
// string does not fit before end.
std::size_t ParseArchiveString(const uint8_t* bytes, const uint8_t* end, ds_string& target);
