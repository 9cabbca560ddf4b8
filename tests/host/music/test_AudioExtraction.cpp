#include "host/MusicPlaylist.h"

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

std::unique_ptr<DS_AudioFile> MakeAudio(const std::wstring& path, const Bytes& bytes)
{
    auto audio = std::make_unique<DS_AudioFile>();
    audio->file.path = path;
    audio->file.SetBytes(static_cast<int32_t>(bytes.size()), bytes.data());
    return audio;
}

const Bytes Music{'R', 'I', 'F', 'F', 1, 2, 3, 4, 5};

} // namespace

// A stored name becomes the temporary copy's name only when it is a plain
// file name: nothing may land outside the temporary folder, on a device or
// under a name Windows would change.
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

TEST(AudioExtraction, AbsentMusicIsWrittenToTheTemporaryFolderAndPlaysFromThere)
{
    const std::wstring target = TempFolder() + L"nightglass-test-extracted.wav";
    DeleteFileW(target.c_str());
    const auto audio = MakeAudio(L"C:\\No Such Folder\\nightglass-test-extracted.wav", Music);

    ExtractAudioToTemp(*audio);

    EXPECT_EQ(target, audio->file.path);
    EXPECT_EQ(0, audio->file.Size());
    EXPECT_EQ(Music, ReadFile(target));

    // A copy already there (from the screen before) is written over.
    const auto again = MakeAudio(L"D:\\Elsewhere\\nightglass-test-extracted.wav", {'X'});
    ExtractAudioToTemp(*again);
    EXPECT_EQ(target, again->file.path);
    EXPECT_EQ(Bytes{'X'}, ReadFile(target));
    DeleteFileW(target.c_str());
}

TEST(AudioExtraction, MusicThatIsThereOrHasNoSafeNameIsNotWritten)
{
    const std::wstring existing = TempFolder() + L"nightglass-test-existing.wav";
    {
        std::ofstream out(existing.c_str(), std::ios::binary);
        out << "kept";
    }
    const std::wstring folder = TempFolder();
    const std::wstring stored[] = {existing, L"C:\\Music\\..", L"C:\\Music\\CON", L"C:\\Music\\"};
    for (const std::wstring& path : stored) {
        SCOPED_TRACE(std::string(path.begin(), path.end()));
        const auto audio = MakeAudio(path, Music);

        ExtractAudioToTemp(*audio);

        EXPECT_EQ(path, audio->file.path);
        EXPECT_EQ(0, audio->file.Size());
    }
    EXPECT_EQ((Bytes{'k', 'e', 'p', 't'}), ReadFile(existing));
    DeleteFileW(existing.c_str());

    // No bytes: nothing to write, the stored path plays.
    DS_AudioFile empty;
    empty.file.path = L"C:\\No Such Folder\\nightglass-test-empty.wav";
    ExtractAudioToTemp(empty);
    EXPECT_EQ(L"C:\\No Such Folder\\nightglass-test-empty.wav", empty.file.path);
    EXPECT_FALSE(PathFileExistsW((folder + L"nightglass-test-empty.wav").c_str()));
}
