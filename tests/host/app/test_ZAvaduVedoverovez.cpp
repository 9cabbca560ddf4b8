#include "host/app/ZAvaduVedoverovez.h"

#include "foundation/core/SaverError.h"
#include "foundation/core/CurrentDevice.h"
#include "foundation/render/PictureMapping.h"
#include "foundation/resources/DS_DocResManager.h"
#include "foundation/resources/ResourceCache.h"
#include "host/framework/SaverClock.h"
#include "host/framework/Settings.h"
#include "objects/sound/DS_WAV_Constructor.h"
#include "objects/sound/SoundDevice.h"
#include "objects/sound/SoundDeviceForTesting.h"
#include "tests/support/SlideshowDocuments.h"
#include "tests/support/TestDevice.h"
#include "tools/assets/SoundArt.h"
#include "tools/document/SoundRecords.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace {

const wchar_t* const AppTestKeyPath = L"Software\\Quillmoor\\Glintcraft\\NightglassTests\\App\\";
const int Side = 256;
const D3DCOLOR Marker = 0xFFFF00FF;
const Rgba Black{0, 0, 0, 255};

// The application over test devices in place of the screen devices the show
// creates, with the framework's device seams: the device test answers from a
// queue first, and each Present keeps the back buffer it shows.
class TestApp : public ZAvaduVedoverovez {
public:
    TestApp()
    {
        SetSettingsKeyPath(AppTestKeyPath);
        wcscpy(settingsKeyPath, AppTestKeyPath);
        mode = LaunchMode::Test;
        windowed = true;
    }

    void UseScreens(const std::vector<const TestDevice*>& devices)
    {
        screens = devices;
        screenDeviceCount = static_cast<int>(devices.size());
        for (int i = 0; i < screenDeviceCount; ++i) {
            ScreenDevice& screen = screenDevices[i];
            screen = ScreenDevice{};
            screen.adapterIndex = -1;
            screen.monitorIndex = -1;
            screen.device = devices[i]->Device();
            screen.presentParameters = devices[i]->PresentParameters();
            screen.objectsCreated = true;
            screen.objectsRestored = true;
        }
    }

    // Screen i's part of a frame at the given application time, without the
    // device test and the Present.
    void DrawScreen(int i, float time)
    {
        appTime = time;
        SelectScreenDevice(i);
        RenderFrame();
    }

    std::deque<HRESULT> cooperativeLevels;
    std::vector<Pixels> presented;

protected:
    HRESULT TestCooperativeLevel(IDirect3DDevice9* screenDevice) override
    {
        if (cooperativeLevels.empty())
            return ZAvaduVedoverovez::TestCooperativeLevel(screenDevice);
        const HRESULT level = cooperativeLevels.front();
        cooperativeLevels.pop_front();
        return level;
    }
    HRESULT PresentScreen(IDirect3DDevice9* screenDevice) override
    {
        for (const TestDevice* screen : screens) {
            if (screen->Device() == screenDevice)
                presented.push_back(screen->ReadBackBuffer());
        }
        return ZAvaduVedoverovez::PresentScreen(screenDevice);
    }

private:
    std::vector<const TestDevice*> screens;
};

::testing::AssertionResult Filled(const Pixels& frame, DWORD rgb)
{
    const Rgba colour{static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb), 255};
    if (frame.Empty())
        return ::testing::AssertionFailure() << "nothing read back";
    if (!frame.AllNear(0, 0, frame.Width(), frame.Height(), colour, 3))
        return ::testing::AssertionFailure() << "centre " << frame.At(frame.Width() / 2, frame.Height() / 2)
                                             << ", expected " << colour << " everywhere";
    return ::testing::AssertionSuccess();
}

void ClearToMarker(const TestDevice& device)
{
    device.Device()->Clear(0, nullptr, D3DCLEAR_TARGET, Marker, 1.0f, 0);
}

const wchar_t* const LoopPath = L"C:\\Sounds\\loop.wav";

