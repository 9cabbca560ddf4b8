#include "tools/demodoc/SoundSlides.h"

#include "tools/assets/SoundArt.h"
#include "tools/demodoc/DemoDocument.h"
#include "tools/document/SoundRecords.h"

#include <stdexcept>
#include <string>

const wchar_t* const DemoSoundFolder = L"C:\\Nightglass\\Sounds\\";
const wchar_t* const DemoMusicFolder = L"C:\\Nightglass\\Music\\";

namespace {

const int32_t LoopMode = 0;
const int32_t RandomMode = 1;

// Which sound plays on which slide, and how.
struct SoundPlan {
    const wchar_t* slide;
    const wchar_t* fileName;
    uint32_t volume;
    uint32_t balance;
    int32_t mode;
    uint32_t minimumInterval;
    uint32_t maximumInterval;
};

const SoundPlan Plans[] = {
    {L"Rain on the street", L"rain.wav", 65, 50, LoopMode, 0, 5},
    {L"Thunderstorm over the fields", L"thunder.wav", 85, 55, RandomMode, 9, 20},
    {L"Birds at dusk", L"birds.wav", 75, 40, RandomMode, 5, 12},
    {L"The clock tower", L"clock.wav", 50, 50, LoopMode, 0, 5},
};

const DemoSound& FindSound(const std::wstring& fileName)
{
    for (const DemoSound& sound : DemoSounds())
        if (fileName == sound.fileName)
            return sound;
    throw std::logic_error("a sound plan names a sound that is not made");
}

SlideContent& FindSlide(SlideShowContent& show, const std::wstring& name)
{
    for (SlideContent& slide : show.slides)
        if (slide.name == name)
            return slide;
    throw std::logic_error("a sound plan names a slide that is not in the show");
}

TableRecordsEntry MakeFileEntry(const std::wstring& path, DocumentBuilder::Bytes content)
{
    TableResourceRecord record;
    record.content = std::move(content);
    record.path = path;
    TableRecordsEntry entry;
    entry.path = path;
    entry.stamp = DemoPictureStamp;
    entry.records.push_back(std::move(record));
    return entry;
}

std::wstring WithoutExtension(const std::wstring& fileName) { return fileName.substr(0, fileName.rfind(L'.')); }

} // namespace

void AddDemoSounds(DemoContent& demo)
{
    SlideShowContent& show = demo.show;
    ResourceTableContent& table = demo.table;
    for (const DemoSound& sound : DemoSounds()) {
        const std::wstring path = std::wstring(DemoSoundFolder) + sound.fileName;
        table.otherFiles.push_back(MakeFileEntry(path, EncodeWav(sound.make())));
    }
    for (const SoundPlan& plan : Plans) {
        WavSoundContent content;
        content.wavePath = std::wstring(DemoSoundFolder) + FindSound(plan.fileName).fileName;
        content.waveStamp = DemoPictureStamp;
        content.volume = plan.volume;
        content.balance = plan.balance;
        content.mode = plan.mode;
        content.minimumInterval = plan.minimumInterval;
        content.maximumInterval = plan.maximumInterval;
        content.name = WithoutExtension(plan.fileName);
        FindSlide(show, plan.slide).soundObjects.push_back(WavConstructorRecordBytes(content));
    }
    for (const DemoSound& track : DemoMusic())
        show.audioFiles.push_back(AudioFileContent{WithoutExtension(track.fileName), EncodeWav(track.make()),
                                                   std::wstring(DemoMusicFolder) + track.fileName});
}
