#include "scene/layers/RefractionTable.h"

#include <cmath>

namespace {

const float WaterRefractionIndex = 1.333f;
const float AngleSteps = 256.0f;

} // namespace

RefractionTable GlobalRefractionTable;

void RefractionTable::Build()
{
    Entry* const zero = &entries[-FirstIndex];
    for (int i = 0; i <= LastIndex; ++i) {
        // Each step is rounded to float, as the surface's arithmetic is.
        const float cosI = static_cast<float>(i) / AngleSteps;
        const float sinI = std::sin(std::acos(cosI));
        const float sinT = sinI / WaterRefractionIndex;
        const float cosT = std::cos(std::asin(sinT));
        Entry& entry = zero[i];
        entry.k = sinI / sinT * cosT - cosI;
        entry.m = -sinT / sinI;
        const unsigned int falloff = static_cast<unsigned int>(255 - i);
        entry.colour = ((falloff * falloff * falloff) & 0xFFFF0000u) << 8;
    }
    // A ray that meets the surface from behind (cos I below 0) looks like a
    // grazing one.
    for (int i = FirstIndex; i < 0; ++i)
        zero[i] = zero[0];
}
