// Random draws that the particle code shares.
#pragma once

#include "foundation/core/Random.h"

// One draw spread evenly over a span of range centred on 0: from -range / 2
// to +range / 2.
inline float RandomCentred(float range) { return RandomUnit() * range - range * 0.5f; }
