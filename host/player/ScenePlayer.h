// The scene player of one screen: the splash picture on the screen's first
// frame, the scene document read on its second, and from then on the
// document's root updated and drawn every frame. Each player owns its own
// document, so every texture, effect and mesh stays on its screen's device.
#pragma once

#include "foundation/render/SceneView.h"
#include "foundation/render/TexturedQuad.h"
#include "foundation/resources/DS_DocResManager.h"
#include "host/music/MusicPlaylist.h"
#include "scene/slideshow/DS_SlideShow_Light.h"

#include <windows.h>
#include <d3d9.h>

#include <cstdint>
#include <memory>
#include <vector>

class ScenePlayer;

// What the players of one process share: the show's music is one playlist
// whatever the number of screens, and only one player's sound objects are
// heard, so that each sound plays once and in step.
struct ShowSound {
    // Off where the show plays no music (the preview): no copy of it is
    // written either.
    bool playsMusic = true;
    // The first player to load its document: its music plays and its
    // sounds are heard; the others keep theirs silent.
    const ScenePlayer* heardPlayer = nullptr;
    MusicPlaylist playlist;
};

class ScenePlayer {
public:
    ScenePlayer() = default;
    // The root goes before the resource manager that its objects came from;
    // the scene view is handed back its own borders when it holds these.
    ~ScenePlayer();
    ScenePlayer(const ScenePlayer&) = delete;
    ScenePlayer& operator=(const ScenePlayer&) = delete;

    // The screen was selected: device becomes CurrentDevice, this player's
    // manager CurrentResManager with its cache CurrentResourceCache (none
    // before the document is loaded), and its border quads those of the
    // scene view.
    void MakeCurrent(IDirect3DDevice9* device);

    // One frame of this player's screen at the application time: the splash,
    // then the load (nothing drawn), then the show. MediaNotFound when the
    // document could not be loaded: the host's error state, after which the
    // host draws no more frames.
    HRESULT RunFrame(float appTime);

    // The splash picture, centred on black. A scene that does not begin
    // leaves the splash to be tried again on the next frame.
    void ShowSplash();
    // Draws the splash again, as the loading frame's picture: after a
    // present the back buffer holds nothing defined.
    void RedrawSplash();
    // Reads the document, builds every slide's objects, applies the picture
    // position and sets the sound volume. The first player of the shared
    // sound to load also writes out the music that is not on this computer
    // and starts it; any later one silences its sound objects. Runs once,
    // even when it fails.
    HRESULT LoadAndStartScene();
    void UpdatePlayer(float time);
    // The root's frame between BeginScene and EndScene.
    void RenderPlayer();

    // Around a device reset: the slides' layers let go of their default-pool
    // objects, and the current one makes them again.
    void OnDeviceInvalidated();
    void OnDeviceRestored();
    // The screen's device is going: everything made on it goes first (the
    // document with its textures, buffers and effects, the splash and the
    // borders), so that releasing the device destroys it, and nothing of it
    // stays published. The player draws nothing more; its music list goes
    // with the document.
    void ReleaseScene();

    // The sound objects of every slide, stopped where they are while the
    // screens are reset or for good when they go, and played on after a
    // reset.
    void PauseSounds();
    void ResumeSounds();

    // Plays its music and sound with the other players of the process; a
    // player on its own has a share of its own. Must be given before the
    // load, and outlive the player.
    void ShareShowSound(ShowSound& shared) { showSound = &shared; }
    bool Heard() const { return showSound->heardPlayer == this; }
    // Plays these bytes in place of the program's embedded document (tests
    // and tools); must be given before the load.
    void UseDocument(std::vector<uint8_t> bytes) { documentBytes = std::move(bytes); }

    DS_SlideShow_Light* Root() const { return root.get(); }
    DS_DocResManager* ResourceManager() const { return resourceManager.get(); }
    bool Loaded() const { return loaded; }
    bool SplashShown() const { return splashShown; }

    // The document's music and the track to play next; the shared one.
    MusicPlaylist& Playlist() { return showSound->playlist; }

private:
    // The splash over a black clear; false when the scene did not begin.
    bool DrawSplash();

    void SilenceSounds();
    // The player's document is going: the shared sound forgets it.
    void LeaveSharedSound();

    ShowSound ownShowSound;
    ShowSound* showSound = &ownShowSound;
    TexturedQuad splashQuad;
    // The scene view's Fit borders on this screen's device.
    SceneBorders borders;
    std::unique_ptr<DS_SlideShow_Light> root;
    std::unique_ptr<DS_DocResManager> resourceManager;
    // Set as the load starts, so that it never runs twice.
    bool loaded = false;
    bool splashShown = false;
    std::vector<uint8_t> documentBytes;
};
