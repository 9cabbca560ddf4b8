// The show's music: the audio files of a document played one after the other
// through the music graph, each written to a folder of the program's own
// under the temporary folder first when the place it was stored at does not
// exist on this computer. One playlist plays per process, however many
// screens show the document.
#pragma once

#include "foundation/core/Types.h"
#include "scene/slideshow/DS_AudioFile.h"
#include "scene/slideshow/DS_SlideShow_Light.h"

#include <cstddef>

// A player's list of tracks and the one to play next; no list until the
// player's document is loaded.
struct MusicPlaylist {
    DS_SlideShow_Light::AudioVector* files = nullptr;
    std::size_t position = 0;
    // Tracks that could not be played or broke off, one after the other,
    // since the last that played to its end; once every track has, the
    // music stops instead of going round them for ever.
    std::size_t failuresInARow = 0;
};

// Plays the first of the files, when there are any. A track that cannot be
// played gives way to the next, here and wherever a track starts.
void StartPlaylist(MusicPlaylist& playlist, DS_SlideShow_Light::AudioVector& files);
// The graph's event code: the end of a track (EC_COMPLETE) starts the next
// one, the first after the last; a list of one track rewinds it instead. A
// track that broke off (EC_ERRORABORT) is followed by the next as well.
// Anything else, and a playlist without files, changes nothing.
void PlayNextTrack(MusicPlaylist& playlist, int code);
// On a graph made anew (after a device reset took the old one), the track
// that was playing starts again from its beginning; the list then goes on
// from it as before. A playlist not started yet, or without files, plays
// nothing.
void ResumePlaylist(MusicPlaylist& playlist);

// The graph rebuilt for the file's path and started; false when the file
// could not be rendered. The music settings are read afterwards by the
// caller.
bool PlayAudioFile(DS_AudioFile& audio);

// The embedded bytes of the audio file at this entry of its list, when it has
// any: when its stored path exists the bytes go and that file plays;
// otherwise they are written whole into MusicCopyFolder under a name of the
// entry's own (its number before the stored file name), which becomes the
// file's path. A file already there under that name is used when it holds
// the same bytes and is never written over otherwise (the next number is
// tried), nor followed when it is a link. A stored name that is no safe file
// name, or a copy that cannot be written whole, leaves the stored path.
void ExtractAudioToTemp(DS_AudioFile& audio, std::size_t entry);
// The program's folder for the copies under the user's temporary folder,
// made when it is not there, with its trailing backslash; empty when there is
// none to use (a link in its place among them).
ds_string MusicCopyFolder();
// For tests only: every write of a copy stops after this many bytes with a
// full disk; negative writes in full.
void LimitMusicCopyWritesForTesting(long long bytes);
// The name the temporary copy of a stored path takes: the text after its last
// backslash, slash or drive colon. Empty when that is no plain file name of
// one folder: empty, "." or "..", a character Windows does not allow in file
// names, a trailing dot or blank, a device name such as "CON", "COM0.wav" or
// "LPT¹", or longer than a path can be.
ds_string SafeTempFileName(const ds_string& storedPath);
