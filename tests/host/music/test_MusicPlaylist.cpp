#include "foundation/render/CurrentDevice.h"
#include "host/MusicGraph.h"
#include "host/MusicPlaylist.h"
#include "host/Settings.h"
#include "host/ZAvaduVedoverovez.h"
#include "objects/sound/SoundDevice.h"
#include "tests/scene/slideshow/SlideshowDocuments.h"
#include "tests/support/TestDevice.h"
#include "tools/assets/SoundArt.h"

#include <gtest/gtest.h>

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

std::wstring TempPath(const std::wstring& name)
{
    wchar_t folder[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, folder);
    return folder + name;
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
    MusicApp(HWND window, const TestDevice& screen)
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
    }
    ~MusicApp() override { SetSettingsKeyPath(L""); }

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

} // namespace

class MusicTest : public ::testing::Test {
protected:
    void SetUp() override
    {
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
    EXPECT_EQ(TempPath(TrackName(0)), first.file);
    EXPECT_EQ(1, first.sources);
    EXPECT_GE(first.filters, 2);
    EXPECT_EQ(1u, app.players[0].playlist.position);

    ASSERT_TRUE(PumpUntil([&] { return app.afterEnds.size() >= 3; }));

    const std::wstring expected[] = {TrackName(1), TrackName(0), TrackName(1)};
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(TempPath(expected[i]), app.afterEnds[i].file);
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
        EXPECT_EQ(TempPath(TrackName(0)), after.file);
        EXPECT_EQ(start.filters, after.filters);
    }
    EXPECT_EQ(1u, app.players[0].playlist.position);
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
    PlayNextTrack(app.players[0].playlist, EC_COMPLETE);
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
    PlayNextTrack(app.players[0].playlist, EC_COMPLETE);
    EXPECT_EQ(2u, app.players[0].playlist.position);

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
    PlayNextTrack(app.players[0].playlist, EC_COMPLETE);
    ASSERT_EQ(TempPath(TrackName(1)), Contents().file);

    app.SelectScreenDevice(0);
    app.OnDeviceInvalidated();
    ASSERT_FALSE(MusicGraph);
    app.SelectScreenDevice(0);
    app.OnDeviceRestored();

    ASSERT_TRUE(MusicGraph && MusicControl && MusicSeeking && MusicEvents && MusicAudio);
    const GraphContents resumed = Contents();
    EXPECT_EQ(TempPath(TrackName(1)), resumed.file);
    EXPECT_EQ(1, resumed.sources);
    EXPECT_EQ(2u, app.players[0].playlist.position);
    OAFilterState state = State_Stopped;
    EXPECT_TRUE(SUCCEEDED(MusicControl->GetState(1000, &state)));
    EXPECT_EQ(State_Running, state);

    // The new graph's events reach the window: the third track, then the first.
    ASSERT_TRUE(PumpUntil([&] { return app.afterEnds.size() >= 2; }));
    EXPECT_EQ(TempPath(TrackName(2)), app.afterEnds[0].file);
    EXPECT_EQ(TempPath(TrackName(0)), app.afterEnds[1].file);
    EXPECT_FALSE(app.errorSet);

    // A restore with no reset before it (the devices' first) leaves the
    // graph it finds alone.
    IGraphBuilder* const graph = MusicGraph.Get();
    app.OnDeviceRestored();
    EXPECT_EQ(graph, MusicGraph.Get());
}
