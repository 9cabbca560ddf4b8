#include "foundation/core/CurrentDevice.h"
#include "host/app/ZAvaduVedoverovez.h"
#include "host/framework/Settings.h"
#include "host/music/MusicGraph.h"
#include "host/music/MusicPlaylist.h"
#include "objects/sound/DS_Sound.h"
#include "objects/sound/DS_WAV_Constructor.h"
#include "objects/sound/SoundDevice.h"
#include "tests/support/SlideshowDocuments.h"
#include "tests/support/TestDevice.h"
#include "tools/assets/SoundArt.h"
#include "tools/document/SoundRecords.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

namespace {

const wchar_t* const MusicTestKeyPath = L"Software\\Quillmoor\\Glintcraft\\NightglassTests\\Music\\";
const int Side = 64;
const DWORD EventWaitMilliseconds = 20000;

// A quarter of a second of a tone of its own pitch.
DocumentBuilder::Bytes ShortTrack(int pitch)
{
    SoundClip clip;
    for (uint32_t i = 0; i < SoundSampleRate / 4; ++i)
        clip.samples.push_back(static_cast<int16_t>((i * pitch) % 64 * 100 - 3200));
    return EncodeWav(clip);
}

std::wstring TrackName(int index) { return L"nightglass-test-music-" + std::to_wstring(index) + L".wav"; }

AudioFileContent Track(int index)
{
    return AudioFileContent{L"Track " + std::to_wstring(index), ShortTrack(index + 1),
                            L"C:\\No Such Folder\\" + TrackName(index)};
}

// A track the graph cannot render: a RIFF file of no known form.
AudioFileContent BadTrack(int index)
{
    DocumentBuilder::Bytes bytes{'R', 'I', 'F', 'F', 40, 0, 0, 0, 'J', 'U', 'N', 'K'};
    bytes.resize(48, 0x33);
    return AudioFileContent{L"Bad " + std::to_wstring(index), bytes, L"C:\\No Such Folder\\" + TrackName(index)};
}

// The copy of the track at this entry of the list.
std::wstring CopyPath(int entry, int index) { return MusicCopyFolder() + std::to_wstring(entry + 1) + L"-" + TrackName(index); }
std::wstring CopyPath(int index) { return CopyPath(index, index); }

// Every file of the copy folder that is a copy of a test track.
std::vector<std::wstring> TrackCopies()
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((MusicCopyFolder() + L"*nightglass-test-music-*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
        names.push_back(found.cFileName);
    while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

void RemoveTrackCopies()
{
    for (const std::wstring& name : TrackCopies())
        DeleteFileW((MusicCopyFolder() + name).c_str());
}

const std::wstring SoundPath = L"C:\\Sounds\\nightglass-test-loop.wav";

// A slide whose one sound loops, with the tone it plays in the document.
FlatSlide SoundSlide()
{
    WavSoundContent content;
    content.wavePath = SoundPath;
    content.waveStamp = 1;
    FlatSlide slide{0x304050};
    slide.soundObjects = {WavConstructorRecordBytes(content)};
    return slide;
}

TableRecordsEntry SoundFile()
{
    TableResourceRecord record;
    record.content = ShortTrack(3);
    record.path = SoundPath;
    return TableRecordsEntry{SoundPath, 1, {record}};
}

DS_WAV_Constructor& FirstSound(const ScenePlayer& player)
{
    return *dynamic_cast<DS_WAV_Constructor*>(player.Root()->slides[0]->soundObjects[0]->Constructor());
}

bool Playing(const DS_WAV_Constructor& sound)
{
    DWORD status = 0;
    return sound.buffer && SUCCEEDED(sound.buffer->GetStatus(&status)) && (status & DSBSTATUS_PLAYING);
}

struct GraphContents {
    int filters = 0;
    int sources = 0;
    // The file of the last source filter found.
    std::wstring file;
};

GraphContents Contents()
{
    GraphContents contents;
    ComHolder<IEnumFilters> list;
    if (!MusicGraph || FAILED(MusicGraph->EnumFilters(list.Out())))
        return contents;
    for (ComHolder<IBaseFilter> filter; list->Next(1, filter.Out(), nullptr) == S_OK;) {
        ++contents.filters;
        ComHolder<IFileSourceFilter> source;
        if (FAILED(filter->QueryInterface(IID_IFileSourceFilter, reinterpret_cast<void**>(source.Out()))))
            continue;
        ++contents.sources;
        LPOLESTR file = nullptr;
        if (SUCCEEDED(source->GetCurFile(&file, nullptr)) && file) {
            contents.file = file;
            CoTaskMemFree(file);
        }
    }
    return contents;
}

long MusicVolume()
{
    long volume = 1;
    EXPECT_TRUE(MusicAudio);
    if (MusicAudio)
        MusicAudio->get_Volume(&volume);
    return volume;
}

// The window the graph posts its events to, with the show's own window
// procedure.
class EventWindow {
public:
    EventWindow()
    {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = SaverWndProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"NightglassMusicTest";
        RegisterClassW(&windowClass);
        window = CreateWindowExW(0, L"NightglassMusicTest", L"", WS_POPUP, 0, 0, Side, Side, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    }
    ~EventWindow() { DestroyWindow(window); }
    EventWindow(const EventWindow&) = delete;
    EventWindow& operator=(const EventWindow&) = delete;

    HWND window = nullptr;
};

// The application in test mode over one test device, its graph posting to
// the event window. Each end of a track is noted with what the graph holds
// once the next track has started.
class MusicApp : public ZAvaduVedoverovez {
public:
    MusicApp(HWND window, const TestDevice& screen, const TestDevice* second = nullptr)
    {
        SetSettingsKeyPath(MusicTestKeyPath);
        wcscpy(settingsKeyPath, MusicTestKeyPath);
        mode = LaunchMode::Test;
        windowed = true;
        mainWindow = window;
        screenDeviceCount = 1;
        screenDevices[0].adapterIndex = -1;
        screenDevices[0].monitorIndex = -1;
        screenDevices[0].device = screen.Device();
        screenDevices[0].objectsCreated = true;
        screenDevices[0].objectsRestored = true;
        if (second) {
            screenDeviceCount = 2;
            screenDevices[1] = screenDevices[0];
            screenDevices[1].device = second->Device();
        }
    }
    ~MusicApp() override { SetSettingsKeyPath(L""); }

    // The splash frame, the loading frame and a first frame of the show on
    // every screen, in the frame loop's order.
    void LoadOnEveryScreen(const DocumentBuilder::Bytes& document)
    {
        for (int i = 0; i < screenDeviceCount; ++i)
            players[i].UseDocument(document);
        for (float time : {0.0f, 0.0f, 1.0f}) {
            appTime = time;
            for (int i = 0; i < screenDeviceCount; ++i) {
                SelectScreenDevice(i);
                RenderFrame();
            }
        }
    }

    // A reset of every screen as the frame loop does it, then the next frame's
    // start.
    void ResetEveryScreen()
    {
        for (int i = 0; i < screenDeviceCount; ++i) {
            SelectScreenDevice(i);
            OnDeviceInvalidated();
            screenDevices[i].objectsRestored = false;
            graphsDuringResets.push_back(MusicGraph.Get());
            OnDeviceRestored();
            screenDevices[i].objectsRestored = true;
            graphsDuringResets.push_back(MusicGraph.Get());
        }
        UpdateFrame();
    }

    MusicPlaylist& Playlist() { return showSound.playlist; }
    std::vector<IGraphBuilder*> graphsDuringResets;

    // The splash frame and the loading frame, as the show draws them.
    void LoadDocument(const std::vector<AudioFileContent>& tracks)
    {
        players[0].UseDocument(FlatSlideshow({FlatSlide{0x304050}}, tracks));
        for (int frame = 0; frame < 2; ++frame) {
            SelectScreenDevice(0);
            RenderFrame();
        }
    }

    void OnMusicEvent(int code) override
    {
        ZAvaduVedoverovez::OnMusicEvent(code);
        codes.push_back(code);
        if (code == EC_COMPLETE)
            afterEnds.push_back(Contents());
    }

    std::vector<int> codes;
    std::vector<GraphContents> afterEnds;
};

// Dispatches this thread's messages until done() holds; false after the time.
bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds = EventWaitMilliseconds)
{
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > milliseconds)
            return false;
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(5);
    }
    return true;
}

// How many times COM has been started on this thread and not ended: counted
// by ending it down to nothing, then started again as often.
int ComDepth()
{
    int depth = 0;
    for (; depth < 100; ++depth) {
        const HRESULT probe = CoInitialize(nullptr);
        CoUninitialize();
        if (probe == S_OK)
            break;
        CoUninitialize();
    }
    for (int i = 0; i < depth; ++i)
        CoInitialize(nullptr);
    return depth;
}

} // namespace

class MusicTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RemoveTrackCopies();
        ASSERT_TRUE(screen.Ok());
        ASSERT_TRUE(window.window);
        RegDeleteTreeW(HKEY_CURRENT_USER, MusicTestKeyPath);
        PicPosCache = PicPosCacheRecord{true, PicFill};
        MusicSettings = MusicSettingsRecord{};
        ASSERT_TRUE(InitMusicGraph(window.window));
    }
    void TearDown() override
    {
        CurrentDevice = nullptr;
        RegDeleteTreeW(HKEY_CURRENT_USER, MusicTestKeyPath);
        LimitMusicCopyWritesForTesting(-1);
    }

    TestDevice screen{Side, Side};
    EventWindow window;
};

// The graph's end-of-track events reach the window and move the playlist
// on: 0, 1, 0, each track written to the temporary folder and played from
// there, the graph rebuilt for it with no filter left over from the last.
TEST_F(MusicTest, TwoTracksPlayInTurnAsEachEnds)
{
    MusicApp app(window.window, screen);
    app.LoadDocument({Track(0), Track(1)});

    const GraphContents first = Contents();
    EXPECT_EQ(CopyPath(0), first.file);
    EXPECT_EQ(1, first.sources);
    EXPECT_GE(first.filters, 2);
    EXPECT_EQ(1u, app.Playlist().position);

    ASSERT_TRUE(PumpUntil([&] { return app.afterEnds.size() >= 3; }));

    const std::wstring expected[] = {CopyPath(1), CopyPath(0), CopyPath(1)};
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(expected[i], app.afterEnds[i].file);
        EXPECT_EQ(1, app.afterEnds[i].sources);
        EXPECT_EQ(first.filters, app.afterEnds[i].filters);
    }
}

