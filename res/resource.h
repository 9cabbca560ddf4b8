// Resource numbers of the program.
#pragma once

#define IDI_NIGHTGLASS 101

#define IDR_NOISE 2
#define IDR_SPLASH 5
#define IDR_SCENE 107

#define IDS_DISPLAY_NAME 1000

// Compiled effects (RT_RCDATA), under the numbers by which documents' module
// links name them; the build compiles them from res/effects.
#define IDR_EFFECT_HEATHAZE 63
#define IDR_EFFECT_FIRE 92
