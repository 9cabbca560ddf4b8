#include "foundation/core/RandomForTesting.h"
#include "foundation/core/CurrentDevice.h"
#include "objects/sound/DS_Sound.h"
#include "objects/sound/DS_WAV_Constructor.h"
#include "objects/sound/SoundDevice.h"
#include "scene/slideshow/LoadSceneDocument.h"
#include "tests/objects/sound/FakeSound.h"
#include "tests/support/ScopedCurrentDevice.h"
#include "tests/support/SlideshowDocuments.h"
#include "tests/support/TestDevice.h"
#include "tools/assets/SoundArt.h"
#include "tools/document/SoundRecords.h"
#include "tools/document/WritingArchive.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

using Bytes = DocumentBuilder::Bytes;

const int64_t WaveStamp = 1;

// Half a second of a soft saw wave.
SoundClip Tone(uint32_t sampleRate = SoundSampleRate)
{
    SoundClip clip;
    clip.sampleRate = sampleRate;
    for (uint32_t i = 0; i < sampleRate / 2; ++i)
        clip.samples.push_back(static_cast<int16_t>((i % 100) * 80 - 4000));
    return clip;
}

std::wstring WavePath(const wchar_t* name) { return std::wstring(L"C:\\Sounds\\") + name + L".wav"; }

TableRecordsEntry WaveEntry(const std::wstring& path, const Bytes& content)
{
    TableResourceRecord record;
    record.content = content;
    record.path = path;
    return TableRecordsEntry{path, WaveStamp, {record}};
}

Bytes SoundRecord(const wchar_t* name, WavSoundContent content = {})
{
    content.wavePath = WavePath(name);
    content.waveStamp = WaveStamp;
    content.name = name;
    return WavConstructorRecordBytes(content);
}

DWORD Status(const DS_WAV_Constructor& sound)
{
    DWORD status = 0;
    EXPECT_EQ(DS_OK, sound.buffer->GetStatus(&status));
    return status;
}

bool Playing(const DS_WAV_Constructor& sound) { return Status(sound) & DSBSTATUS_PLAYING; }
bool Looping(const DS_WAV_Constructor& sound) { return Status(sound) & DSBSTATUS_LOOPING; }

DS_WAV_Constructor& SoundOf(const CountedPtr<DS_ABObj>& object)
{
    return *dynamic_cast<DS_WAV_Constructor*>(object->Constructor());
}