// One track starts again from the beginning at its end, on the graph it was
// built in and without reading the settings again.
TEST_F(MusicTest, ASingleTrackIsRewoundAtItsEnd)
{
    MusicApp app(window.window, screen);
    app.LoadDocument({Track(0)});
    const GraphContents start = Contents();
    EXPECT_EQ(0, MusicVolume());
    WriteSoundVolume(10);

    ASSERT_TRUE(PumpUntil([&] { return app.afterEnds.size() >= 2; }));

    for (const GraphContents& after : app.afterEnds) {
        EXPECT_EQ(CopyPath(0), after.file);
        EXPECT_EQ(start.filters, after.filters);
    }
    EXPECT_EQ(1u, app.Playlist().position);
    EXPECT_EQ(0, MusicVolume());
}

// The sound settings give the music's volume and the primary sound buffer's
// at each track's start; muting silences both.
TEST_F(MusicTest, TheSettingsSetTheMusicAndTheSoundVolume)
{
    const struct {
        int volume, mute;
        long music, sound;
    } cases[] = {
        {100, 0, 0, 0}, {40, 0, -2400, -3000}, {0, 0, -4000, -5000}, {40, 1, -10000, -10000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.volume << " " << c.mute);
        ASSERT_TRUE(MusicGraph || InitMusicGraph(window.window));
        MusicApp app(window.window, screen);
        WriteSoundVolume(c.volume);
        WriteMuteSound(c.mute);
        app.SelectScreenDevice(0);
        app.OnDeviceRestored();
        ASSERT_TRUE(PrimarySoundBuffer);

        app.LoadDocument({Track(0), Track(1)});

        EXPECT_EQ(c.music, MusicVolume());
        LONG sound = 1;
        EXPECT_EQ(DS_OK, PrimarySoundBuffer->GetVolume(&sound));
        EXPECT_EQ(c.sound, sound);
        EXPECT_EQ(static_cast<DWORD>(c.volume), MusicSettings.volume);
    }
}

TEST_F(MusicTest, ADocumentWithoutMusicPlaysNothing)
{
    MusicApp app(window.window, screen);
    app.LoadDocument({});

    EXPECT_EQ(0, Contents().filters);
    PlayNextTrack(app.Playlist(), EC_COMPLETE);
    EXPECT_EQ(0, Contents().filters);
    EXPECT_FALSE(PumpUntil([&] { return !app.afterEnds.empty(); }, 1000));
}

