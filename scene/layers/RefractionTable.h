// How a view ray bends into the water and how strongly the surface shows at
// each angle: for cos I = i / 256 of the angle between the ray to the eye and
// the surface normal, the factors k and m that turn the eye direction D and
// the normal N into the refracted direction T = m (k N + D) at the water's
// refraction index, and a colour whose alpha falls off as (255 - i)^3.
#pragma once

#include <d3d9.h>

class RefractionTable {
public:
    struct Entry {
        float k;
        float m;
        D3DCOLOR colour;
    };

    // Indices -256 to 255 are valid; every negative index gives entry 0.
    static constexpr int FirstIndex = -256;
    static constexpr int LastIndex = 255;

    // Fills the entries; the same contents every time.
    void Build();

    // The entry of index i, held within FirstIndex..LastIndex so that an
    // index made from a broken angle (NaN gives the lowest int) still reads
    // inside the table.
    const Entry& At(int i) const
    {
        if (i < FirstIndex)
            i = FirstIndex;
        if (i > LastIndex)
            i = LastIndex;
        return entries[i - FirstIndex];
    }

private:
    Entry entries[LastIndex - FirstIndex + 1] = {};
};

// The one table every water grid reads; filled by the first grid that
// prepares it.
extern RefractionTable GlobalRefractionTable;
