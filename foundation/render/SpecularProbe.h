// Whether the device adds the lit specular colour after the texture stages
// whatever they read, as fixed-function Direct3D 9 does (SPECULARENABLE).
// Wine's fixed-function pipeline leaves it out of a stage that reads the
// texture alone, and adds it only when the stage reads the diffuse colour.
#pragma once

// Asks CurrentDevice once (per device): draws a lit quad with a black
// diffuse colour and a white highlight into a 1 × 1 target through a stage
// that selects a black texture alone, and reads back whether the highlight
// arrived. True without a device or when the target cannot be made or read,
// so that the documented behaviour is assumed unless the device shows
// otherwise. Sets light 0, the material, the transforms, the FVF and stage
// 0's colour states; the caller sets its own afterwards.
bool DeviceAddsSpecularAfterStages();
