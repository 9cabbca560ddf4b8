// Texture-stage set-ups that several drawing operations share.
#pragma once

// Stage 0 outputs the vertex colour and alpha exactly: both operations
// SELECTARG1 with argument 1 DIFFUSE. Setting the operations too matters: a
// sprite array leaves MODULATE behind, which would multiply the vertex alpha
// by itself (or by a texture still bound) and fade a quad twice.
void SelectDiffuseOnStage0();

// Stage 0's colour and alpha argument 1 back to TEXTURE, the state the
// textured draws expect; the operations stay SELECTARG1, as in the layer's
// default state.
void RestoreTextureArgumentsOnStage0();
