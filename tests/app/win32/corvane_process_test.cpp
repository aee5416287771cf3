// Corvane.exe as a real process under Wine and a display: a second copy ends
// at once without a window while the first runs, and closing the first
// window ends it with the whole start and stop blocks in its log.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "base/file_path.h"
#include "base/win32/platform_win32.h"
#include "base/win32/unique_any.h"
#include "base/win32/wide_text.h"
#include "support/temp_folder.h"

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
    Started started;
    if (::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                         exe.parent_path().c_str(), &startup, &info)) {
        ::CloseHandle(info.hThread);
        started.process.reset(info.hProcess);
        started.id = info.dwProcessId;
    }
    return started;
}

// Visible top-level windows titled "Corvane", with their process ids.
std::vector<std::pair<HWND, DWORD>> Corvane_Windows() {
    std::vector<std::pair<HWND, DWORD>> found;
    ::EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            wchar_t title[64]{};
            ::GetWindowTextW(window, title, 64);
            if (std::wstring_view(title) == L"Corvane" && ::IsWindowVisible(window)) {
                DWORD id = 0;
                ::GetWindowThreadProcessId(window, &id);
                reinterpret_cast<std::vector<std::pair<HWND, DWORD>>*>(param)->emplace_back(window, id);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND Wait_For_Window_Of(DWORD processId, DWORD milliseconds) {
    for (DWORD waited = 0; waited < milliseconds; waited += 100) {
        for (const auto& [window, id] : Corvane_Windows()) {
            if (id == processId) return window;
        }
        ::Sleep(100);
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
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) {
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
    HWND window = Wait_For_Window_Of(first.id, 30000);
    if (!window) ::TerminateProcess(first.process.get(), 99);
    ASSERT_NE(window, nullptr) << "Corvane showed no window titled \"Corvane\"";

    Started second = Start_Program(exe);
    ASSERT_TRUE(second.process);
    EXPECT_EQ(Exit_Code_After(second.process, 15000), 0u) << "the second copy did not end at once";
    for (const auto& [other, id] : Corvane_Windows()) EXPECT_EQ(id, first.id) << "a second window appeared";
    EXPECT_EQ(Exit_Code_After(first.process, 0), static_cast<DWORD>(STILL_ACTIVE)) << "the first copy ended too";

    ::PostMessageW(window, WM_CLOSE, 0, 0);
    const DWORD firstExit = Exit_Code_After(first.process, 15000);
    if (firstExit == STILL_ACTIVE) ::TerminateProcess(first.process.get(), 99);
    EXPECT_EQ(firstExit, 0u);

    // The log beside the program holds one run, started and stopped (its
    // lines are the application tests' matter).
    const std::string log = Read_File(Path_Utf8(folder.Path() / "Corvane.log"));
    EXPECT_NE(log.find("I: Path: " + Path_Utf8(folder.Path()) + "\\Corvane.exe "), std::string::npos) << log;
    EXPECT_EQ(log.rfind("I: Started"), log.find("I: Started")) << "the second copy wrote to the log";
    EXPECT_TRUE(log.ends_with(std::string(100, '+') + "\r\n")) << log;
}

}  // namespace
}  // namespace corvane::win32
