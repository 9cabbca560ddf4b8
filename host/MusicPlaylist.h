// The show's music: the audio files of a player's document played one after
// the other through the music graph, each written to the temporary folder
// first when the place it was stored at does not exist on this computer.
#pragma once

#include "foundation/Types.h"
#include "scene/slideshow/DS_AudioFile.h"
#include "scene/slideshow/DS_SlideShow_Light.h"

#include <cstddef>

// A player's list of tracks and the one to play next; no list until the
// player's document is loaded.
struct MusicPlaylist {
    DS_SlideShow_Light::AudioVector* files = nullptr;
    std::size_t position = 0;
};

// Plays the first of the files, when there are any.
void StartPlaylist(MusicPlaylist& playlist, DS_SlideShow_Light::AudioVector& files);
// The graph's event code: the end of a track (EC_COMPLETE) starts the next
// one, the first after the last; a list of one track rewinds it instead.
// Anything else, and a playlist without files, changes nothing.
void PlayNextTrack(MusicPlaylist& playlist, int code);
// On a graph made anew (after a device reset took the old one), the track
// that was playing starts again from its beginning; the list then goes on
// from it as before. A playlist not started yet, or without files, plays
// nothing.
void ResumePlaylist(MusicPlaylist& playlist);

// The graph rebuilt for the file's path and started; the music settings are
// read afterwards by the caller.
void PlayAudioFile(DS_AudioFile& audio);

// The embedded bytes of an audio file, when it has any: when its stored path
// exists the bytes go and that file plays; otherwise they are written to the
// temporary folder under the stored file name, which becomes the file's path
// even when the write fails. A stored name that is no safe file name of that
// folder is not written at all.
void ExtractAudioToTemp(DS_AudioFile& audio);
// The name the temporary copy of a stored path takes: the text after its last
// backslash, slash or drive colon. Empty when that is no plain file name of
// one folder: empty, "." or "..", a character Windows does not allow in file
// names, a trailing dot or blank, a device name such as "CON" or "COM1.wav",
// or longer than a path can be.
ds_string SafeTempFileName(const ds_string& storedPath);
