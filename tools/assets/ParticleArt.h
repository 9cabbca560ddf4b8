// The pictures of the particle systems' demo slides, drawn in code: scenes
// that suit each system (a winter wood for snow, a rainy street, an autumn
// park for falling leaves, a coral reef for fish and bubbles, an evening sky
// for birds, a haunted hill for ghosts) and the sprites themselves, PNG with
// alpha, the animated ones as several frames. Every picture is the same,
// byte for byte, on every run.
#pragma once

#include "tools/assets/DemoArt.h"
#include "tools/encoders/ImageWriters.h"

#include <vector>

// The scenes, each under the file name the demo document stores it under.
const std::vector<DemoPicture>& ParticleScenes();

Image DrawWinterWood(int width, int height);
Image DrawRainyStreet(int width, int height);
Image DrawAutumnPark(int width, int height);
Image DrawCoralReef(int width, int height);
Image DrawEveningSky(int width, int height);
Image DrawHauntedHill(int width, int height);

// A sprite: one picture, or the frames of an animation with the seconds
// each frame shows.
struct SpriteArt {
    const wchar_t* fileName;
    std::vector<Image> frames;
    float delay = 0.0f;
};

enum class LeafColour { Crimson, Golden };
enum class FishKind { Clown, Tang };

// A soft snowflake, white, square.
SpriteArt SnowflakeSprite();
// A falling drop's streak, upright, narrow and tall.
SpriteArt RainStreakSprite();
// An air bubble: a bright rim with a highlight, clear inside.
SpriteArt BubbleSprite();
// A leaf tumbling as it falls: it turns and flips over, showing its paler
// back, through one full turn.
SpriteArt LeafSprite(LeafColour colour);
// A fish seen from the side, facing right, its tail swinging.
SpriteArt FishSprite(FishKind kind);
// A bird seen from the side, facing right, beating its wings.
SpriteArt BirdSprite();
// A sheet ghost whose hem ripples.
SpriteArt GhostSprite();

// The frames side by side, left to right, in one picture: the frame grid of
// a particle system. Frames of different sizes are not supported.
Image FrameStrip(const std::vector<Image>& frames);

// The sprites in the order the demo document embeds them.
std::vector<SpriteArt> ParticleSprites();
