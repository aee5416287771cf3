// The Windows platform port under Wine: the plain file test that finds the
// database (the search order is the application tests' matter), the copy that
// makes it, message-box answers, and the system's upper case. Start-up as a
// whole, with the instance mutex, runs in corvane_process_test.
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

TEST(Win32Platform, NormalFileExistsCountsOnlyPlainFiles) {
    TempFolder folder;
    Win32Platform platform;
    const std::pair<const char*, DWORD> files[] = {
        {"plain.dll", FILE_ATTRIBUTE_NORMAL},
        {"D\xC3\xA4tenbank.dll", FILE_ATTRIBUTE_READONLY},
        {"hidden.dll", FILE_ATTRIBUTE_HIDDEN},
        {"system.dll", FILE_ATTRIBUTE_SYSTEM},
    };
    for (const auto& [name, attributes] : files) {
        Write_File(folder.File(name), "x");
        EXPECT_TRUE(::SetFileAttributesW(Widen(folder.File(name)).c_str(), attributes)) << name;
        const bool plain = (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
        EXPECT_EQ(platform.Normal_File_Exists(folder.File(name)), plain) << name;
    }
    std::filesystem::create_directory(folder.Path() / "folder.dll");
    for (const char* name : {"folder.dll", "missing.dll", "*.dll"}) {  // exact names of files only
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
}

}  // namespace
}  // namespace corvane::win32
