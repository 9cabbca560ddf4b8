#include "foundation/geometry/VertexFormats.h"

#include <d3dx9mesh.h>
#include <gtest/gtest.h>

#include <cstddef>

namespace {

const int Absent = -1;

// Where the FVF code puts each element, as D3DX reads the code, next to
// where the structure has the field.
struct FormatCase {
    const char* name;
    DWORD fvf;
    std::size_t size;
    int position, normal, colour, tex0, tex1;
};

#define FIELD(V, f) static_cast<int>(offsetof(DX_V::V, f))

const FormatCase Formats[] = {
    {"PCT", DX_V::PCT::FVF, sizeof(DX_V::PCT), FIELD(PCT, x), Absent, FIELD(PCT, color), FIELD(PCT, u), Absent},
    {"SPCT", DX_V::SPCT::FVF, sizeof(DX_V::SPCT), FIELD(SPCT, x), Absent, FIELD(SPCT, color), FIELD(SPCT, u),
     Absent},
    {"SPC", DX_V::SPC::FVF, sizeof(DX_V::SPC), FIELD(SPC, x), Absent, FIELD(SPC, color), Absent, Absent},
    {"PC", DX_V::PC::FVF, sizeof(DX_V::PC), FIELD(PC, x), Absent, FIELD(PC, color), Absent, Absent},
    {"PT", DX_V::PT::FVF, sizeof(DX_V::PT), FIELD(PT, x), Absent, Absent, FIELD(PT, u), Absent},
    {"PNT", DX_V::PNT::FVF, sizeof(DX_V::PNT), FIELD(PNT, x), FIELD(PNT, nx), Absent, FIELD(PNT, u), Absent},
    {"PNCT", DX_V::PNCT::FVF, sizeof(DX_V::PNCT), FIELD(PNCT, x), FIELD(PNCT, nx), FIELD(PNCT, color),
     FIELD(PNCT, u), Absent},
    {"P", DX_V::P::FVF, sizeof(DX_V::P), FIELD(P, x), Absent, Absent, Absent, Absent},
    {"PT2", DX_V::PT2::FVF, sizeof(DX_V::PT2), FIELD(PT2, x), Absent, Absent, FIELD(PT2, u), FIELD(PT2, u2)},
};

#undef FIELD

int OffsetOf(const D3DVERTEXELEMENT9* elements, BYTE usage, BYTE index)
{
    for (const D3DVERTEXELEMENT9* e = elements; e->Stream != 0xFF; ++e)
        if (e->Usage == usage && e->UsageIndex == index)
            return e->Offset;
    return Absent;
}

} // namespace

TEST(VertexFormats, FvfCodesDescribeTheStructures)
{
    for (const FormatCase& f : Formats) {
        SCOPED_TRACE(f.name);
        EXPECT_EQ(f.size, D3DXGetFVFVertexSize(f.fvf));

        D3DVERTEXELEMENT9 elements[MAX_FVF_DECL_SIZE];
        ASSERT_EQ(D3D_OK, D3DXDeclaratorFromFVF(f.fvf, elements));
        const bool pretransformed = (f.fvf & D3DFVF_POSITION_MASK) == D3DFVF_XYZRHW;
        EXPECT_EQ(f.position, OffsetOf(elements, pretransformed ? D3DDECLUSAGE_POSITIONT : D3DDECLUSAGE_POSITION, 0));
        EXPECT_EQ(f.normal, OffsetOf(elements, D3DDECLUSAGE_NORMAL, 0));
        EXPECT_EQ(f.colour, OffsetOf(elements, D3DDECLUSAGE_COLOR, 0));
        EXPECT_EQ(f.tex0, OffsetOf(elements, D3DDECLUSAGE_TEXCOORD, 0));
        EXPECT_EQ(f.tex1, OffsetOf(elements, D3DDECLUSAGE_TEXCOORD, 1));
    }
}