// One slide whose sound loops while it shows, with the WAV file it plays.
DocumentBuilder::Bytes SlideWithALoopingSound()
{
    WavSoundContent content;
    content.wavePath = LoopPath;
    content.waveStamp = 1;
    FlatSlide slide{0x3080C0};
    slide.soundObjects = {WavConstructorRecordBytes(content)};
    SoundClip clip;
    for (int i = 0; i < 11025; ++i)
        clip.samples.push_back(static_cast<int16_t>((i % 80) * 100 - 4000));
    TableResourceRecord record;
    record.content = EncodeWav(clip);
    record.path = LoopPath;
    return FlatSlideshow({slide}, {}, {TableRecordsEntry{LoopPath, 1, {record}}});
}

DS_WAV_Constructor& LoopOf(const ScenePlayer& player)
{
    return *dynamic_cast<DS_WAV_Constructor*>(player.Root()->slides[0]->soundObjects[0]->Constructor());
}

bool Plays(const DS_WAV_Constructor& sound)
{
    DWORD status = 0;
    return sound.buffer && SUCCEEDED(sound.buffer->GetStatus(&status)) && (status & DSBSTATUS_PLAYING);
}

HRESULT WINAPI NoSoundCard(LPCGUID, LPDIRECTSOUND8* made, LPUNKNOWN)
{
    *made = nullptr;
    return E_INVALIDARG;
}

} // namespace

class AppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, AppTestKeyPath);
        PicPosCache = PicPosCacheRecord{true, PicFill};
        ASSERT_TRUE(screen.Ok());
    }
    void TearDown() override
    {
        CurrentDevice = nullptr;
        SetSettingsKeyPath(L"");
    }

    // Another screen's device, which lives as long as the fixture: the
    // application's players hold objects made on it, and a device must not
    // outlive its window.
    const TestDevice& AddScreen(UINT width, UINT height)
    {
        extraScreens.push_back(std::make_unique<TestDevice>(width, height));
        return *extraScreens.back();
    }

    TestDevice screen{Side, Side};
    std::vector<std::unique_ptr<TestDevice>> extraScreens;
    // Last, so that it goes first, with everything it made on the devices.
    TestApp app;
};

TEST(ZAvaduVedoverovez, TakesTheProgramsTitleSettingsKeyAndADepthBuffer)
{
    {
        ZAvaduVedoverovez app;

        EXPECT_STREQ(L"Nightglass", app.windowTitle);
        EXPECT_STREQ(ProgramSettingsKeyPath, app.settingsKeyPath);
        EXPECT_STREQ(ProgramSettingsKeyPath, SettingsKeyPath);
        EXPECT_TRUE(app.wantDepthBuffer);
        EXPECT_EQ(&app, AppInstance);
        EXPECT_EQ(&app, SaverInstance);
    }
    EXPECT_EQ(nullptr, AppInstance);
    SetSettingsKeyPath(L"");
}

TEST_F(AppTest, DevicesNeedBumpMappingOverV8U8Textures)
{
    app.direct3D = screen.Direct3D();
    D3DCAPS9 caps{};
    ASSERT_EQ(S_OK, screen.Direct3D()->GetDeviceCaps(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &caps));
    D3DCAPS9 withoutBump = caps;
    withoutBump.TextureOpCaps &= ~D3DTEXOPCAPS_BUMPENVMAP;

    EXPECT_EQ(S_OK, app.CheckDeviceRequirements(caps, D3DCREATE_HARDWARE_VERTEXPROCESSING, D3DFMT_X8R8G8B8));
    EXPECT_EQ(E_FAIL, app.CheckDeviceRequirements(withoutBump, D3DCREATE_HARDWARE_VERTEXPROCESSING, D3DFMT_X8R8G8B8));
    // No V8U8 texture goes with a back buffer of no format.
    EXPECT_EQ(E_FAIL, app.CheckDeviceRequirements(caps, D3DCREATE_HARDWARE_VERTEXPROCESSING, D3DFMT_UNKNOWN));
}

