// The remote routines end to end on the local computer as the program runs
// them: the Windows locator sends "LOCALHOST" to the native store, and the
// connection, registry, file and process routines work on Wine's real
// registry and C: drive.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/reporter.h"
#include "app/text.h"
#include "remote/wmi_connection.h"
#include "remote/wmi_files.h"
#include "remote/wmi_registry.h"
#include "remote/wmi_system.h"
#include "remote/win32/native_ports.h"
#include "remote/win32/windows_locator.h"
#include "support/fakes.h"
#include "win32_test_support.h"

namespace corvane::remote::win32 {
namespace {

using testing::kCurrentUser;
using wmi::Variant;

// Both scratch places at once: the key and the folder.
class NativeRoutines : public testing::ScratchKeyTest {
protected:
    void SetUp() override {
        testing::ScratchKeyTest::SetUp();
        context_.Start_Computer("LOCALHOST");
        std::string errorText = "untouched";
        connection_.cimv2 = WMI_Connect(context_, "cimv2", errorText);
        ASSERT_TRUE(connection_.cimv2) << errorText;
        EXPECT_EQ("", errorText);
        connection_.rootDefault = WMI_Connect(context_, "default", errorText);
        ASSERT_TRUE(connection_.rootDefault) << errorText;
        connection_.registry = connection_.rootDefault->Get("StdRegProv");
    }
    [[nodiscard]] std::string File(std::string_view name) const {
        return Path_Utf8(folder_.Path()) + "\\" + std::string(name);
    }
    [[nodiscard]] static bool Exists(const std::string& path) {
        return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    WindowsLocator locator_;
    NativeShareLister shares_;
    NativeLocalRegistry localRegistry_;
    NativeLocalSystem localSystem_;
    corvane::testing::FakeClock clock_;
    corvane::testing::FakeMessageBox messages_;
    Reporter reporter_{messages_};
    RemotePorts ports_{locator_, reporter_, clock_, shares_, localRegistry_, localSystem_};
    TargetContext context_{ports_};
    WmiConnection connection_;
    corvane::testing::TempFolder folder_;
};

TEST_F(NativeRoutines, LearnTheLocalComputerAfterConnecting) {
    ASSERT_TRUE(WMI_Get_Computer_Name(*connection_.cimv2, context_.TargetName));
    EXPECT_EQ(localSystem_.Computer_Name(), context_.TargetName);
    context_.Decide_Is_Remote(*connection_.cimv2);
    EXPECT_FALSE(context_.IsRemote);

    ASSERT_TRUE(WMI_Get_OS_Info(*connection_.cimv2, context_.OSVersion, context_.AddressWidth));
    EXPECT_EQ(64, context_.AddressWidth);
    EXPECT_FALSE(context_.OSVersion.empty());
    ASSERT_TRUE(WMI_Get_Fixed_Drives(*connection_.cimv2, context_.FixedDrives));
    EXPECT_TRUE(Is_Fixed_Drive(context_, "c:"));

    std::string windows;
    ASSERT_TRUE(WMI_Get_Windows_Directory(*connection_.cimv2, windows));
    EXPECT_TRUE(Starts_With_Ignore_Case(windows, "C:\\windows"));
}

TEST_F(NativeRoutines, ReadCheckAndDeleteRegistryEntries) {
    Create("Tree\\Branch\\Leaf");
    Create("Tree\\Other");
    Write_Text("", "Text", L"C:\\Program Files\\App\\app.exe");
    Write_Text("", "Path", L"%windir%\\help", REG_EXPAND_SZ);
    Write_Dword("", "Number", 3);

    std::vector<std::string> keys;
    ASSERT_TRUE(WMI_Enum_Key(*connection_.registry, kCurrentUser, Full(""), keys));
    EXPECT_EQ(std::vector<std::string>{"Tree"}, keys);

    std::vector<std::string> names;
    std::vector<std::int32_t> types;
    std::vector<Variant> values;
    ASSERT_TRUE(WMI_Enum_String_Values(*connection_.registry, kCurrentUser, Full(""), names, types, values));
    ASSERT_EQ(3u, names.size());
    for (std::size_t index = 0; index < names.size(); ++index) {
        if (names[index] == "Text") {
            EXPECT_EQ("C:\\Program Files\\App\\app.exe", values[index].As_String());
        } else if (names[index] == "Path") {
            EXPECT_TRUE(values[index].As_String().ends_with("\\help"));
        } else {
            EXPECT_TRUE(values[index].Is_Empty()) << names[index];
        }
    }

    // The local computer's value is read natively.
    context_.IsRemote = false;
    Variant value;
    EXPECT_EQ(kValueRead, WMI_Get_String_Value(context_, *connection_.registry, kCurrentUser, Full(""), "Text", 1, value));
    EXPECT_EQ("C:\\Program Files\\App\\app.exe", value.As_String());
    Variant absent;
    EXPECT_EQ(kValueEmpty, WMI_Get_String_Value(context_, *connection_.registry, kCurrentUser, Full(""), "None", 1, absent));

    std::int32_t returnCode = -99;
    EXPECT_TRUE(WMI_Check_Access(*connection_.registry, kCurrentUser, Full("Tree"), kAccessDelete, returnCode));
    EXPECT_EQ(0, returnCode);
    EXPECT_FALSE(WMI_Check_Access(*connection_.registry, kCurrentUser, Full("Gone"), kKeyQueryValue, returnCode));
    EXPECT_EQ(2, returnCode);

    EXPECT_TRUE(WMI_Delete_Value(*connection_.registry, kCurrentUser, Full(""), "Number", returnCode));
    EXPECT_FALSE(Value_Exists("", "Number"));
    EXPECT_FALSE(WMI_Delete_Key(*connection_.registry, kCurrentUser, Full("Tree"), returnCode));
    EXPECT_EQ(5, returnCode);
    EXPECT_TRUE(WMI_Delete_Key_Tree(*connection_.registry, kCurrentUser, Full("Tree"), returnCode));
    EXPECT_FALSE(Key_Exists("Tree"));
    EXPECT_TRUE(Key_Exists(""));
}

TEST_F(NativeRoutines, TestListDeleteAndRenameFilesAndFolders) {
    corvane::testing::Write_File(File("stale.tmp"), "x");
    corvane::testing::Write_File(File("it's.log"), "x");
    corvane::testing::Write_File(File("before.txt"), "x");
    CreateDirectoryW(Widen(File("Cache")).c_str(), nullptr);
    CreateDirectoryW(Widen(File("Empty")).c_str(), nullptr);
    corvane::testing::Write_File(File("Cache\\data.bin"), "x");

    EXPECT_TRUE(WMI_File_Exists(*connection_.cimv2, File("stale.tmp")));
    EXPECT_FALSE(WMI_File_Exists(*connection_.cimv2, File("missing.tmp")));
    EXPECT_TRUE(WMI_Folder_Exists(*connection_.cimv2, File("Cache") + "\\"));

    // Both scan modes on the local computer.
    context_.AddressWidth = 32;
    for (const bool safe : {true, false}) {
        context_.SafeScan = safe;
        EXPECT_TRUE(Remote_File_Exists(context_, *connection_.cimv2, File("it's.log"))) << "safe " << safe;
        EXPECT_FALSE(Remote_File_Exists(context_, *connection_.cimv2, File("nothing.log"))) << "safe " << safe;
        EXPECT_TRUE(Remote_Folder_Exists(context_, *connection_.cimv2, File("Cache"))) << "safe " << safe;
    }

    std::vector<std::string> entries;
    ASSERT_TRUE(WMI_List_Folder_Entries(*connection_.cimv2, Path_Utf8(folder_.Path()), entries, ""));
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ((std::vector<std::string>{"cache", "empty"}), entries);

    std::int32_t returnCode = -99;
    EXPECT_TRUE(WMI_Delete_File(*connection_.cimv2, File("stale.tmp"), returnCode));
    EXPECT_EQ(0, returnCode);
    EXPECT_FALSE(Exists(File("stale.tmp")));
    EXPECT_TRUE(WMI_Delete_File(*connection_.cimv2, File("it's.log"), returnCode)) << "apostrophe escaped";
    EXPECT_FALSE(Exists(File("it's.log")));

    EXPECT_FALSE(WMI_Delete_Folder(*connection_.cimv2, File("Cache") + "\\", returnCode));
    EXPECT_EQ(14, returnCode);
    EXPECT_EQ("Directory Not Empty", WMI_Return_Code_Text(returnCode));
    EXPECT_TRUE(WMI_Delete_Folder(*connection_.cimv2, File("Empty"), returnCode));
    EXPECT_FALSE(Exists(File("Empty")));

    EXPECT_TRUE(WMI_Rename_File(*connection_.cimv2, Path_Utf8(folder_.Path()) + "\\", "before.txt", "after.txt"));
    EXPECT_TRUE(Exists(File("after.txt")));
}

TEST_F(NativeRoutines, StartCmdAndWaitForIt) {
    const std::string marker = File("made by cmd.txt");
    std::uint32_t processId = 0;
    ASSERT_TRUE(WMI_Create_Process(*connection_.cimv2, clock_, "cmd.exe /c echo done> \"" + marker + "\"", processId));
    EXPECT_GT(processId, 0u);
    EXPECT_GE(clock_.sleptMilliseconds, 2000u);

    double remaining = 120;
    for (int round = 0; round < 50 && Exists(marker) == false; ++round) {
        Wait_For_Process(*connection_.cimv2, clock_, reporter_, processId, remaining, nullptr);
        Sleep(100);  // the fake clock does not wait; give the process real time
    }
    Wait_For_Process(*connection_.cimv2, clock_, reporter_, processId, remaining, nullptr);
    EXPECT_TRUE(Exists(marker));
    EXPECT_GE(remaining, 0.0);
    EXPECT_TRUE(messages_.shown.empty());
}

}  // namespace
}  // namespace corvane::remote::win32
