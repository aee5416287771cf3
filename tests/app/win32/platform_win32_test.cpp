// The Windows platform port under Wine: the instance mutex, the plain file
// test that finds the database (the search order is the application tests'
// matter), the folders and names, the thread locale, message-box answers, and
// the system's upper case.
// Start-up as a whole runs in corvane_process_test.
#include "base/win32/platform_win32.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "base/upper_case.h"
#include "base/win32/message_box_win32.h"
#include "base/win32/wide_text.h"
#include "support/temp_folder.h"

namespace corvane::win32 {
namespace {

using namespace corvane::testing;

TEST(Win32Platform, SecondMutexWhileTheFirstIsOpenReportsAnotherCopy) {
    Win32Platform first;
    Win32Platform second;
    const std::string name = "HNCorvaneTest" + std::to_string(::GetCurrentProcessId());
    EXPECT_FALSE(first.Create_Instance_Mutex(name));
    EXPECT_TRUE(second.Create_Instance_Mutex(name));
    second.Release_Instance_Mutex();
    first.Release_Instance_Mutex();
    first.Release_Instance_Mutex();  // nothing left: no effect
    // Every handle is closed, so the name is free again.
    Win32Platform third;
    EXPECT_FALSE(third.Create_Instance_Mutex(name));
}

TEST(Win32Platform, NormalFileExistsCountsOnlyPlainFiles) {
    TempFolder folder;
    Win32Platform platform;
    const std::pair<const char*, DWORD> files[] = {
        {"plain.dll", FILE_ATTRIBUTE_NORMAL},      {"archive.dll", FILE_ATTRIBUTE_ARCHIVE},
        {"readonly.dll", FILE_ATTRIBUTE_READONLY}, {"D\xC3\xA4tenbank.dll", FILE_ATTRIBUTE_NORMAL},
        {"hidden.dll", FILE_ATTRIBUTE_HIDDEN},     {"system.dll", FILE_ATTRIBUTE_SYSTEM},
    };
    for (const auto& [name, attributes] : files) {
        Write_File(folder.File(name), "x");
        EXPECT_TRUE(::SetFileAttributesW(Widen(folder.File(name)).c_str(), attributes)) << name;
        const bool plain = (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
        EXPECT_EQ(platform.Normal_File_Exists(folder.File(name)), plain) << name;
    }
    std::filesystem::create_directory(folder.Path() / "folder.dll");
    EXPECT_TRUE(platform.Normal_File_Exists(folder.File("PLAIN.DLL")));             // names ignore case
    for (const char* name : {"folder.dll", "missing.dll", "*.dll", "plain.dl?"}) {  // exact names of files only
        EXPECT_FALSE(platform.Normal_File_Exists(folder.File(name))) << name;
    }
    EXPECT_FALSE(platform.Normal_File_Exists(""));
    for (const auto& [name, attributes] : files) {  // deletable again for the scratch folder's removal
        ::SetFileAttributesW(Widen(folder.File(name)).c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

// The database is made from its pristine copy only where none is: the copy
// never replaces a file.
TEST(Win32Platform, CopyNewFileNeverReplacesAFile) {
    TempFolder folder;
    Win32Platform platform;
    Write_File(folder.File("pristine"), "pristine");
    EXPECT_TRUE(platform.Copy_New_File(folder.File("pristine"), folder.File("live")));
    EXPECT_EQ(Read_File(folder.File("live")), "pristine");
    Write_File(folder.File("live"), "live");
    EXPECT_FALSE(platform.Copy_New_File(folder.File("pristine"), folder.File("live")));
    EXPECT_EQ(Read_File(folder.File("live")), "live");
    EXPECT_FALSE(platform.Copy_New_File(folder.File("missing"), folder.File("other")));
}

TEST(Win32Platform, FoldersAndNamesOfTheRunningProgram) {
    Win32Platform platform;
    EXPECT_EQ(platform.Executable_Name(), "app_win32_tests");
    const std::string folder = platform.Program_Folder();
    EXPECT_FALSE(folder.ends_with('\\'));
    EXPECT_TRUE(platform.Normal_File_Exists(folder + "\\app_win32_tests.exe"));

    wchar_t system[MAX_PATH]{};
    ASSERT_GT(::GetSystemDirectoryW(system, MAX_PATH), 0u);
    EXPECT_EQ(platform.System_Directory(), Narrow(system));

    EXPECT_EQ(Win32Platform("C:\\scratch").Program_Folder(), "C:\\scratch");
    EXPECT_EQ(Win32Platform("C:\\scratch").Executable_Name(), "app_win32_tests");

    const std::string computer = platform.Computer_Name();
    EXPECT_FALSE(computer.empty());
    EXPECT_LE(computer.size(), 15u);
    EXPECT_TRUE(platform.Init_Common_Controls(0x8FE));
    platform.Set_Thread_Locale(1033);
    EXPECT_EQ(::GetThreadLocale(), 1033u);
}

// The portable upper-case table is the system's, character by character.
TEST(Win32Text, UpperCaseTableIsCharUpperBuffW) {
    int differences = 0;
    for (char32_t cp = 1; cp < 0x10000; ++cp) {
        if (cp >= 0xD800 && cp < 0xE000) continue;
        wchar_t unit = static_cast<wchar_t>(cp);
        ::CharUpperBuffW(&unit, 1);
        if (static_cast<char32_t>(unit) != Upper_Code_Point(cp) && ++differences < 10) {
            ADD_FAILURE() << std::hex << unsigned(cp) << ": " << unsigned(unit) << " by the system";
        }
    }
    EXPECT_EQ(differences, 0);
}

TEST(Win32MessageBox, AnswersAndABoxNotShownIsNoConsent) {
    const std::tuple<int, MsgButtons, MsgResult> cases[] = {
        {IDYES, MsgButtons::YesNo, MsgResult::Yes},  {IDNO, MsgButtons::YesNo, MsgResult::No},
        {IDOK, MsgButtons::OkCancel, MsgResult::Ok}, {IDCANCEL, MsgButtons::OkCancel, MsgResult::Cancel},
        {0, MsgButtons::YesNo, MsgResult::No},       {0, MsgButtons::OkCancel, MsgResult::Cancel},
        {0, MsgButtons::Ok, MsgResult::Ok},
    };
    for (const auto& [code, buttons, result] : cases) EXPECT_EQ(To_Msg_Result(code, buttons), result) << code;
    EXPECT_EQ(Message_Box_Flags(MsgButtons::YesNo, MsgIcon::Question),
              static_cast<unsigned>(MB_YESNO | MB_ICONQUESTION));
}

}  // namespace
}  // namespace corvane::win32
