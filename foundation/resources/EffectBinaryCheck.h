// A look at a compiled effect (the fx_2_0 binary that D3DXCreateEffect
// loads) before it is handed to D3DX: neither D3DX nor the device checks the
// offsets and counts inside such a file, so a damaged one makes them read
// outside its bytes.
#pragma once

#include <cstddef>
#include <cstdint>

// True when bytes hold a compiled effect whose every offset, count and size
// stays inside its bytes: the header; each parameter's type definition
// (structure members and array elements included), its value and its
// annotations; the techniques with their annotations, passes and states; the
// sampler states inside values; the objects that values name; the string and
// resource records at the end; the shader bytecode of every shader resource
// up to its end token. Nothing else is judged: an effect whose structure is
// sound passes whatever its states or shaders do.
bool IsWellFormedCompiledEffect(const void* bytes, std::size_t size);
