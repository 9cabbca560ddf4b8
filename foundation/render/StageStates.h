// Texture-stage and sampler set-ups that several drawing operations share.
// Each sets exactly the states it names; the rest stay as they were.
#pragma once

#include <d3d9.h>

// Stage 0 outputs the vertex colour and alpha exactly: both operations
// SELECTARG1 with argument 1 DIFFUSE. Setting the operations too matters: a
// sprite array leaves MODULATE behind, which would multiply the vertex alpha
// by itself (or by a texture still bound) and fade a quad twice.
void SelectDiffuseOnStage0();

// Stage 0's colour and alpha argument 1 back to TEXTURE, the state the
// textured draws expect; the operations stay SELECTARG1, as in the layer's
// default state.
void RestoreTextureArgumentsOnStage0();

// A stage's colour operation and its arguments (the two-argument form
// leaves argument 2 as it is).
void SetColourOperation(IDirect3DDevice9* device, DWORD stage, D3DTEXTUREOP op, DWORD arg1);
void SetColourOperation(IDirect3DDevice9* device, DWORD stage, D3DTEXTUREOP op, DWORD arg1, DWORD arg2);

// A stage's alpha operation and its arguments, as above.
void SetAlphaOperation(IDirect3DDevice9* device, DWORD stage, D3DTEXTUREOP op, DWORD arg1);
void SetAlphaOperation(IDirect3DDevice9* device, DWORD stage, D3DTEXTUREOP op, DWORD arg1, DWORD arg2);

// A stage's colour and alpha operations, their arguments left as they are.
void SetStageOperations(IDirect3DDevice9* device, DWORD stage, D3DTEXTUREOP colourOp, D3DTEXTUREOP alphaOp);

// Stage 0 shows the bound texture's colour and alpha as they stand.
void SelectTextureOnStage0(IDirect3DDevice9* device);

// Stage 0 multiplies the texture's colour and alpha by the vertex colour's.
void ModulateTextureByDiffuseOnStage0(IDirect3DDevice9* device);

// A stage and every stage after it out of the cascade: colour and alpha
// operations DISABLE.
void DisableStage(IDirect3DDevice9* device, DWORD stage);

// A stage's colour is its texture's, its alpha the alpha of the stages
// before it.
void SelectTextureKeepAlphaOnStage(IDirect3DDevice9* device, DWORD stage);

// A stage displaces the next stage's texture coordinates by its (bump)
// texture, through the 2 × 2 matrix that SetBumpEnvMatrix sets.
void BumpEnvMapOnStage(IDirect3DDevice9* device, DWORD stage);
void SetBumpEnvMatrix(IDirect3DDevice9* device, DWORD stage, float m00, float m01, float m10, float m11);

// A stage reads the vertex's texture coordinate set `index`, untransformed.
void UntransformedTexCoords(IDirect3DDevice9* device, DWORD stage, DWORD index);

// The state every layer starts a frame from: stage 0 selects its texture
// (argument 2 the vertex colour) at coordinate set 0, stage 1 is off and
// reads coordinate set 1.
void SetLayerDefaultStages(IDirect3DDevice9* device);

// A sampler's addressing in both directions (CLAMP, WRAP, MIRROR ...).
void SetAddressing(IDirect3DDevice9* device, DWORD sampler, D3DTEXTUREADDRESS addressing);

// A sampler's minification and magnification filters LINEAR; the second
// form sets the mip filter too.
void SetLinearFilters(IDirect3DDevice9* device, DWORD sampler);
void SetLinearFilters(IDirect3DDevice9* device, DWORD sampler, D3DTEXTUREFILTERTYPE mipFilter);
