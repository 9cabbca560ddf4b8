#include <windows.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

struct ProbeRun {
    std::vector<std::string> lines;
    DWORD exitCode = 0;
};

// Runs the probe with its standard output on a pipe and collects the lines.
ProbeRun RunProbe()
{
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    EXPECT_TRUE(CreatePipe(&readEnd, &writeEnd, &inheritable, 0));
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process{};
    std::string commandLine = "\"" NIGHTGLASS_LIFECYCLE_PROBE "\"";
    const BOOL started = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        nullptr, &startup, &process);
    CloseHandle(writeEnd);
    ProbeRun run;
    if (!started) {
        ADD_FAILURE() << "the probe did not start: " << GetLastError();
        CloseHandle(readEnd);
        return run;
    }

    std::string output;
    char chunk[256];
    DWORD got = 0;
    while (ReadFile(readEnd, chunk, sizeof chunk, &got, nullptr) && got > 0)
        output.append(chunk, got);
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(readEnd);

    std::istringstream stream(output);
    for (std::string line; std::getline(stream, line);)
        run.lines.push_back(line);
    return run;
}

} // namespace

// The global state (with the scene view) comes first and goes last; the
// registries are built light, slide, constructor and go in the reverse order;
// the primary sound buffer is released before the device, and both before the
// registries go; COM, started in main, ends after the sound device and is
// ended when the program is done.
TEST(StartupOrder, StartUpAndExitStepsRunInTheirOrder)
{
    const ProbeRun run = RunProbe();
    EXPECT_EQ(0u, run.exitCode);
    const std::vector<std::string> expected{
        "InitGlobalState",
        "BuildGlobalSceneView",
        "BuildLightReaderRegistry",
        "BuildSlideReaderRegistry",
        "BuildConstructorReaderRegistry",
        "main",
        "ReleasePrimarySoundBuffer",
        "ReleaseDirectSound",
        "EndShowCom",
        "DestroyConstructorReaderRegistry",
        "DestroySlideReaderRegistry",
        "DestroyLightReaderRegistry",
        "DestroyGlobalState",
        "DestroyGlobalSceneView",
        "ComEnded",
    };
    EXPECT_EQ(expected, run.lines);
}
