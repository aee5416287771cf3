// Start Scan in the real main window under Wine (a display is needed: ctest
// under xvfb-run): the local computer and the Shared DLLs category checked, a
// missing DLL seeded in a scratch value of the prefix's registry, the command
// posted as the toolbar sends it; the results list, the status bar, the
// progress panel and the commands end as the scan leaves them.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "app/application.h"
#include "app/file_path.h"
#include "app/main_window_commands.h"
#include "app/results_list.h"
#include "app/win32/clock_win32.h"
#include "app/win32/main_window.h"
#include "app/win32/main_window_ids.h"
#include "app/win32/platform_win32.h"
#include "app/win32/wide_text.h"
#include "support/fakes.h"
#include "support/temp_folder.h"
#include "support/test_database.h"

namespace corvane::win32 {
namespace {

using namespace corvane::testing;

constexpr wchar_t kSettingsRoot[] = L"Software\\CorvaneScanGuiTest";
constexpr wchar_t kSharedDlls[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
constexpr wchar_t kGoneDll[] = L"C:\\CvnScanGuiGone\\gone.dll";

void Pump(DWORD milliseconds) {
    const DWORD start = ::GetTickCount();
    do {
        MSG message{};
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        ::Sleep(5);
    } while (::GetTickCount() - start < milliseconds);
}

TEST(ScanGui, StartScanFillsTheResultsList) {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') GTEST_SKIP() << "CORVANE-GUI-SKIPPED: no display";

    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kSharedDlls, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const DWORD one = 1;
    ::RegSetValueExW(key, kGoneDll, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);

    TempFolder temp;
    const std::string folder = Path_Utf8(temp.Path());
    Create_Installed_Database(folder + "\\nwcvninfo.dll");
    FakeMessageBox messages;
    messages.Queue_Answer(MsgResult::No);  // "Do you want to fix the problems now?"
    Win32Platform platform(folder);
    Win32Clock clock;
    {
        Application app(platform, clock, messages);
        MainWindow* window = nullptr;
        app.Main([&](Application& a) {
            MainWindowOptions options;
            options.settingsRoot = kSettingsRoot;
            options.showBalloon = false;
            window = MainWindow::Create(a, options);
        });
        ASSERT_NE(window, nullptr);
        const HWND handle = window->Handle();
        Pump(400);

        CheckTree& computers = window->Computer_Tree();
        (void)computers.Set_Checked(computers.Find("rR"), true);
        CheckTree& categories = window->Category_Tree();
        (void)categories.Set_Checked(categories.Find("fF"), true);
        ::PostMessageW(handle, WM_COMMAND, Command_Id(static_cast<int>(Command::StartScan)), 0);
        for (int i = 0; i < 600 && messages.shown.empty(); ++i) Pump(50);

        ResultsList& list = window->Results();
        const std::string localName = window->Get_Comp_Name();
        ASSERT_LT(list.Find("fF" + localName), list.Count());
        bool listed = false;
        for (std::size_t i = 0; i < list.Count(); ++i) listed = listed || list.Row(i).text == Narrow(kGoneDll);
        EXPECT_TRUE(listed);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text.rfind("Successfully completed scanning. ", 0), 0u);
        EXPECT_EQ(window->Status_Text(kStatusTotal).rfind("Total Problems Found: ", 0), 0u);
        EXPECT_NE(window->Status_Text(kStatusTotal), "Total Problems Found: 0");
        EXPECT_TRUE(::IsWindowEnabled(handle));
        // Close without the un-fixed question stopping it.
        messages.Queue_Answer(MsgResult::Yes);
        ::SendMessageW(handle, WM_CLOSE, 0, 0);
        Pump(100);
        EXPECT_FALSE(::IsWindow(handle));
    }
    ::RegDeleteValueW(key, kGoneDll);
    ::RegCloseKey(key);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsRoot);
}

}  // namespace
}  // namespace corvane::win32
