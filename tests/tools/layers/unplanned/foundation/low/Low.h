#pragma once

#include "foundation/low/detail/Detail.h"

struct Low : Detail {};
