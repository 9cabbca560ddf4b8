#include "host/music/MusicPlaylist.h"

#include "host/framework/Settings.h"
#include "host/music/MusicGraph.h"

#include <shlwapi.h>

#include <algorithm>
#include <cstring>
#include <cwctype>
#include <string>
#include <vector>

namespace {

// Reserved by Windows in every folder, with or without an extension. The
// digits of the serial and parallel ports include 0 and the superscripts one
// to three.
const wchar_t* const DeviceNames[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
const wchar_t* const PortNames[] = {L"COM", L"LPT"};
const wchar_t* const PortDigits = L"0123456789\u00B9\u00B2\u00B3";

const wchar_t* const ForbiddenCharacters = L"<>:\"/\\|?*";

// The program's own folder under the user's temporary folder.
const wchar_t* const CopyFolderName = L"Nightglass\\";
// Names tried for one entry before it is given up: a file of the same name
// that holds something else is never written over.
const int CopyNameTries = 100;
const DWORD ReadChunk = 1 << 16;

// Writes stop with a full disk after this many bytes of each file; negative:
// never (tests only).
long long WriteLimitForTesting = -1;

bool IsPortName(const ds_string& stem)
{
    return stem.size() == 4 && std::wcschr(PortDigits, stem[3]) != nullptr &&
           std::any_of(std::begin(PortNames), std::end(PortNames),
                       [&](const wchar_t* port) { return stem.compare(0, 3, port) == 0; });
}

bool IsDeviceName(const ds_string& name)
{
    ds_string stem = name.substr(0, name.find(L'.'));
    // Windows also ignores blanks before the extension.
    while (!stem.empty() && stem.back() == L' ')
        stem.pop_back();
    for (wchar_t& c : stem)
        c = static_cast<wchar_t>(std::towupper(c));
    return IsPortName(stem) || std::any_of(std::begin(DeviceNames), std::end(DeviceNames),
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

bool IsPlainFile(const BY_HANDLE_FILE_INFORMATION& info)
{
    return !(info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
}

// Whether the file at the path (never followed through a link) holds exactly
// these bytes: a copy written before, by this program or another screen's run.
bool HoldsBytes(const ds_string& path, const uint8_t* bytes, int32_t size)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION info{};
    bool same = GetFileInformationByHandle(file, &info) && IsPlainFile(info) && info.nFileSizeHigh == 0 &&
                info.nFileSizeLow == static_cast<DWORD>(size);
    std::vector<uint8_t> chunk(same ? std::min<DWORD>(ReadChunk, static_cast<DWORD>(size)) : 0);
    for (DWORD done = 0; same && done < static_cast<DWORD>(size);) {
        DWORD read = 0;
        const DWORD wanted = std::min<DWORD>(static_cast<DWORD>(chunk.size()), static_cast<DWORD>(size) - done);
        same = ReadFile(file, chunk.data(), wanted, &read, nullptr) && read == wanted &&
               std::memcmp(chunk.data(), bytes + done, read) == 0;
        done += read;
    }
    CloseHandle(file);
    return same;
}

bool WriteAll(HANDLE file, const uint8_t* bytes, int32_t size)
{
    DWORD done = 0;
    while (done < static_cast<DWORD>(size)) {
        DWORD wanted = static_cast<DWORD>(size) - done;
        bool limited = false;
        if (WriteLimitForTesting >= 0 && done + static_cast<long long>(wanted) > WriteLimitForTesting) {
            wanted = static_cast<DWORD>(std::max<long long>(0, WriteLimitForTesting - done));
            limited = true;
        }
        DWORD written = 0;
        if (wanted > 0 && !WriteFile(file, bytes + done, wanted, &written, nullptr))
            return false;
        if (limited) {
            SetLastError(ERROR_DISK_FULL);
            return false;
        }
        // A write that takes nothing and reports no error would loop forever.
        if (written == 0)
            return false;
        done += written;
    }
    return true;
}

enum class Written { Done, NameTaken, Failed };

// Creates the file, which must not exist yet (a link of that name counts as
// existing, and is not followed), and writes every byte. A file that could
// not be written whole is deleted again: it is this program's own.
Written WriteNewFile(const ds_string& path, const uint8_t* bytes, int32_t size)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? Written::NameTaken : Written::Failed;
    }
    bool whole = WriteAll(file, bytes, size);
    whole = CloseHandle(file) && whole;
    if (!whole) {
        DeleteFileW(path.c_str());
        return Written::Failed;
    }
    return Written::Done;
}

// The copy's name for the entry at this place in the list: the entry's number
// (and, when a file that holds something else has that name, a try number)
// before the stored name, which keeps its extension last so that the music
// graph still knows the file's type from it.
ds_string CopyName(std::size_t entry, int attempt, const ds_string& name)
{
    ds_string prefix = std::to_wstring(entry + 1) + L"-";
    if (attempt > 0)
        prefix += std::to_wstring(attempt + 1) + L"-";
    return prefix + name;
}

// The path of a whole copy of the bytes in the folder: one written now, or
// one found there with exactly these bytes. Empty when none could be had.
ds_string WriteCopy(const ds_string& folder, std::size_t entry, const ds_string& name, const uint8_t* bytes,
                    int32_t size)
{
    for (int attempt = 0; attempt < CopyNameTries; ++attempt) {
        const ds_string target = folder + CopyName(entry, attempt, name);
        if (target.size() >= MAX_PATH)
            return {};
        switch (WriteNewFile(target, bytes, size)) {
        case Written::Done:
            return target;
        case Written::Failed:
            return {};
        case Written::NameTaken:
            if (HoldsBytes(target, bytes, size))
                return target;
            break;
        }
    }
    return {};
}

} // namespace

ds_string MusicCopyFolder()
{
    const ds_string temp = TempFolder();
    if (temp.empty())
        return {};
    const ds_string folder = temp + CopyFolderName;
    if (folder.size() >= MAX_PATH)
        return {};
    if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return {};
    // A link in its place would lead the copies somewhere else.
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY) ||
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return {};
    return folder;
}