// The loading frame shows the splash again: after the splash's present the
// full-screen back buffer holds nothing defined (the marker stands for it).
TEST_F(AppTest, FramesShowTheSplashThenTheSplashWhileLoadingThenPlay)
{
    const DWORD colour = 0x3080C0;
    app.players[0].UseDocument(FlatSlideshow({{colour}}));
    app.UseScreens({&screen});

    app.DrawScreen(0, 0.0f);
    const Pixels splash = screen.ReadBackBuffer();
    // The splash picture lies on a centred square of two thirds of the height.
    EXPECT_GT(splash.At(Side / 2, Side / 2).Brightness(), 20.0);
    EXPECT_TRUE(splash.AllNear(0, 0, 40, Side, Black, 0));
    EXPECT_TRUE(splash.AllNear(Side - 40, 0, Side, Side, Black, 0));
    EXPECT_FALSE(app.players[0].Loaded());

    ClearToMarker(screen);
    app.DrawScreen(0, 0.0f);
    const Pixels loading = screen.ReadBackBuffer();
    ASSERT_EQ(splash.Width(), loading.Width());
    for (int y = 0; y < Side; y += 8) {
        for (int x = 0; x < Side; x += 8)
            ASSERT_TRUE(loading.AllNear(x, y, x + 1, y + 1, splash.At(x, y), 2)) << x << "," << y;
    }
    ASSERT_TRUE(app.players[0].Root());
    EXPECT_FALSE(app.errorSet);

    app.DrawScreen(0, 1.0f);
    EXPECT_TRUE(Filled(screen.ReadBackBuffer(), colour));
    EXPECT_FALSE(app.errorSet);
}

// Releasing the screen devices releases everything the scenes made on them
// first, so that the framework's release is the devices' last: a full-screen
// device then really goes with its mode, before the error box or the exit.
TEST_F(AppTest, ReleasingTheScreenDevicesLeavesNothingOnThemAndNothingPublished)
{
    const TestDevice& second = AddScreen(Side, Side);
    ASSERT_TRUE(second.Ok());
    app.players[0].UseDocument(FlatSlideshow({{0x3080C0}}));
    app.players[1].UseDocument(FlatSlideshow({{0xC08030}}));
    const TestDevice* devices[] = {&screen, &second};
    auto references = [](const TestDevice* d) {
        d->Device()->AddRef();
        return d->Device()->Release();
    };
    ULONG before[2] = {references(devices[0]), references(devices[1])};
    app.UseScreens({&screen, &second});
    for (float time : {0.0f, 0.0f, 1.0f}) {
        app.DrawScreen(0, time);
        app.DrawScreen(1, time);
    }
    ASSERT_TRUE(app.players[0].Root());
    ASSERT_TRUE(app.players[1].Root());
    ASSERT_GT(references(devices[0]), before[0] + 1);

    app.ReleaseScreenDevices();
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(before[i], references(devices[i])) << "screen " << i;
    EXPECT_EQ(nullptr, CurrentDevice);
    EXPECT_EQ(nullptr, CurrentResManager);
    EXPECT_EQ(nullptr, CurrentResourceCache);
    EXPECT_FALSE(app.players[0].Root());
    EXPECT_FALSE(app.players[1].Root());
    // A music event that arrives afterwards finds no list to play from.
    app.OnMusicEvent(1);
}

TEST_F(AppTest, ADocumentThatDoesNotLoadIsTheErrorMediaNotFoundAndNothingMoreIsDrawn)
{
    DocumentBuilder::Bytes damaged = FlatSlideshow({{0x808080}});
    damaged.resize(damaged.size() / 2);
    app.players[0].UseDocument(damaged);
    app.UseScreens({&screen});

    app.DrawScreen(0, 0.0f);
    app.DrawScreen(0, 0.0f);

    EXPECT_TRUE(app.errorSet);
    EXPECT_EQ(MediaNotFound, app.errorCode);
    ClearToMarker(screen);
    app.DrawScreen(0, 1.0f);
    EXPECT_TRUE(screen.ReadBackBuffer().AllNear(0, 0, Side, Side, Rgba::FromArgb(Marker), 0));
}

