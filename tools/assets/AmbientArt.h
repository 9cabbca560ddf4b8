// The pictures of the ambient and static-object demo slides, drawn in code:
// a sunlit forest for god rays, drifting motes and mist, stormy fields for
// lightning and rain, a meadow at dusk for grass, flowers and fireflies, and
// the sprites themselves, PNG with alpha. Every picture is the same, byte
// for byte, on every run.
#pragma once

#include "tools/assets/DemoArt.h"
#include "tools/encoders/ImageWriters.h"

#include <vector>

// The scenes, each under the file name the demo document stores it under
// (the workshop of ArcArt.h included).
const std::vector<DemoPicture>& AmbientScenes();

Image DrawSunlitForest(int width, int height);
Image DrawStormFields(int width, int height);
Image DrawDuskMeadow(int width, int height);

// A beam of light, upright, brightest in its middle and fading at both ends.
Image DrawGodRay();
// A glint: a bright round core with four thin rays.
Image DrawSparkle();
// A soft patch of mist, wider than high.
Image DrawFogPatch();
// A lightning bolt from the top edge down, with branches.
Image DrawLightningBolt();
// The glow of a flash inside the clouds.
Image DrawCloudFlash();
// A tuft of grass blades rising from the bottom centre.
Image DrawGrassTuft();

enum class FlowerKind { Poppy, Daisy, Cornflower };
// A flower on its stem, the stem's foot at the bottom centre.
Image DrawFlower(FlowerKind kind);

// Where the storm's lone tree stands and where the sun sets over the
// meadow, in fractions of the picture.
struct AmbientLayout {
    double meadowHorizon;
    double fieldsHorizon;
};
const AmbientLayout& Ambient();