// Before a reset and at the end of the show the music stops and its graph
// goes whole; later events find nothing, and the show goes on silent.
TEST_F(MusicTest, InvalidatingTheDeviceReleasesTheGraph)
{
    MusicApp app(window.window, screen);
    app.LoadDocument({Track(0), Track(1)});
    ASSERT_EQ(1, Contents().sources);

    app.SelectScreenDevice(0);
    app.OnDeviceInvalidated();

    EXPECT_FALSE(MusicGraph || MusicControl || MusicSeeking || MusicEvents || MusicAudio);
    SendMessageW(window.window, MusicEventMessage, 0, 0);
    EXPECT_EQ(std::vector<int>{-1}, app.codes);
    PlayNextTrack(app.Playlist(), EC_COMPLETE);
    EXPECT_EQ(2u, app.Playlist().position);

    MusicApp silent(window.window, screen);
    silent.LoadDocument({Track(0)});
    EXPECT_TRUE(silent.players[0].Root());
    EXPECT_FALSE(silent.errorSet);
}

// After a reset the graph is made again: the track that was playing starts
// over on it, and the list moves on from there at its end as before.
TEST_F(MusicTest, AResetGivesTheMusicBackWhereItWas)
{
    MusicApp app(window.window, screen);
    app.LoadDocument({Track(0), Track(1), Track(2)});
    // The second track is playing when the device goes.
    PlayNextTrack(app.Playlist(), EC_COMPLETE);
    ASSERT_EQ(CopyPath(1), Contents().file);

    app.ResetEveryScreen();

    EXPECT_EQ((std::vector<IGraphBuilder*>{nullptr, nullptr}), app.graphsDuringResets);
    ASSERT_TRUE(MusicGraph && MusicControl && MusicSeeking && MusicEvents && MusicAudio);
    const GraphContents resumed = Contents();
    EXPECT_EQ(CopyPath(1), resumed.file);
    EXPECT_EQ(1, resumed.sources);
    EXPECT_EQ(2u, app.Playlist().position);
    OAFilterState state = State_Stopped;
    EXPECT_TRUE(SUCCEEDED(MusicControl->GetState(1000, &state)));
    EXPECT_EQ(State_Running, state);

    // The new graph's events reach the window: the third track, then the first.
    ASSERT_TRUE(PumpUntil([&] { return app.afterEnds.size() >= 2; }));
    EXPECT_EQ(CopyPath(2), app.afterEnds[0].file);
    EXPECT_EQ(CopyPath(0), app.afterEnds[1].file);
    EXPECT_FALSE(app.errorSet);

    // A restore with no reset before it (the devices' first) leaves the
    // graph it finds alone, and so do the frames after a reset.
    IGraphBuilder* const graph = MusicGraph.Get();
    app.OnDeviceRestored();
    app.UpdateFrame();
    EXPECT_EQ(graph, MusicGraph.Get());
}

// Two screens show the same document: the music is one playlist on the one
// graph, of one copy of each track, from the first screen's document; the
// sound objects of the first screen play, the second's stay silent while
// their timing goes on. A reset of both screens starts the track over once.
TEST_F(MusicTest, TwoScreensPlayTheMusicAndEachSoundOnce)
{
    TestDevice second{Side, Side};
    ASSERT_TRUE(second.Ok());
    MusicApp app(window.window, screen, &second);
    app.SelectScreenDevice(0);
    app.OnDeviceRestored();
    ASSERT_TRUE(SoundDevice);

    app.LoadOnEveryScreen(FlatSlideshow({SoundSlide()}, {Track(0), Track(1)}, {SoundFile()}));

    ASSERT_TRUE(app.players[0].Root() && app.players[1].Root());
    EXPECT_TRUE(app.players[0].Heard());
    EXPECT_FALSE(app.players[1].Heard());
    EXPECT_EQ(&app.players[0].Root()->audioFiles, app.Playlist().files);
    EXPECT_EQ(1u, app.Playlist().position);
    EXPECT_EQ((std::vector<std::wstring>{L"1-" + TrackName(0), L"2-" + TrackName(1)}), TrackCopies());
    // The second document's music is never written out.
    EXPECT_EQ(L"C:\\No Such Folder\\" + TrackName(0), app.players[1].Root()->audioFiles[0]->file.path);
    const GraphContents contents = Contents();
    EXPECT_EQ(1, contents.sources);
    EXPECT_EQ(CopyPath(0), contents.file);

    DS_WAV_Constructor& heard = FirstSound(app.players[0]);
    DS_WAV_Constructor& silent = FirstSound(app.players[1]);
    EXPECT_TRUE(Playing(heard));
    EXPECT_FALSE(silent.buffer);
    EXPECT_EQ(DSERR_UNINITIALIZED, silent.PlayOnce());

    // Events of the graph move the one playlist on, whichever screen was
    // selected last.
    app.SelectScreenDevice(1);
    PlayNextTrack(app.Playlist(), EC_COMPLETE);
    EXPECT_EQ(CopyPath(1), Contents().file);
    EXPECT_EQ(2u, app.Playlist().position);

    app.ResetEveryScreen();
    EXPECT_EQ((std::vector<IGraphBuilder*>{nullptr, nullptr, nullptr, nullptr}), app.graphsDuringResets);
    EXPECT_EQ(CopyPath(1), Contents().file);
    EXPECT_EQ(1, Contents().sources);
    EXPECT_EQ(2u, app.Playlist().position);
    EXPECT_TRUE(Playing(heard));
    EXPECT_FALSE(app.errorSet);
}