TEST_F(AppTest, SelectingAScreenPublishesItsPlayersDeviceDocumentAndCache)
{
    const TestDevice& second = AddScreen(Side, Side);
    ASSERT_TRUE(second.Ok());
    const DWORD colours[] = {0x3080C0, 0xC08030};
    app.players[0].UseDocument(FlatSlideshow({{colours[0]}}));
    app.players[1].UseDocument(FlatSlideshow({{colours[1]}}));
    app.UseScreens({&screen, &second});

    // A screen whose document is not loaded yet publishes none, never the
    // other screen's.
    app.DrawScreen(0, 0.0f);
    app.DrawScreen(0, 0.0f);
    ASSERT_TRUE(app.players[0].ResourceManager());
    app.SelectScreenDevice(1);
    EXPECT_EQ(second.Device(), CurrentDevice);
    EXPECT_EQ(nullptr, CurrentResManager);
    EXPECT_EQ(nullptr, CurrentResourceCache);

    // Splash, load and a first show frame on both, as the frame loop goes.
    for (float time : {0.0f, 0.0f, 1.0f})
        for (int i = 0; i < 2; ++i)
            app.DrawScreen(i, time);

    const TestDevice* devices[] = {&screen, &second};
    ASSERT_TRUE(app.players[0].ResourceManager());
    ASSERT_TRUE(app.players[1].ResourceManager());
    for (int i : {1, 0, 1}) {
        SCOPED_TRACE(i);
        app.SelectScreenDevice(i);
        EXPECT_EQ(&app.players[i], app.currentPlayer);
        EXPECT_EQ(devices[i]->Device(), CurrentDevice);
        EXPECT_EQ(app.players[i].ResourceManager(), CurrentResManager);
        EXPECT_EQ(&app.players[i].ResourceManager()->Cache(), CurrentResourceCache);
        EXPECT_TRUE(Filled(devices[i]->ReadBackBuffer(), colours[i]));
    }
}

// Two screens of different shapes in Fit mode, drawn one after the other as
// the frame loop does: each shows the square picture between black side
// borders of its own width, placed for its own back buffer.
TEST_F(AppTest, EachScreenDrawsWithItsOwnPlacementAndBorders)
{
    const TestDevice& wide = AddScreen(256, 144);
    const TestDevice& standard = AddScreen(256, 192);
    ASSERT_TRUE(wide.Ok());
    ASSERT_TRUE(standard.Ok());
    PicPosCache = PicPosCacheRecord{true, PicFit};
    const DWORD colours[] = {0x3080C0, 0xC08030};
    app.players[0].UseDocument(FlatSlideshow({{colours[0]}}));
    app.players[1].UseDocument(FlatSlideshow({{colours[1]}}));
    app.UseScreens({&standard, &wide});

    // The square picture fitted: 192 pixels wide from x = 32 on the 4:3
    // screen, 144 wide from x = 56 on the 16:9 one.
    const struct {
        const TestDevice* device;
        int height, left, right;
    } screens[] = {{&standard, 192, 32, 224}, {&wide, 144, 56, 200}};
    for (float time : {0.0f, 0.0f, 1.0f, 2.0f}) {
        for (int i = 0; i < 2; ++i) {
            app.DrawScreen(i, time);
            if (time > 0.0f) {
                EXPECT_FLOAT_EQ(static_cast<float>(screens[i].left), CurrentPictureMapping.fittedPicture.Left())
                    << "screen " << i;
            }
        }
    }

    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const Pixels frame = screens[i].device->ReadBackBuffer();
        const Rgba picture = Rgba::FromArgb(0xFF000000 | colours[i]);
        const int left = screens[i].left;
        const int right = screens[i].right;
        const int height = screens[i].height;
        EXPECT_TRUE(frame.AllNear(0, 0, left - 1, height, Black, 0));
        EXPECT_TRUE(frame.AllNear(left + 2, 0, right - 2, height, picture, 3));
        EXPECT_TRUE(frame.AllNear(right + 2, 0, Side, height, Black, 0));
    }
}

