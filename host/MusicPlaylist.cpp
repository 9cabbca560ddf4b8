#include "host/MusicPlaylist.h"

#include "host/MusicGraph.h"
#include "host/Settings.h"

#include <shlwapi.h>

#include <algorithm>
#include <cwctype>

namespace {

// Reserved by Windows in every folder, with or without an extension.
const wchar_t* const DeviceNames[] = {L"CON",  L"PRN",  L"AUX",  L"NUL",  L"COM1", L"COM2", L"COM3", L"COM4",
                                      L"COM5", L"COM6", L"COM7", L"COM8", L"COM9", L"LPT1", L"LPT2", L"LPT3",
                                      L"LPT4", L"LPT5", L"LPT6", L"LPT7", L"LPT8", L"LPT9", L"CONIN$", L"CONOUT$"};

const wchar_t* const ForbiddenCharacters = L"<>:\"/\\|?*";

bool IsDeviceName(const ds_string& name)
{
    ds_string stem = name.substr(0, name.find(L'.'));
    // Windows also ignores blanks before the extension.
    while (!stem.empty() && stem.back() == L' ')
        stem.pop_back();
    for (wchar_t& c : stem)
        c = static_cast<wchar_t>(std::towupper(c));
    return std::any_of(std::begin(DeviceNames), std::end(DeviceNames),
                       [&](const wchar_t* device) { return stem == device; });
}

bool HasForbiddenCharacter(const ds_string& name)
{
    return std::any_of(name.begin(), name.end(),
                       [](wchar_t c) { return c < 32 || std::wcschr(ForbiddenCharacters, c) != nullptr; });
}

ds_string TempFolder()
{
    wchar_t folder[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH)
        return {};
    return ds_string(folder, length);
}

// Creates or truncates the file and writes the bytes.
void WriteWholeFile(const ds_string& path, const uint8_t* bytes, int32_t size)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr);
    CloseHandle(file);
}

} // namespace

ds_string SafeTempFileName(const ds_string& storedPath)
{
    const std::size_t cut = storedPath.find_last_of(L"\\/:");
    const ds_string name = cut == ds_string::npos ? storedPath : storedPath.substr(cut + 1);
    if (name.empty() || name == L"." || name == L".." || name.size() >= MAX_PATH)
        return {};
    if (name.back() == L'.' || name.back() == L' ')
        return {};
    if (HasForbiddenCharacter(name) || IsDeviceName(name))
        return {};
    return name;
}

void ExtractAudioToTemp(DS_AudioFile& audio)
{
    FileRecord& file = audio.file;
    if (file.Size() <= 0)
        return;
    if (PathFileExistsW(file.path.c_str())) {
        file.ReleaseBytes();
        return;
    }
    const ds_string name = SafeTempFileName(file.path);
    const ds_string folder = TempFolder();
    if (name.empty() || folder.empty() || folder.size() + name.size() >= MAX_PATH) {
        // Nowhere safe to write it: the stored path stays, and will not play.
        file.ReleaseBytes();
        return;
    }
    const ds_string target = folder + name;
    WriteWholeFile(target, file.Bytes(), file.Size());
    // Even when the write failed (another screen's player may be playing the
    // copy it wrote), the copy's path is the one to play.
    file.Repoint(target);
    file.ReleaseBytes();
}

void PlayAudioFile(DS_AudioFile& audio)
{
    const ds_string path = audio.file.path;
    ComHolder<IBaseFilter> source;
    if (MusicGraph) {
        ClearMusicGraph();
        if (FAILED(MusicGraph->AddSourceFilter(path.c_str(), path.c_str(), source.Out())))
            source.Release();
    }
    if (PlayThroughSourceFilter(source.Get()))
        return;
    // Whatever the failed attempt left in the graph goes before the graph
    // tries the file its own way.
    source.Release();
    ClearMusicGraph();
    RenderMusicFile(path);
}

namespace {

void PlayTrackAtPosition(MusicPlaylist& playlist)
{
    PlayAudioFile(*(*playlist.files)[playlist.position]);
    ReadMusicSettings();
    ApplyMusicVolume(MusicSettings.mute != 0);
    ++playlist.position;
}

} // namespace

void StartPlaylist(MusicPlaylist& playlist, DS_SlideShow_Light::AudioVector& files)
{
    playlist.files = &files;
    playlist.position = 0;
    if (!files.empty())
        PlayTrackAtPosition(playlist);
}

void PlayNextTrack(MusicPlaylist& playlist, int code)
{
    if (code != EC_COMPLETE || !playlist.files)
        return;
    if (playlist.position >= playlist.files->size()) {
        if (playlist.files->size() == 1) {
            RewindMusic();
            return;
        }
        playlist.position = 0;
    }
    if (playlist.position < playlist.files->size())
        PlayTrackAtPosition(playlist);
}

void ResumePlaylist(MusicPlaylist& playlist)
{
    // The position names the track after the one playing.
    if (!playlist.files || playlist.position == 0 || playlist.position > playlist.files->size())
        return;
    --playlist.position;
    PlayTrackAtPosition(playlist);
}
