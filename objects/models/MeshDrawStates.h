// The fixed-function state that the 3D objects and sprites draw their
// textured meshes with, set before each draw because any other object may
// have left the device otherwise.
#pragma once

// No depth test or lighting (the meshes are placed in picture pixels and
// carry their shading in their pictures); the texture's colour and alpha as
// they are, blended by alpha where the layer turns blending on.
void SetMeshDrawStates();
