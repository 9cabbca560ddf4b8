#include "host/music/MusicPlaylist.h"

#include <shlwapi.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

std::wstring TempFolder()
{
    wchar_t folder[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, folder);
    return folder;
}

Bytes ReadFile(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::wstring& path, const Bytes& bytes)
{
    std::ofstream out(path.c_str(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Any file of the folder whose name ends with the given one (copies of
// earlier runs among them).
void RemoveCopiesOf(const std::wstring& folder, const std::wstring& name)
{
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((folder + L"*" + name).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring path = folder + found.cFileName;
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

std::unique_ptr<DS_AudioFile> MakeAudio(const std::wstring& path, const Bytes& bytes)
{
    auto audio = std::make_unique<DS_AudioFile>();
    audio->file.path = path;
    audio->file.SetBytes(static_cast<int32_t>(bytes.size()), bytes.data());
    return audio;
}

const Bytes Music{'R', 'I', 'F', 'F', 1, 2, 3, 4, 5};

} // namespace

// A stored name becomes part of the temporary copy's name only when it is a
// plain file name: nothing may land outside the folder, on a device or under
// a name Windows would change.
TEST(AudioExtraction, OnlyPlainFileNamesAreSafe)
{
    const struct {
        const wchar_t* stored;
        const wchar_t* name;
    } cases[] = {
        {L"C:\\Music\\night.wav", L"night.wav"},
        {L"night.wav", L"night.wav"},
        {L"\\\\server\\share\\Music\\Night Song (live).wav", L"Night Song (live).wav"},
        {L"C:\\Music/../../Windows/evil.wav", L"evil.wav"},
        {L"C:evil.wav", L"evil.wav"},
        {L"\\\\?\\C:\\Music\\night.wav", L"night.wav"},
        {L"", L""},
        {L"C:\\Music\\", L""},
        {L"C:\\Music\\..", L""},
        {L"..", L""},
        {L".", L""},
        {L"C:\\Music\\night.", L""},
        {L"C:\\Music\\night ", L""},
        {L"C:\\Music\\CON", L""},
        {L"C:\\Music\\con.wav", L""},
        {L"C:\\Music\\Com1 .wav", L""},
        {L"C:\\Music\\lpt9", L""},
        {L"C:\\Music\\COM0.wav", L""},
        {L"C:\\Music\\lpt0", L""},
        {L"C:\\Music\\COM\u00B9.wav", L""},
        {L"C:\\Music\\com\u00B2", L""},
        {L"C:\\Music\\LPT\u00B3.mp3", L""},
        {L"C:\\Music\\lpt\u00B9 .wav", L""},
        {L"C:\\Music\\conin$.wav", L""},
        {L"C:\\Music\\COM10.wav", L"COM10.wav"},
        {L"C:\\Music\\COM\u2074.wav", L"COM\u2074.wav"},
        {L"C:\\Music\\COMA.wav", L"COMA.wav"},
        {L"C:\\Music\\night*.wav", L""},
        {L"C:\\Music\\ni\"ght.wav", L""},
        {L"C:\\Music\\a|b.wav", L""},
        {L"C:\\Music\\a\x01.wav", L""},
        {L"C:\\Music\\console.wav", L"console.wav"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(std::wstring(c.name), SafeTempFileName(c.stored)) << "\"" << std::wstring(c.stored) << "\"";
    EXPECT_EQ(L"", SafeTempFileName(std::wstring(300, L'a')));
}

// Entries of the same file name from different folders get copies of their
// own, each named by its place in the list, in the program's folder under
// the temporary folder; each plays from its copy.
TEST(AudioExtraction, EntriesOfTheSameNameGetCopiesOfTheirOwn)
{
    const std::wstring folder = MusicCopyFolder();
    ASSERT_EQ(TempFolder() + L"Nightglass\\", folder);
    RemoveCopiesOf(folder, L"nightglass-test-01.wav");
    const Bytes other{'R', 'I', 'F', 'F', 9, 9};
    const auto first = MakeAudio(L"C:\\A\\nightglass-test-01.wav", Music);
    const auto second = MakeAudio(L"C:\\B\\nightglass-test-01.wav", other);

    ExtractAudioToTemp(*first, 0);
    ExtractAudioToTemp(*second, 1);

    EXPECT_EQ(folder + L"1-nightglass-test-01.wav", first->file.path);
    EXPECT_EQ(folder + L"2-nightglass-test-01.wav", second->file.path);
    EXPECT_EQ(0, first->file.Size());
    EXPECT_EQ(0, second->file.Size());
    EXPECT_EQ(Music, ReadFile(first->file.path));
    EXPECT_EQ(other, ReadFile(second->file.path));
    EXPECT_FALSE(PathFileExistsW((TempFolder() + L"nightglass-test-01.wav").c_str()));
    RemoveCopiesOf(folder, L"nightglass-test-01.wav");
}

// A file already under the copy's name is used when it holds the same bytes
// (another run's copy, even hidden and read-only) and is never written over
// when it holds anything else: the next name is taken.
TEST(AudioExtraction, AFileUnderTheCopysNameIsUsedOnlyWhenItHoldsTheSameBytes)
{
    const std::wstring folder = MusicCopyFolder();
    ASSERT_FALSE(folder.empty());
    RemoveCopiesOf(folder, L"nightglass-test-kept.wav");
    const std::wstring same = folder + L"1-nightglass-test-kept.wav";
    const std::wstring stale = folder + L"2-nightglass-test-kept.wav";
    WriteFile(same, Music);
    WriteFile(stale, {'o', 'l', 'd'});
    for (const std::wstring& path : {same, stale})
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);

    const auto reused = MakeAudio(L"C:\\A\\nightglass-test-kept.wav", Music);
    const auto moved = MakeAudio(L"C:\\B\\nightglass-test-kept.wav", Music);
    ExtractAudioToTemp(*reused, 0);
    ExtractAudioToTemp(*moved, 1);

    EXPECT_EQ(same, reused->file.path);
    EXPECT_EQ(folder + L"2-2-nightglass-test-kept.wav", moved->file.path);
    EXPECT_EQ(Music, ReadFile(moved->file.path));
    EXPECT_EQ((Bytes{'o', 'l', 'd'}), ReadFile(stale));
    RemoveCopiesOf(folder, L"nightglass-test-kept.wav");
}

// A copy that cannot be written whole (a full disk) is not left behind, and
// the entry keeps its stored path; nothing plays a part of it.
TEST(AudioExtraction, ACopyThatCannotBeWrittenWholeLeavesTheStoredPath)
{
    const std::wstring folder = MusicCopyFolder();
    ASSERT_FALSE(folder.empty());
    for (long long limit : {0LL, 4LL, static_cast<long long>(Music.size()) - 1}) {
        SCOPED_TRACE(limit);
        RemoveCopiesOf(folder, L"nightglass-test-full.wav");
        const auto audio = MakeAudio(L"C:\\No Such Folder\\nightglass-test-full.wav", Music);

        LimitMusicCopyWritesForTesting(limit);
        ExtractAudioToTemp(*audio, 0);
        LimitMusicCopyWritesForTesting(-1);

        EXPECT_EQ(L"C:\\No Such Folder\\nightglass-test-full.wav", audio->file.path);
        EXPECT_EQ(0, audio->file.Size());
        EXPECT_FALSE(PathFileExistsW((folder + L"1-nightglass-test-full.wav").c_str()));
    }
    // Room for every byte: written.
    LimitMusicCopyWritesForTesting(static_cast<long long>(Music.size()));
    const auto audio = MakeAudio(L"C:\\No Such Folder\\nightglass-test-full.wav", Music);
    ExtractAudioToTemp(*audio, 0);
    LimitMusicCopyWritesForTesting(-1);
    EXPECT_EQ(folder + L"1-nightglass-test-full.wav", audio->file.path);
    EXPECT_EQ(Music, ReadFile(audio->file.path));
    RemoveCopiesOf(folder, L"nightglass-test-full.wav");
}

TEST(AudioExtraction, MusicThatIsThereOrHasNoSafeNameIsNotWritten)
{
    const std::wstring existing = TempFolder() + L"nightglass-test-existing.wav";
    WriteFile(existing, {'k', 'e', 'p', 't'});
    const std::wstring folder = MusicCopyFolder();
    RemoveCopiesOf(folder, L"CON");
    const std::wstring stored[] = {existing, L"C:\\Music\\..", L"C:\\Music\\CON", L"C:\\Music\\"};
    for (const std::wstring& path : stored) {
        SCOPED_TRACE(std::string(path.begin(), path.end()));
        const auto audio = MakeAudio(path, Music);

        ExtractAudioToTemp(*audio, 0);

        EXPECT_EQ(path, audio->file.path);
        EXPECT_EQ(0, audio->file.Size());
    }
    EXPECT_EQ((Bytes{'k', 'e', 'p', 't'}), ReadFile(existing));
    EXPECT_FALSE(PathFileExistsW((folder + L"1-CON").c_str()));
    DeleteFileW(existing.c_str());

    // No bytes: nothing to write, the stored path plays.
    DS_AudioFile empty;
    empty.file.path = L"C:\\No Such Folder\\nightglass-test-empty.wav";
    ExtractAudioToTemp(empty, 0);
    EXPECT_EQ(L"C:\\No Such Folder\\nightglass-test-empty.wav", empty.file.path);
    EXPECT_FALSE(PathFileExistsW((folder + L"1-nightglass-test-empty.wav").c_str()));
}
