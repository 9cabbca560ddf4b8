// The process's one DirectShow filter graph, which plays the show's music,
// and the operations on it. The graph is made for the full-screen show and
// the test window; without it every operation does nothing. Events of the
// graph reach the main window as the message MusicEventMessage.
#pragma once

#include "foundation/core/Types.h"
#include "foundation/core/ComHolder.h"
#include "host/framework/ShowMusic.h"

#include <windows.h>
// dshow.h brings in strsafe.h, which would otherwise mark the C string
// functions deprecated in every file that includes this one.
#ifndef STRSAFE_NO_DEPRECATE
#define STRSAFE_NO_DEPRECATE
#endif
#include <dshow.h>

// All null when there is no graph; made together, released together.
extern ComHolder<IGraphBuilder> MusicGraph;
extern ComHolder<IMediaControl> MusicControl;
extern ComHolder<IMediaSeeking> MusicSeeking;
extern ComHolder<IMediaEventEx> MusicEvents;
extern ComHolder<IBasicAudio> MusicAudio;

// Makes the graph and its interfaces and has its events posted to the window.
// False at the first step that fails, keeping what was made so far. COM is
// started on the thread by the first call only, and ends at exit.
bool InitMusicGraph(HWND window);
// Releases the interfaces, the graph last, each left null.
void ReleaseMusicGraph();

// Stops the graph and takes out every filter of the track before, so that
// the graph never holds more than the one track it plays.
void ClearMusicGraph();
// Plays the file through the source filter the graph made for it: the
// "Output" pin rendered, the graph rewound and run. False when a step fails
// (or throws): the caller then lets the graph render the file itself.
bool PlayThroughSourceFilter(IBaseFilter* source);
// Lets the graph render the whole file and runs it; false without a graph or
// when the file cannot be rendered.
bool RenderMusicFile(const ds_string& path);
// The track that ended starts again.
void RewindMusic();
// The music's volume from the music settings: silent when muted, else 40
// hundredths of a decibel less for each step below 100. The balance stays
// the graph's.
void ApplyMusicVolume(bool muted);
// One event of the graph, freed; its code, or -1 when there is none.
int GetMusicEvent();

// The show's music for the framework: the graph made, released and asked for
// its events through the operations above.
ShowMusic& GraphMusic();
