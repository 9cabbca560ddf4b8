// The first texture of a picture link in the document being shown.
#pragma once

#include "foundation/resources/DS_FileLink3.h"
#include "foundation/resources/SizedTexture.h"

// The first slot's texture of the link's set in CurrentResManager (one more
// reference), with the set's size; the empty SizedTexture when there is no
// CurrentResManager or the set has no slot. A slot without texture gives no
// texture, with the set's size.
SizedTexture GetFirstLinkTexture(const DS_FileLink3& link);
