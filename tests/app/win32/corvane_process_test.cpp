// Corvane.exe as a real process under Wine and a display: a second copy ends
// at once without a window while the first runs, and closing the first
// window ends it with the stop block in its log.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "base/file_path.h"
#include "base/win32/platform_win32.h"
#include "base/win32/unique_any.h"
#include "support/temp_folder.h"
#include "support/win32/gui_pump.h"

namespace corvane::win32 {
namespace {

using namespace corvane::testing;

struct Started {
    unique_handle process;
    DWORD id = 0;
};

Started Start_Program(const std::filesystem::path& exe) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    std::wstring commandLine = L"\"" + exe.wstring() + L"\"";
    if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          exe.parent_path().c_str(), &startup, &info)) {
        return {};
    }
    ::CloseHandle(info.hThread);
    return {unique_handle(info.hProcess), info.dwProcessId};
}

// The visible top-level window titled "Corvane" of a process, or null.
HWND Window_Of(DWORD processId) {
    HWND window = nullptr;
    while ((window = ::FindWindowExW(nullptr, window, nullptr, L"Corvane")) != nullptr) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner == processId && ::IsWindowVisible(window)) return window;
    }
    return nullptr;
}

DWORD Exit_Code_After(const unique_handle& process, DWORD milliseconds) {
    if (::WaitForSingleObject(process.get(), milliseconds) != WAIT_OBJECT_0) return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(process.get(), &code);
    return code;
}

TEST(CorvaneProcess, SecondCopyEndsAtOnceAndTheFirstLogsItsWholeRun) {
    if (!Have_Display()) {
        std::printf("CORVANE-GUI-SKIPPED: no display (run ctest under xvfb-run)\n");
        GTEST_SKIP();
    }
    // A copy of the installed program in a scratch folder: its log and
    // database stay there.
    const std::filesystem::path bin = Utf8_Path(Win32Platform().Program_Folder());
    TempFolder folder;
    for (const char* name : {"Corvane.exe", "nwcvninfo.dll"}) {
        std::filesystem::copy_file(bin / name, folder.Path() / name);
    }
    const std::filesystem::path exe = folder.Path() / "Corvane.exe";

    Started first = Start_Program(exe);
    ASSERT_TRUE(first.process) << "CreateProcessW failed: " << ::GetLastError();
    HWND window = nullptr;
    Pump_Until([&] { return (window = Window_Of(first.id)) != nullptr; });
    if (!window) ::TerminateProcess(first.process.get(), 99);
    ASSERT_NE(window, nullptr) << "Corvane showed no window titled \"Corvane\"";

    Started second = Start_Program(exe);
    ASSERT_TRUE(second.process);
    EXPECT_EQ(Exit_Code_After(second.process, 15000), 0u) << "the second copy did not end at once";
    EXPECT_EQ(Exit_Code_After(first.process, 0), static_cast<DWORD>(STILL_ACTIVE)) << "the first copy ended too";

    ::PostMessageW(window, WM_CLOSE, 0, 0);
    const DWORD firstExit = Exit_Code_After(first.process, 15000);
    if (firstExit == STILL_ACTIVE) ::TerminateProcess(first.process.get(), 99);
    EXPECT_EQ(firstExit, 0u);

    // The close box's way ends the run with the log's stop block (its lines
    // are the application tests' matter).
    const std::string log = Read_File(Path_Utf8(folder.Path() / "Corvane.log"));
    EXPECT_TRUE(log.ends_with(std::string(100, '+') + "\r\n")) << log;
}

}  // namespace
}  // namespace corvane::win32