void Put16(Bytes& b, uint32_t v)
{
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(Bytes& b, uint32_t v)
{
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

// 16-bit stereo samples in a WAV file of the extensible format, the way many
// editors write it.
Bytes ExtensibleStereoWav(const std::vector<int16_t>& samples, uint32_t rate)
{
    const Bytes pcm{1, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
    Bytes format;
    Put16(format, 0xFFFE);
    Put16(format, 2);
    Put32(format, rate);
    Put32(format, rate * 4);
    Put16(format, 4);
    Put16(format, 16);
    Put16(format, 22);
    Put16(format, 16);
    Put32(format, 3);
    format.insert(format.end(), pcm.begin(), pcm.end());
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    Bytes file{'R', 'I', 'F', 'F'};
    Put32(file, 4 + 8 + static_cast<uint32_t>(format.size()) + 8 + dataBytes);
    file.insert(file.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    Put32(file, static_cast<uint32_t>(format.size()));
    file.insert(file.end(), format.begin(), format.end());
    file.insert(file.end(), {'d', 'a', 't', 'a'});
    Put32(file, dataBytes);
    for (int16_t sample : samples)
        Put16(file, static_cast<uint16_t>(sample));
    return file;
}

// Whether the buffer holds exactly these bytes.
::testing::AssertionResult Holds(IDirectSoundBuffer8& buffer, const void* expected, std::size_t size)
{
    void* part = nullptr;
    DWORD partBytes = 0;
    if (FAILED(buffer.Lock(0, 0, &part, &partBytes, nullptr, nullptr, DSBLOCK_ENTIREBUFFER)))
        return ::testing::AssertionFailure() << "the buffer cannot be locked";
    const bool same = partBytes == size && std::memcmp(part, expected, size) == 0;
    buffer.Unlock(part, partBytes, nullptr, 0);
    if (!same)
        return ::testing::AssertionFailure() << "the buffer holds other bytes (" << partBytes << " of " << size << ")";
    return ::testing::AssertionSuccess();
}

} // namespace

class SoundTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(device.Ok());
        current.emplace(device.Device());
        ReleasePrimarySoundBuffer();
        ReleaseDirectSound();
        ASSERT_TRUE(InitDirectSound(device.Window()));
    }
    void TearDown() override
    {
        document = SceneDocument{};
        current.reset();
    }

    // Loads the document and builds every slide's objects, as the player
    // does after a load.
    DS_SlideShow_Light& Load(const std::vector<FlatSlide>& slides, const std::vector<TableRecordsEntry>& files)
    {
        const Bytes bytes = FlatSlideshow(slides, {}, files);
        document = LoadSceneDocument(bytes.data(), bytes.size());
        EXPECT_TRUE(document);
        for (const CountedPtr<DS_SlideContainer>& slide : document.root->slides)
            slide->BuildObjects();
        return *document.root;
    }

    // One sound object over the tone, made from a constructor of the
    // given settings.
    std::unique_ptr<DS_ABObj> MakeSound(WavSoundContent content = {})
    {
        DS_SlideShow_Light& root = Load({FlatSlide{}}, {WaveEntry(WavePath(L"tone"), EncodeWav(Tone()))});
        (void)root;
        DS_WAV_Constructor constructor;
        constructor.waveLink = DS_FileLink3(FileKey{WavePath(L"tone"), WaveStamp});
        constructor.volume.value = content.volume;
        constructor.balance.value = content.balance;
        constructor.mode.value = content.mode;
        constructor.minimumInterval.value = content.minimumInterval;
        constructor.maximumInterval.value = content.maximumInterval;
        return std::unique_ptr<DS_ABObj>(constructor.CreateObject());
    }

    TestDevice device;
    std::optional<ScopedCurrentDevice> current;
    SceneDocument document;
};

TEST_F(SoundTest, TheDeviceStartsOnceWithALoopingPrimaryBuffer)
{
    ASSERT_TRUE(SoundDevice);
    ASSERT_TRUE(PrimarySoundBuffer);
    EXPECT_EQ(static_cast<DWORD>(DSBCAPS_STICKYFOCUS), SoundBufferFlags);
    DWORD status = 0;
    EXPECT_EQ(DS_OK, PrimarySoundBuffer->GetStatus(&status));
    EXPECT_TRUE(status & DSBSTATUS_LOOPING);

    IDirectSoundBuffer* primary = PrimarySoundBuffer;
    ASSERT_EQ(DS_OK, PrimarySoundBuffer->Stop());
    EXPECT_TRUE(InitDirectSound(device.Window()));
    EXPECT_EQ(primary, PrimarySoundBuffer);
    EXPECT_EQ(DS_OK, PrimarySoundBuffer->GetStatus(&status));
    EXPECT_FALSE(status & DSBSTATUS_PLAYING);
}

// The record read through the registry holds the document's values and
// writes the same bytes back; a constructor of the program's own loops.
TEST_F(SoundTest, TheRecordReadsAndWritesItsValues)
{
    WavSoundContent content;
    content.volume = 40;
    content.balance = 20;
    content.mode = 3;
    content.minimumInterval = 2;
    content.maximumInterval = 9;
    const Bytes record = SoundRecord(L"rain", content);
    FlatSlide slide;
    slide.soundObjects = {record};
    const Bytes bytes = FlatSlideshow({slide});
    document = LoadSceneDocument(bytes.data(), bytes.size());
    ASSERT_TRUE(document);
    ASSERT_EQ(1u, document.root->slides[0]->soundConstructors.size());
    auto* read = dynamic_cast<DS_WAV_Constructor*>(document.root->slides[0]->soundConstructors.front().get());
    ASSERT_TRUE(read);

    EXPECT_EQ(WavePath(L"rain"), read->waveLink.value.path);
    EXPECT_EQ(WaveStamp, read->waveLink.value.stamp);
    EXPECT_EQ(40u, read->volume.value);
    EXPECT_EQ(20u, read->balance.value);
    EXPECT_EQ(3, read->mode.value);
    EXPECT_EQ(2u, read->minimumInterval.value);
    EXPECT_EQ(9u, read->maximumInterval.value);
    EXPECT_EQ(L"rain", read->name);
    EXPECT_FALSE(read->buffer);
    WritingHandle written;
    read->Write(written.handle);
    EXPECT_EQ(record, written.archive->Bytes());

    EXPECT_TRUE(DS_WAV_Constructor().Loops());
}

// Volume and balance give DirectSound's hundredths of a decibel and pan,
// held to the ends of their ranges whatever the document says.
TEST_F(SoundTest, TheBufferTakesTheVolumeAndPanOfTheSettings)
{
    struct Case {
        uint32_t volume, balance;
        LONG bufferVolume, pan;
    };
    const Case cases[] = {
        {100, 50, 0, 0},      {40, 20, -3000, -3000},      {0, 100, -5000, 5000},
        {0, 0, -5000, -5000}, {250, 4000000000u, 0, 5000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.volume << ", " << c.balance);
        WavSoundContent content;
        content.volume = c.volume;
        content.balance = c.balance;
        const std::unique_ptr<DS_ABObj> sound = MakeSound(content);
        auto& wav = dynamic_cast<DS_WAV_Constructor&>(*sound->Constructor());
        ASSERT_TRUE(wav.buffer);

        LONG volume = 1, pan = 1;
        EXPECT_EQ(DS_OK, wav.buffer->GetVolume(&volume));
        EXPECT_EQ(DS_OK, wav.buffer->GetPan(&pan));
        EXPECT_EQ(c.bufferVolume, volume);
        EXPECT_EQ(c.pan, pan);
        // Loaded, not playing: only the current slide's sounds play.
        EXPECT_FALSE(Playing(wav));
    }
}

// The samples arrive in a buffer of their own format; a file that is not
// playable PCM, a link the document holds no file for, or a missing device
// leave the sound without a buffer, and every call on it does nothing.
TEST_F(SoundTest, LoadingCopiesPlayablePcmAndLeavesAnythingElseSilent)
{
    const SoundClip tone = Tone(11025);
    Bytes adpcm = EncodeWav(tone);
    adpcm[20] = 0x11;
    FlatSlide slide;
    WavSoundContent everyThreeSeconds;
    everyThreeSeconds.mode = 1;
    everyThreeSeconds.minimumInterval = 3;
    everyThreeSeconds.maximumInterval = 3;
    slide.soundObjects = {SoundRecord(L"tone"), SoundRecord(L"adpcm"), SoundRecord(L"missing", everyThreeSeconds)};
    DS_SlideShow_Light& root =
        Load({slide}, {WaveEntry(WavePath(L"tone"), EncodeWav(tone)), WaveEntry(WavePath(L"adpcm"), adpcm)});
    const auto& sounds = root.slides[0]->soundObjects;
    ASSERT_EQ(3u, sounds.size());

    DS_WAV_Constructor& good = SoundOf(sounds[0]);
    ASSERT_TRUE(good.buffer);
    WAVEFORMATEX format{};
    ASSERT_EQ(DS_OK, good.buffer->GetFormat(&format, sizeof format, nullptr));
    EXPECT_EQ(11025u, format.nSamplesPerSec);
    EXPECT_EQ(16, format.wBitsPerSample);
    DSBCAPS caps{};
    caps.dwSize = sizeof caps;
    ASSERT_EQ(DS_OK, good.buffer->GetCaps(&caps));
    EXPECT_EQ(tone.samples.size() * 2, caps.dwBufferBytes);
    EXPECT_TRUE(caps.dwFlags & DSBCAPS_STICKYFOCUS);
    void* part = nullptr;
    DWORD partBytes = 0;
    ASSERT_EQ(DS_OK, good.buffer->Lock(0, 0, &part, &partBytes, nullptr, nullptr, DSBLOCK_ENTIREBUFFER));
    EXPECT_EQ(0, std::memcmp(part, tone.samples.data(), partBytes));
    good.buffer->Unlock(part, partBytes, nullptr, 0);

    for (std::size_t i : {1u, 2u}) {
        DS_WAV_Constructor& silent = SoundOf(sounds[i]);
        EXPECT_FALSE(silent.buffer);
        EXPECT_EQ(DSERR_UNINITIALIZED, silent.PlayLooped());
        EXPECT_EQ(DSERR_UNINITIALIZED, silent.Stop());
        EXPECT_EQ(DSERR_UNINITIALIZED, silent.PlayOnce());
        // Shown and ticked, each goes on without a buffer: the looping one
        // has nothing to start, the one at intervals keeps its times.
        sounds[i]->SetActive(true);
        sounds[i]->Update(1.0f);
        EXPECT_FALSE(silent.buffer);
        EXPECT_FLOAT_EQ(i == 2 ? 4.0f : 0.0f, silent.nextTriggerTime);
        sounds[i]->SetActive(false);
        EXPECT_FALSE(silent.buffer);
    }

    // The device takes its buffers with it: they go first.
    document = SceneDocument{};
    ReleasePrimarySoundBuffer();
    ReleaseDirectSound();
    EXPECT_FALSE(dynamic_cast<DS_WAV_Constructor&>(*MakeSound()->Constructor()).buffer);
}

// Only the current slide's sounds play: a looping one from its start for as
// long as the slide is shown, one at random intervals once at the slide's
// first frame; leaving the slide stops them.
TEST_F(SoundTest, TheCurrentSlidesSoundsPlayAndTheOthersAreStopped)
{
    FlatSlide first, second;
    first.soundObjects = {SoundRecord(L"rain")};
    WavSoundContent random;
    random.mode = 1;
    random.minimumInterval = 4;
    random.maximumInterval = 4;
    second.soundObjects = {SoundRecord(L"clock"), SoundRecord(L"birds", random)};
    const Bytes wav = EncodeWav(Tone());
    DS_SlideShow_Light& root = Load({first, second}, {WaveEntry(WavePath(L"rain"), wav),
                                                      WaveEntry(WavePath(L"clock"), wav),
                                                      WaveEntry(WavePath(L"birds"), wav)});
    DS_WAV_Constructor& rain = SoundOf(root.slides[0]->soundObjects[0]);
    DS_WAV_Constructor& clock = SoundOf(root.slides[1]->soundObjects[0]);
    DS_WAV_Constructor& birds = SoundOf(root.slides[1]->soundObjects[1]);
    ASSERT_TRUE(rain.buffer && clock.buffer && birds.buffer);
    EXPECT_FALSE(Playing(rain) || Playing(clock) || Playing(birds));

    root.Update(100.0f);
    EXPECT_TRUE(Playing(rain) && Looping(rain));
    EXPECT_FALSE(Playing(clock) || Playing(birds));

    // Slide 0 lasts 12 seconds.
    root.Update(112.5f);
    EXPECT_FALSE(Playing(rain));
    EXPECT_TRUE(Playing(clock) && Looping(clock));
    EXPECT_TRUE(Playing(birds));
    EXPECT_FALSE(Looping(birds));
    EXPECT_FLOAT_EQ(116.5f, birds.nextTriggerTime);

    root.Update(125.0f);
    EXPECT_TRUE(Playing(rain) && Looping(rain));
    EXPECT_FALSE(Playing(clock) || Playing(birds));

    // Back on the second slide before the interval drawn there has passed:
    // the birds play at once, once, instead of looping until it has.
    ASSERT_EQ(DS_OK, birds.buffer->Stop());
    birds.nextTriggerTime = 1000.0f;
    root.Update(137.5f);
    EXPECT_TRUE(Playing(birds));
    EXPECT_FALSE(Looping(birds));
    EXPECT_FLOAT_EQ(141.5f, birds.nextTriggerTime);
}

// A sound at random intervals plays at the first tick past its trigger time
// (not at a tick equal to it), then after min to max seconds drawn from the
// program's generator.
TEST_F(SoundTest, ARandomIntervalSoundReplaysWithinItsBounds)
{
    struct Tick {
        float time;
        bool plays;
        float nextTrigger;
    };
    const float drawn = 1.0f + 2.0f * 41.0f / 32767.0f; // the first draw from state 1 is 41
    const struct {
        uint32_t minimum, maximum;
        std::vector<Tick> ticks;
    } cases[] = {
        {2, 2, {{0.5f, true, 2.5f}, {1.0f, false, 2.5f}, {2.5f, false, 2.5f}, {2.6f, true, 4.6f}, {4.7f, true, 6.7f}}},
        {1, 3, {{10.0f, true, 10.0f + drawn}, {10.0f + drawn, false, 10.0f + drawn}}},
        {5, 5, {{0.0f, false, 0.0f}}},
    };
    for (const auto& c : cases) {
        WavSoundContent content;
        content.mode = 2;
        content.minimumInterval = c.minimum;
        content.maximumInterval = c.maximum;
        const std::unique_ptr<DS_ABObj> sound = MakeSound(content);
        auto& wav = dynamic_cast<DS_WAV_Constructor&>(*sound->Constructor());
        ASSERT_TRUE(wav.buffer);
        ResetRandForTesting(1);
        for (const Tick& tick : c.ticks) {
            SCOPED_TRACE(testing::Message() << c.minimum << "-" << c.maximum << " at " << tick.time);
            ASSERT_EQ(DS_OK, wav.buffer->Stop());
            sound->Update(tick.time);
            EXPECT_EQ(tick.plays, Playing(wav));
            EXPECT_FALSE(Looping(wav));
            EXPECT_FLOAT_EQ(tick.nextTrigger, wav.nextTriggerTime);
        }
    }

    // A looping sound never replays by itself; a trigger plays any sound once.
    const std::unique_ptr<DS_ABObj> loop = MakeSound();
    auto& wav = dynamic_cast<DS_WAV_Constructor&>(*loop->Constructor());
    loop->Update(50.0f);
    EXPECT_FALSE(Playing(wav));
    loop->Trigger(0);
    EXPECT_TRUE(Playing(wav));
    EXPECT_FALSE(Looping(wav));
}

// An extensible WAV of 16-bit stereo samples gets a buffer of the plain PCM
// format with every sample, and plays.
TEST_F(SoundTest, ExtensiblePcmStereoPlays)
{
    std::vector<int16_t> samples;
    for (int i = 0; i < 22050; ++i)
        samples.push_back(static_cast<int16_t>((i % 50) * 200 - 5000));
    FlatSlide slide;
    slide.soundObjects = {SoundRecord(L"stereo")};
    DS_SlideShow_Light& root = Load({slide}, {WaveEntry(WavePath(L"stereo"), ExtensibleStereoWav(samples, 44100))});
    DS_WAV_Constructor& sound = SoundOf(root.slides[0]->soundObjects[0]);
    ASSERT_TRUE(sound.buffer);

    WAVEFORMATEX format{};
    ASSERT_EQ(DS_OK, sound.buffer->GetFormat(&format, sizeof format, nullptr));
    EXPECT_EQ(WAVE_FORMAT_PCM, format.wFormatTag);
    EXPECT_EQ(2, format.nChannels);
    EXPECT_EQ(16, format.wBitsPerSample);
    EXPECT_EQ(44100u, format.nSamplesPerSec);
    EXPECT_TRUE(Holds(*sound.buffer.Get(), samples.data(), samples.size() * 2));
    EXPECT_EQ(DS_OK, sound.PlayLooped());
    EXPECT_TRUE(Playing(sound) && Looping(sound));
}

// The device took the buffer's memory away: the next play restores it, writes
// the samples in again and plays; one that plays once does the same at its
// tick.
TEST_F(SoundTest, ALostBufferIsRestoredRefilledAndPlaysAgain)
{
    WavSoundContent once;
    once.mode = 1;
    for (const WavSoundContent& content : {WavSoundContent{}, once}) {
        SCOPED_TRACE(content.mode);
        const std::unique_ptr<DS_ABObj> object = MakeSound(content);
        auto& sound = dynamic_cast<DS_WAV_Constructor&>(*object->Constructor());
        ASSERT_TRUE(sound.buffer);
        auto* lost = new FakeSoundBuffer(sound.buffer.Get());
        sound.buffer.Attach(lost);
        lost->Lose();
        ASSERT_FALSE(Holds(*lost->real.Get(), Tone().samples.data(), Tone().samples.size() * 2));

        object->SetActive(true);
        object->Update(1.0f);

        EXPECT_EQ(1, lost->restores);
        EXPECT_FALSE(lost->lost);
        EXPECT_TRUE(Holds(*lost->real.Get(), Tone().samples.data(), Tone().samples.size() * 2));
        DWORD status = 0;
        ASSERT_EQ(DS_OK, lost->real->GetStatus(&status));
        EXPECT_TRUE(status & DSBSTATUS_PLAYING);
        EXPECT_EQ(content.mode == 0, (status & DSBSTATUS_LOOPING) != 0);
    }
}

// A buffer whose samples cannot be written is not kept: it would play
// whatever it held.
TEST_F(SoundTest, ABufferThatCannotBeLockedIsNotKept)
{
    auto* fake = new FakeSoundDevice;
    ASSERT_TRUE(fake->real);
    ASSERT_EQ(DS_OK, fake->SetCooperativeLevel(device.Window(), DSSCL_NORMAL));
    fake->failLocks = true;
    IDirectSound8* const kept = SoundDevice;
    SoundDevice = fake;

    const std::unique_ptr<DS_ABObj> object = MakeSound();
    auto& sound = dynamic_cast<DS_WAV_Constructor&>(*object->Constructor());

    EXPECT_TRUE(fake->lastBuffer);
    EXPECT_FALSE(sound.buffer);
    EXPECT_EQ(DSERR_UNINITIALIZED, sound.PlayLooped());
    SoundDevice = kept;
    fake->Release();
}

// Paused, a sound stops where it is; resumed, it plays on the way it played,
// and one that was not playing stays quiet. A silenced sound has no buffer
// and goes on keeping its times.
TEST_F(SoundTest, PausedSoundsPlayOnAndSilencedOnesKeepTheirTimes)
{
    const std::unique_ptr<DS_ABObj> looping = MakeSound();
    auto& loop = dynamic_cast<DS_WAV_Constructor&>(*looping->Constructor());
    const std::unique_ptr<DS_ABObj> idle = MakeSound();
    auto& quiet = dynamic_cast<DS_WAV_Constructor&>(*idle->Constructor());
    ASSERT_TRUE(loop.buffer && quiet.buffer);
    looping->SetActive(true);
    ASSERT_TRUE(Playing(loop));

    loop.Pause();
    quiet.Pause();
    loop.Pause();
    EXPECT_FALSE(Playing(loop));
    loop.Resume();
    quiet.Resume();
    EXPECT_TRUE(Playing(loop) && Looping(loop));
    EXPECT_FALSE(Playing(quiet));

    WavSoundContent random;
    random.mode = 1;
    random.minimumInterval = 3;
    random.maximumInterval = 3;
    const std::unique_ptr<DS_ABObj> silent = MakeSound(random);
    auto& silenced = dynamic_cast<DS_WAV_Constructor&>(*silent->Constructor());
    silenced.Silence();
    EXPECT_FALSE(silenced.buffer);
    silent->SetActive(true);
    silent->Update(10.0f);
    EXPECT_FLOAT_EQ(13.0f, silenced.nextTriggerTime);
    silenced.Load();
    EXPECT_FALSE(silenced.buffer);
}