TEST_F(AppTest, InvalidatingTheDeviceReleasesEverySlidesDefaultPoolObjects)
{
    app.players[0].UseDocument(FlatSlideshow({{0x3080C0}, {0xC08030}}));
    app.UseScreens({&screen});
    for (float time : {0.0f, 0.0f, 1.0f})
        app.DrawScreen(0, time);
    ASSERT_TRUE(app.players[0].Root());
    DS_2D_Light& layer = *app.players[0].Root()->currentSlide->layer;
    ASSERT_TRUE(layer.targetPair.textures[0]);

    app.SelectScreenDevice(0);
    EXPECT_EQ(S_OK, app.OnDeviceInvalidated());

    for (const CountedPtr<DS_SlideContainer>& slide : app.players[0].Root()->slides) {
        EXPECT_FALSE(slide->layer->targetPair.textures[0]);
        EXPECT_FALSE(slide->layer->targetPair.textures[1]);
        EXPECT_FALSE(slide->layer->sceneTexture);
    }
    // Nothing of the scene is left in the default pool to hold the reset up.
    EXPECT_EQ(S_OK, screen.Reset());
}

TEST_F(AppTest, InvalidatingTheDeviceStopsThePrimarySoundBufferAtFullVolume)
{
    ASSERT_EQ(DS_OK, DirectSoundCreate8(nullptr, &SoundDevice, nullptr));
    ASSERT_EQ(DS_OK, SoundDevice->SetCooperativeLevel(screen.Window(), DSSCL_NORMAL));
    DSBUFFERDESC description{};
    description.dwSize = sizeof description;
    description.dwFlags = DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRLVOLUME;
    ASSERT_EQ(DS_OK, SoundDevice->CreateSoundBuffer(&description, &PrimarySoundBuffer, nullptr));
    PrimarySoundBuffer->SetVolume(-3000);
    ASSERT_EQ(DS_OK, PrimarySoundBuffer->Play(0, 0, DSBPLAY_LOOPING));
    app.UseScreens({&screen});
    app.SelectScreenDevice(0);

    EXPECT_EQ(S_OK, app.OnDeviceInvalidated());

    LONG volume = -1;
    DWORD status = 0;
    EXPECT_EQ(DS_OK, PrimarySoundBuffer->GetVolume(&volume));
    EXPECT_EQ(0, volume);
    EXPECT_EQ(DS_OK, PrimarySoundBuffer->GetStatus(&status));
    EXPECT_FALSE(status & DSBSTATUS_PLAYING);
    ReleasePrimarySoundBuffer();
    ReleaseDirectSound();
}

// The error box replaces the show: no sound plays on under it, though the
// primary buffer's volume goes back to full, muted or not. Before that, a
// reset only pauses the sounds, which play on after it.
TEST_F(AppTest, NoSoundPlaysUnderTheErrorBox)
{
    for (DWORD mute : {0u, 1u}) {
        SCOPED_TRACE(mute);
        WriteMuteSound(mute);
        TestApp shown;
        shown.mainWindow = screen.Window();
        shown.players[0].UseDocument(SlideWithALoopingSound());
        shown.UseScreens({&screen});
        shown.SelectScreenDevice(0);
        shown.OnDeviceRestored();
        ASSERT_TRUE(SoundDevice && PrimarySoundBuffer);
        for (float time : {0.0f, 0.0f, 1.0f})
            shown.DrawScreen(0, time);
        DS_WAV_Constructor& loop = LoopOf(shown.players[0]);
        ASSERT_TRUE(Plays(loop));

        shown.SelectScreenDevice(0);
        shown.OnDeviceInvalidated();
        EXPECT_FALSE(Plays(loop));
        shown.OnDeviceRestored();
        EXPECT_TRUE(Plays(loop));

        shown.SetError(MediaNotFound);
        shown.AnimateErrorBox();

        EXPECT_EQ(0, shown.screenDeviceCount);
        EXPECT_FALSE(Plays(loop));
        LONG volume = -1;
        DWORD status = 0;
        EXPECT_EQ(DS_OK, PrimarySoundBuffer->GetVolume(&volume));
        EXPECT_EQ(0, volume);
        EXPECT_EQ(DS_OK, PrimarySoundBuffer->GetStatus(&status));
        EXPECT_FALSE(status & DSBSTATUS_PLAYING);
    }
    ReleasePrimarySoundBuffer();
    ReleaseDirectSound();
}

