#include "tools/assets/SoundArt.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {

struct Expected {
    std::wstring fileName;
    double seconds;
    uint32_t samplesCrc;
};

// The sounds and a checksum of their samples: a change of any sample, on any
// machine or run, shows here (the same sums come from a native Linux build).
// After changing a sound on purpose, take the new checksum from the failure
// message.
const Expected Sounds[] = {
    {L"rain.wav", 8.0, 785825989u},
    {L"birds.wav", 4.2, 3272963522u},
    {L"clock.wav", 2.0, 1167410089u},
    {L"thunder.wav", 8.0, 847967708u},
    {L"Night Garden.wav", 62.5, 2649726070u},
    {L"Dawn Music Box.wav", 65.0, 3216151846u},
};

double Decibels(double fraction) { return 20.0 * std::log10(fraction); }

double Peak(const std::vector<int16_t>& s, std::size_t from, std::size_t to)
{
    int peak = 0;
    for (std::size_t i = from; i < to; ++i)
        peak = std::max(peak, std::abs(static_cast<int>(s[i])));
    return peak / 32768.0;
}

double Rms(const std::vector<int16_t>& s, std::size_t from, std::size_t to)
{
    double sum = 0.0;
    for (std::size_t i = from; i < to; ++i)
        sum += static_cast<double>(s[i]) * s[i];
    return std::sqrt(sum / static_cast<double>(to - from)) / 32768.0;
}

} // namespace

// Every sound is the same on every run, never clips, and joins cleanly: a
// loop's end runs into its start with no jump and, when it still sounds
// there, no change of level; a sound played once starts and ends in silence.
// The music sits quietly under the sounds of the slides.
TEST(SoundArt, SoundsAreStableUnclippedAndJoinCleanly)
{
    std::vector<DemoSound> all = DemoSounds();
    all.insert(all.end(), DemoMusic().begin(), DemoMusic().end());
    ASSERT_EQ(std::size(Sounds), all.size());
    for (std::size_t n = 0; n < all.size(); ++n) {
        const DemoSound& sound = all[n];
        SCOPED_TRACE(std::string(Sounds[n].fileName.begin(), Sounds[n].fileName.end()));
        EXPECT_EQ(Sounds[n].fileName, sound.fileName);
        const SoundClip clip = sound.make();
        const std::vector<int16_t>& s = clip.samples;
        ASSERT_EQ(SoundSampleRate, clip.sampleRate);
        ASSERT_EQ(static_cast<std::size_t>(Sounds[n].seconds * SoundSampleRate), s.size());
        EXPECT_EQ(Sounds[n].samplesCrc, Crc32(reinterpret_cast<const uint8_t*>(s.data()), s.size() * 2));

        const double peak = Decibels(Peak(s, 0, s.size()));
        EXPECT_LT(peak, -2.0);
        EXPECT_GT(peak, -12.0);

        const std::size_t edge = SoundSampleRate / 20;
        if (sound.loops) {
            int largestStep = 0;
            for (std::size_t i = 1; i < s.size(); ++i)
                largestStep = std::max(largestStep, std::abs(s[i] - s[i - 1]));
            EXPECT_LE(std::abs(s.front() - s.back()), largestStep);
            const double end = Decibels(Rms(s, s.size() - edge, s.size()));
            if (end > -60.0) {
                EXPECT_NEAR(Decibels(Rms(s, 0, edge)), end, 3.0);
            }
        } else {
            EXPECT_LE(std::abs(s.front()), 2);
            EXPECT_LE(std::abs(s.back()), 2);
            EXPECT_LT(Decibels(Peak(s, s.size() - edge / 5, s.size())), -60.0);
        }
        if (n >= DemoSounds().size()) {
            EXPECT_LT(Decibels(Rms(s, 0, s.size())), -20.0);
        }
    }
}
