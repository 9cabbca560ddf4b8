// The fixed-function state that the 3D objects and sprites draw their
// textured meshes with, set before each draw because any other object may
// have left the device otherwise.
#pragma once

// No depth test or lighting (the meshes are placed in picture pixels and
// carry their shading in their pictures); the texture's colour and alpha as
// they are, blended by alpha where the layer turns blending on.
void SetMeshDrawStates();

// Clears the depth buffer for one object's parts, so that they hide one
// another by depth while the slide's objects still cover one another in
// their drawing order. False, clearing nothing, when the device draws
// without a depth buffer or into a target larger than it: the parts then
// cover one another in the order they are drawn.
bool ClearDepthForObject();
// The depth test on for a part drawn after ClearDepthForObject; a part that
// is blended (writeDepth false) is tested but leaves the depth as it was, so
// that its clear texels hide nothing drawn after it.
void SetMeshDepthStates(bool writeDepth);
