// Fixtures for the particle tests: a picture size published as the current
// one, records read through the constructor registry, known random draws,
// and a particle geometry driven by a controller without a runtime object.
#pragma once

#include "foundation/core/RandomForTesting.h"
#include "foundation/model/DS_ABObj_Constructor.h"
#include "foundation/render/PictureMapping.h"
#include "objects/particles/ParticleGeomArray.h"
#include "tools/document/DocumentBuilder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

// Publishes a picture of width × height for one scope.
class PictureSize {
public:
    PictureSize(int width, int height);
    ~PictureSize();
    PictureSize(const PictureSize&) = delete;
    PictureSize& operator=(const PictureSize&) = delete;

private:
    PictureMapping saved;
};

// The draws the generator gives from state, without disturbing it: it is put
// back into state afterwards, so the code under test draws the same values.
std::vector<int> DrawsFrom(uint32_t state, int count);
// A draw as the fraction the particle code makes of it.
inline float Unit(int draw) { return static_cast<float>(draw) / 32767.0f; }
// a + draw / 32767 × (b - a), as RandomRange forms it.
float Between(float a, float b, int draw);

// The first generator state from `from` on whose first draw has the parity.
uint32_t StateWithParity(uint32_t from, bool odd);

// A constructor's clone as its own class, owned by the caller.
template <class T>
std::unique_ptr<T> CloneOf(const T& constructor)
{
    return std::unique_ptr<T>(static_cast<T*>(constructor.Clone()));
}

// Reads a complete constructor record through the registry; the bytes must
// be consumed exactly. None (with a failure) when the class is not T.
template <class T>
std::unique_ptr<T> ReadRecord(const DocumentBuilder::Bytes& bytes);

// The untyped reading behind ReadRecord; consumed is set to the bytes read.
std::unique_ptr<DS_ABObj_Constructor> ReadAnyRecord(const DocumentBuilder::Bytes& bytes, std::size_t& consumed);

template <class T>
std::unique_ptr<T> ReadRecord(const DocumentBuilder::Bytes& bytes)
{
    std::size_t consumed = 0;
    std::unique_ptr<DS_ABObj_Constructor> read = ReadAnyRecord(bytes, consumed);
    EXPECT_EQ(bytes.size(), consumed);
    T* typed = dynamic_cast<T*>(read.get());
    EXPECT_NE(nullptr, typed);
    if (!typed)
        return nullptr;
    read.release();
    return std::unique_ptr<T>(typed);
}

// A controller's particles in a geometry of their own, made and stepped as
// the runtime object does, without a device (no buffers are made).
class ParticleRun {
public:
    // Takes the controller; count particles are made at once.
    ParticleRun(DS_ParticleSystemCtrl* owned);
    ~ParticleRun();
    ParticleRun(const ParticleRun&) = delete;
    ParticleRun& operator=(const ParticleRun&) = delete;

    void Update(float time) { geometry.UpdateParticles(time); }
    ParticleItem& Item(std::size_t index);
    std::size_t Size() const { return geometry.items.size(); }

    std::unique_ptr<DS_ParticleSystemCtrl> controller;
    ParticleGeomArray geometry;
};
