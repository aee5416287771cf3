// Start Scan and Fix Problems in the real main window under Wine (a display
// is needed: ctest under xvfb-run): the local computer and the Shared DLLs
// category checked, missing DLLs seeded in scratch values of the prefix's
// registry, the commands posted as the toolbar sends them.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/main_window_commands.h"
#include "app/win32/gui_program.h"
#include "app/win32/main_window_ids.h"
#include "base/ui/results_list.h"
#include "base/ui/results_list_ops.h"
#include "base/win32/wide_text.h"
#include "db/app_tables.h"
#include "db/database.h"

namespace corvane::win32 {
namespace {

using ScanGui = GuiProgramTest;

constexpr wchar_t kSharedDlls[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
constexpr wchar_t kFixedDll[] = L"C:\\CvnScanGuiGone\\fixed.dll";

bool Value_Exists(const wchar_t* name) {
    return ::RegGetValueW(HKEY_LOCAL_MACHINE, kSharedDlls, name, RRF_RT_ANY, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
}

// Start Scan from the toolbar with every computer and Shared DLLs checked,
// leave only the seeded problem checked, then Fix Problems from the window:
// its value is deleted and its row marked fixed (which rows a fix leaves is
// the fix tests' to show). Restore points are off (Wine has none).
TEST_F(ScanGui, ScanThenFixDeletesExactlyTheCheckedRows) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kSharedDlls, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const DWORD one = 1;
    ::RegSetValueExW(key, kFixedDll, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
    {
        Reporter reporter(messages_);
        Database db(reporter);
        ASSERT_TRUE(db.Open_Database(folder_ + "\\nwcvninfo.dll"));
        ASSERT_TRUE(Save_Settings(db, 0, ""));  // manual fixing, no restore point
    }
    messages_.Queue_Answer(MsgResult::No);   // "Do you want to fix the problems now?"
    messages_.Queue_Answer(MsgResult::Yes);  // "Are you sure you want to fix the checked problems?"
    {
        ProgramRun run(folder_, messages_, false);
        ASSERT_NE(run.window, nullptr);
        (void)run.window->Computer_Tree().Set_Checked(run.window->Computer_Tree().Find("rR"), true);
        (void)run.window->Category_Tree().Set_Checked(run.window->Category_Tree().Find("fF"), true);
        ::PostMessageW(run.handle, WM_COMMAND, Command_Id(static_cast<int>(Command::StartScan)), 0);
        (void)testing::Pump_Until([&] { return !messages_.shown.empty(); });
        ASSERT_EQ(messages_.shown.size(), 1u);
        EXPECT_EQ(messages_.shown[0].text.rfind("Successfully completed scanning. ", 0), 0u);

        // Wine's own obsolete entries are left alone.
        ResultsList& list = run.window->Results();
        std::size_t fixedRow = list.Count();
        for (std::size_t i = 0; i < list.Count(); ++i) {
            const bool fixed = list.Row(i).text == Narrow(kFixedDll);
            if (fixed) fixedRow = i;
            if (!fixed && Is_Problem_Key(list.Row(i).key)) (void)Set_Row_Checked(list, i, false);
        }
        ASSERT_LT(fixedRow, list.Count());

        ::PostMessageW(run.handle, WM_COMMAND, Command_Id(static_cast<int>(Command::FixProblems)), 0);
        EXPECT_TRUE(testing::Pump_Until([&] { return Shown_Small_Icon(list.Row(fixedRow)) == kFixedItemIcon; }));
        testing::Pump(200);
        EXPECT_EQ(messages_.shown.size(), 2u);
        EXPECT_FALSE(Value_Exists(kFixedDll));
        EXPECT_EQ(run.window->Status_Text(kStatusTotal).rfind("Total Problems Fixed: 1/", 0), 0u);
        EXPECT_TRUE(::IsWindowEnabled(run.handle));

        messages_.Queue_Answer(MsgResult::Yes);  // close despite the un-fixed row
        EXPECT_TRUE(run.Close());
    }
    ::RegDeleteValueW(key, kFixedDll);
    ::RegCloseKey(key);
}

}  // namespace
}  // namespace corvane::win32
