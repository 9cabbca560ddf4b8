#include "tests/support/ParticleTestSupport.h"

#include "foundation/core/Random.h"
#include "foundation/archive/ReaderRegistry.h"
#include "objects/particles/DS_ParticleSystemCtrl.h"
#include "tests/support/ArchiveBytes.h"

#include <iterator>

PictureSize::PictureSize(int width, int height) : saved(CurrentPictureMapping)
{
    CurrentPictureMapping.pictureWidth = width;
    CurrentPictureMapping.pictureHeight = height;
}

PictureSize::~PictureSize() { CurrentPictureMapping = saved; }

std::vector<int> DrawsFrom(uint32_t state, int count)
{
    ResetRandForTesting(state);
    std::vector<int> draws;
    for (int i = 0; i < count; ++i)
        draws.push_back(Rand());
    ResetRandForTesting(state);
    return draws;
}

float Between(float a, float b, int draw)
{
    return a + static_cast<float>(static_cast<double>(draw) / 32767.0 * (b - a));
}

uint32_t StateWithParity(uint32_t from, bool odd)
{
    for (uint32_t state = from;; ++state)
        if (((DrawsFrom(state, 1)[0] & 1) != 0) == odd)
            return state;
}

std::unique_ptr<DS_ABObj_Constructor> ReadAnyRecord(const DocumentBuilder::Bytes& bytes, std::size_t& consumed)
{
    ByteArchive archive(bytes);
    std::unique_ptr<DS_ABObj_Constructor> read(ReadConstructor(archive.handle));
    consumed = archive.Consumed();
    return read;
}

ParticleRun::ParticleRun(DS_ParticleSystemCtrl* owned) : controller(owned)
{
    geometry.controller = controller.get();
    geometry.BindControllerCount();
}

ParticleRun::~ParticleRun() = default;

ParticleItem& ParticleRun::Item(std::size_t index) { return **std::next(geometry.items.begin(), index); }
