// Writes the scene document of the end-to-end tests' short show
// (shortshow/scene.dds beside this file, which a test variant of the program
// embeds): two slides of one flat colour each, with a display time short
// enough for a test to watch the first slide fade to black and the second
// fade in.
//   e2e_shortshow <file>
// After changing it, run it under Wine on shortshow/scene.dds and commit the
// file; the slide-show script checks that the two agree.
#include "tests/support/SlideshowDocuments.h"

#include <cstdio>
#include <fstream>

namespace {

// Colours and seconds that tests/host/e2e/slides.sh expects.
const DWORD FirstColour = 0xE0A040;
const DWORD SecondColour = 0x40A0E0;

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: e2e_shortshow <file>\n");
        return 2;
    }
    // The first slide is shown at once for 3 s, then fades out over 3 s; the
    // second fades in over 3 s and stays.
    const DocumentBuilder::Bytes document = FlatSlideshow({{FirstColour, 1, 3, 3}, {SecondColour, 3, 600, 1}});
    std::ofstream out(argv[1], std::ios::binary);
    out.write(reinterpret_cast<const char*>(document.data()), static_cast<std::streamsize>(document.size()));
    out.close();
    if (out.fail()) {
        std::fprintf(stderr, "e2e_shortshow: could not write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
