// Times the water grid's frame on the CPU (a developer's tool, not a test):
//   waterbench
// For grids of the demo's and other sizes, 2000 frames of the simulation and
// the writing of the vertices into the locked dynamic buffer, with a drop
// every 15 frames. Drawing is left out, so that the lock does not wait for a
// software rasteriser; the median is the figure to read on a busy machine.
#include "foundation/core/CurrentDevice.h"
#include "scene/layers/WaterGrid.h"
#include "tests/support/TestDevice.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double Now()
{
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return double(c.QuadPart) / double(f.QuadPart);
}

} // namespace

int main()
{
    TestDevice device(1024, 768);
    CurrentDevice = device.Device();
    struct Case {
        const char* name;
        float w, h, rf, cf;
    } cases[] = {
        {"demo pond 4:3", 40.0f, 30.0f, 1.0f, 1.0f},
        {"16:9 picture", 53.333f, 30.0f, 1.0f, 1.0f},
        {"largest grid", 40.0f, 30.0f, 1.0f, 3.0f},
    };
    const D3DXVECTOR3 eye(0, 120, 0);
    for (const Case& c : cases) {
        WaterGrid grid;
        grid.Resize(c.w, c.h, c.rf, c.cf);
        grid.dropStrength = 1.36f;
        grid.refractionDepth = 0.6f;
        for (int i = 0; i < 50; ++i) {
            grid.AddRandomDrop();
            grid.Step(eye);
        }
        const int frames = 2000;
        std::vector<double> times;
        double write = 0;
        for (int i = 0; i < frames; ++i) {
            if (i % 15 == 0)
                grid.AddRandomDrop();
            const double t0 = Now();
            grid.Step(eye);
            const double t1 = Now();
            grid.WriteVertices(eye);
            write += Now() - t1;
            times.push_back(t1 - t0);
        }
        std::sort(times.begin(), times.end());
        double sum = 0;
        for (double t : times)
            sum += t;
        std::printf("%-14s %3ux%-3u %5u cells: step (simulation + upload) mean %.3f ms, median %.3f, 99th %.3f; upload alone %.3f ms\n",
                    c.name, grid.columns, grid.rows, grid.cellCount, 1000 * sum / frames, 1000 * times[frames / 2],
                    1000 * times[frames * 99 / 100], 1000 * write / frames);
    }
    CurrentDevice = nullptr;
    return 0;
}