// Without a sound card the show goes on silent, and the start is tried again
// at the next restore.
TEST_F(AppTest, ASoundDeviceThatDoesNotStartIsTriedAgainAtTheNextRestore)
{
    ReleasePrimarySoundBuffer();
    ReleaseDirectSound();
    app.mainWindow = screen.Window();
    app.players[0].UseDocument(SlideWithALoopingSound());
    app.UseScreens({&screen});
    UseSoundDeviceFactoryForTesting(NoSoundCard);
    app.SelectScreenDevice(0);
    EXPECT_EQ(S_OK, app.OnDeviceRestored());
    EXPECT_FALSE(SoundDevice);
    for (float time : {0.0f, 0.0f, 1.0f})
        app.DrawScreen(0, time);
    ASSERT_TRUE(app.players[0].Root());
    EXPECT_FALSE(LoopOf(app.players[0]).buffer);
    EXPECT_FALSE(app.errorSet);

    UseSoundDeviceFactoryForTesting(nullptr);
    app.SelectScreenDevice(0);
    EXPECT_EQ(S_OK, app.OnDeviceRestored());
    EXPECT_TRUE(SoundDevice && PrimarySoundBuffer);
    EXPECT_FALSE(app.errorSet);
    ReleasePrimarySoundBuffer();
    ReleaseDirectSound();
}

// A reset in the middle of the show: the frame right after it draws the
// current slide whole, with its layer's device objects and state made again.
TEST_F(AppTest, TheFrameAfterAResetShowsTheCurrentSlide)
{
    const DWORD colour = 0x3080C0;
    app.players[0].UseDocument(FlatSlideshow({{colour}, {0xC08030}}));
    app.UseScreens({&screen});
    ApplicationClock.Start();
    for (int frame = 0; frame < 3; ++frame)
        app.DrawAllScreens();
    ASSERT_EQ(3u, app.presented.size());
    ASSERT_TRUE(Filled(app.presented.back(), colour));
    const DS_SlideContainer* shown = app.players[0].Root()->currentSlide.Get();

    app.cooperativeLevels = {D3DERR_DEVICENOTRESET};
    app.DrawAllScreens();

    EXPECT_FALSE(app.errorSet);
    EXPECT_TRUE(app.screenDevices[0].objectsRestored);
    EXPECT_EQ(shown, app.players[0].Root()->currentSlide.Get());
    ASSERT_EQ(4u, app.presented.size());
    EXPECT_TRUE(Filled(app.presented.back(), colour));
    EXPECT_TRUE(app.players[0].Root()->currentSlide->layer->targetPair.textures[0]);
}

// The program's manifest (this test embeds the program's resources): the
// process is aware of each monitor's DPI, so that monitor rectangles and
// window coordinates agree on scaled displays, and its dialogs get the
// version 6 common controls.
TEST(ProgramManifest, MakesTheProcessPerMonitorDpiAwareWithCommonControls6)
{
    EXPECT_TRUE(IsProcessDPIAware());
    using GetContext = HANDLE(WINAPI*)();
    using GetAwareness = int(WINAPI*)(HANDLE);
    HMODULE user = GetModuleHandleW(L"user32.dll");
    const auto context = reinterpret_cast<GetContext>(
        reinterpret_cast<void*>(GetProcAddress(user, "GetThreadDpiAwarenessContext")));
    const auto awareness = reinterpret_cast<GetAwareness>(
        reinterpret_cast<void*>(GetProcAddress(user, "GetAwarenessFromDpiAwarenessContext")));
    ASSERT_TRUE(context && awareness) << "a Windows without per-monitor awareness";
    const int PerMonitorAware = 2;
    EXPECT_EQ(PerMonitorAware, awareness(context()));

    // The side-by-side assembly of version 6, not the system folder's
    // version 5 (this Wine's version 6 still reports 5.81 from DllGetVersion).
    HMODULE controls = GetModuleHandleW(L"comctl32.dll");
    ASSERT_TRUE(controls);
    wchar_t path[MAX_PATH] = {};
    ASSERT_NE(0u, GetModuleFileNameW(controls, path, MAX_PATH));
    std::wstring lowered(path);
    CharLowerW(&lowered[0]);
    EXPECT_NE(std::wstring::npos, lowered.find(L"\\winsxs\\")) << path;
    EXPECT_NE(std::wstring::npos, lowered.find(L"common-controls_6595b64144ccf1df_6.0.")) << path;
}