// A track that cannot be played gives way to the next at once, at the start
// and at each end; one that breaks off while it plays does the same. When
// every track fails, the music stops rather than going round them.
TEST_F(MusicTest, TracksThatCannotPlayGiveWayToTheNext)
{
    MusicApp app(window.window, screen);
    app.LoadDocument({BadTrack(0), Track(1)});
    EXPECT_EQ(CopyPath(1), Contents().file);
    EXPECT_EQ(2u, app.Playlist().position);

    PlayNextTrack(app.Playlist(), EC_COMPLETE);
    EXPECT_EQ(CopyPath(1), Contents().file);
    EXPECT_EQ(2u, app.Playlist().position);
    OAFilterState state = State_Stopped;
    EXPECT_TRUE(SUCCEEDED(MusicControl->GetState(1000, &state)));
    EXPECT_EQ(State_Running, state);

    MusicApp aborted(window.window, screen);
    aborted.LoadDocument({Track(0), Track(1)});
    PlayNextTrack(aborted.Playlist(), EC_ERRORABORT);
    EXPECT_EQ(CopyPath(1), Contents().file);
    EXPECT_EQ(2u, aborted.Playlist().position);
    // Both break off one after the other: the music stops.
    PlayNextTrack(aborted.Playlist(), EC_ERRORABORT);
    EXPECT_TRUE(SUCCEEDED(MusicControl->GetState(1000, &state)));
    EXPECT_EQ(State_Stopped, state);
    EXPECT_EQ(CopyPath(1), Contents().file);
}

TEST_F(MusicTest, WhenEveryTrackFailsTheMusicStops)
{
    MusicApp app(window.window, screen);
    app.LoadDocument({BadTrack(0), BadTrack(1)});
    EXPECT_EQ(2u, app.Playlist().failuresInARow);
    EXPECT_EQ(2u, app.Playlist().position);
    PlayNextTrack(app.Playlist(), EC_ERRORABORT);
    EXPECT_EQ(2u, app.Playlist().position);
    OAFilterState state = State_Running;
    EXPECT_TRUE(SUCCEEDED(MusicControl->GetState(1000, &state)));
    EXPECT_EQ(State_Stopped, state);

    // A single track that breaks off is not rewound into breaking off again.
    MusicApp single(window.window, screen);
    single.LoadDocument({Track(0)});
    PlayNextTrack(single.Playlist(), EC_ERRORABORT);
    state = State_Running;
    EXPECT_TRUE(SUCCEEDED(MusicControl->GetState(1000, &state)));
    EXPECT_EQ(State_Stopped, state);
}

// The preview makes no graph and writes out no music it would never play.
TEST_F(MusicTest, ThePreviewWritesNoMusic)
{
    ReleaseMusicGraph();
    MusicApp app(window.window, screen);
    app.mode = LaunchMode::Preview;
    app.LoadDocument({Track(0), Track(1)});

    ASSERT_TRUE(app.players[0].Root());
    EXPECT_TRUE(TrackCopies().empty());
    EXPECT_EQ(L"C:\\No Such Folder\\" + TrackName(0), app.players[0].Root()->audioFiles[0]->file.path);
    EXPECT_FALSE(MusicGraph);
}

// Graphs made again and again (one for each reset) start COM on the thread
// once: its count does not grow with them.
TEST_F(MusicTest, GraphsMadeAgainDoNotStartComAgain)
{
    ReleaseMusicGraph();
    const int before = ComDepth();
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(InitMusicGraph(window.window));
        ReleaseMusicGraph();
    }
    EXPECT_EQ(before, ComDepth());
}