void LimitMusicCopyWritesForTesting(long long bytes) { WriteLimitForTesting = bytes; }

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

void ExtractAudioToTemp(DS_AudioFile& audio, std::size_t entry)
{
    FileRecord& file = audio.file;
    if (file.Size() <= 0)
        return;
    if (PathFileExistsW(file.path.c_str())) {
        file.ReleaseBytes();
        return;
    }
    const ds_string name = SafeTempFileName(file.path);
    const ds_string folder = name.empty() ? ds_string() : MusicCopyFolder();
    const ds_string copy = folder.empty() ? ds_string() : WriteCopy(folder, entry, name, file.Bytes(), file.Size());
    // Without a whole copy the stored path stays: the play attempt fails and
    // the list goes on to the next entry.
    if (copy.empty()) {
        file.ReleaseBytes();
        return;
    }
    file.Repoint(copy);
    file.ReleaseBytes();
}

bool PlayAudioFile(DS_AudioFile& audio)
{
    const ds_string path = audio.file.path;
    ComHolder<IBaseFilter> source;
    if (MusicGraph) {
        ClearMusicGraph();
        if (FAILED(MusicGraph->AddSourceFilter(path.c_str(), path.c_str(), source.Out())))
            source.Release();
    }
    if (PlayThroughSourceFilter(source.Get()))
        return true;
    // Whatever the failed attempt left in the graph goes before the graph
    // tries the file its own way.
    source.Release();
    ClearMusicGraph();
    return RenderMusicFile(path);
}

namespace {

bool EveryTrackFailed(const MusicPlaylist& playlist) { return playlist.failuresInARow >= playlist.files->size(); }

// Plays the entry at the position, or, when it cannot be played, the ones
// after it in turn, until one plays or every entry has failed since the last
// track that played to its end; the position is then past the entry tried
// last.
void PlayTrackAtPosition(MusicPlaylist& playlist)
{
    while (!EveryTrackFailed(playlist)) {
        if (playlist.position >= playlist.files->size())
            playlist.position = 0;
        const bool played = PlayAudioFile(*(*playlist.files)[playlist.position]);
        ++playlist.position;
        if (played) {
            ReadMusicSettings();
            ApplyMusicVolume(MusicSettings.mute != 0);
            return;
        }
        // Without a graph nothing plays, and no track is to blame.
        if (!MusicGraph)
            return;
        ++playlist.failuresInARow;
    }
}

} // namespace

void StartPlaylist(MusicPlaylist& playlist, DS_SlideShow_Light::AudioVector& files)
{
    playlist.files = &files;
    playlist.position = 0;
    playlist.failuresInARow = 0;
    if (!files.empty())
        PlayTrackAtPosition(playlist);
}

void PlayNextTrack(MusicPlaylist& playlist, int code)
{
    if (!playlist.files || playlist.files->empty())
        return;
    if (code == EC_COMPLETE) {
        playlist.failuresInARow = 0;
        if (playlist.position >= playlist.files->size() && playlist.files->size() == 1) {
            RewindMusic();
            return;
        }
    } else if (code == EC_ERRORABORT || code == EC_ERRORABORTEX) {
        // The track broke off while it played: the next one follows, unless
        // every one has failed in a row, which would only go round and
        // round.
        ++playlist.failuresInARow;
        if (EveryTrackFailed(playlist)) {
            if (MusicControl)
                MusicControl->Stop();
            return;
        }
    } else {
        return;
    }
    PlayTrackAtPosition(playlist);
}

void ResumePlaylist(MusicPlaylist& playlist)
{
    // The position names the track after the one playing.
    if (!playlist.files || playlist.position == 0 || playlist.position > playlist.files->size())
        return;
    --playlist.position;
    playlist.failuresInARow = 0;
    PlayTrackAtPosition(playlist);
}
