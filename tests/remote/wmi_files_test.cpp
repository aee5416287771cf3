#include "remote/wmi_files.h"

#include "remote_fixture.h"

namespace corvane::testing {
namespace {

using remote::CallKind;

class FilesTest : public RemoteFixture {
protected:
    FilesTest() : RemoteFixture(true) {
        server.files.Add_File("C:\\Temp\\a.txt", 10);
        server.files.Add_File("C:\\Temp\\O'Brien.txt", 20);
        server.files.Add_Folder("C:\\Temp\\Old Stuff");
        server.files.Add_Folder("C:\\Temp\\It's");
        server.files.Add_File("C:\\Temp\\Full\\inside.dat", 1);
        server.files.Add_File("C:\\Program Files\\App\\app.exe", 100);
    }
};

TEST_F(FilesTest, SafeModeAsksTheManagementServiceWithApostrophesEscaped) {
    context.SafeScan = true;
    using enum remote::Existence;
    EXPECT_EQ(remote::Test_File_Existence(context, Cimv2(), "C:\\Temp\\O'Brien.txt"), Exists);
    EXPECT_EQ(remote::Test_File_Existence(context, Cimv2(), "C:\\Temp\\It's.txt"), Missing);
    EXPECT_EQ(remote::Test_Folder_Existence(context, Cimv2(), "C:\\Temp\\It's\\"), Exists);
    EXPECT_EQ(remote::Test_Folder_Existence(context, Cimv2(), "C:\\"), Exists);
    EXPECT_EQ(network.Count(CallKind::ShareListing), 0u);
}

TEST_F(FilesTest, ProgramFilesOnA64BitTargetIsTakenForGranted) {
    context.SafeScan = true;
    EXPECT_TRUE(remote::Remote_File_Exists(context, Cimv2(), "C:\\Program Files\\Gone\\none.exe"));
    EXPECT_TRUE(network.calls.empty());
    context.AddressWidth = 32;
    EXPECT_FALSE(remote::Remote_File_Exists(context, Cimv2(), "C:\\Program Files\\Gone\\none.exe"));
    EXPECT_TRUE(remote::Remote_File_Exists(context, Cimv2(), "C:\\PROGRAM FILES\\App\\app.exe"));
}

TEST_F(FilesTest, FastModeListsTheAdministrativeShare) {
    EXPECT_TRUE(remote::Remote_File_Exists(context, Cimv2(), "C:\\Temp\\O'Brien.txt"));
    EXPECT_EQ(network.calls.back().flags, 7);  // hidden and system files too, unlike the simulated share
    EXPECT_FALSE(remote::Remote_File_Exists(context, Cimv2(), "C:\\Temp\\Old Stuff"));  // a folder is no file
    EXPECT_TRUE(remote::Remote_Folder_Exists(context, Cimv2(), "C:\\Temp\\Old Stuff"));
    EXPECT_EQ(network.calls.back().flags, 63);
    for (const char* root : {"C:", "C:\\"}) {
        EXPECT_TRUE(remote::Remote_Folder_Exists(context, Cimv2(), root));
        EXPECT_EQ(network.calls.back().text, "\\\\SERVER1\\C$\\") << root;
    }
    EXPECT_EQ(network.Count(CallKind::Query), 0u);
}

TEST_F(FilesTest, FastModeOnTheLocalComputerTestsTheLocalPath) {
    network.Local().files.Add_File("C:\\Users\\me\\file.txt", 1);
    network.Local().unlistableShares.insert("C:");  // needs none
    Connect("WORKSTATION", "", "");
    using enum remote::Existence;
    EXPECT_EQ(remote::Test_File_Existence(context, Cimv2(), "C:\\Users\\me\\file.txt"), Exists);
    EXPECT_EQ(remote::Test_File_Existence(context, Cimv2(), "C:\\Users\\me\\gone.txt"), Missing);
    EXPECT_EQ(network.Count(CallKind::Query, "CIM_DataFile"), 0u);
}

TEST_F(FilesTest, AnUnlistableShareFallsBackToWmiWithOneWarning) {
    server.unlistableShares.insert("C:");
    EXPECT_TRUE(remote::Remote_File_Exists(context, Cimv2(), "C:\\Temp\\a.txt"));
    EXPECT_FALSE(remote::Remote_File_Exists(context, Cimv2(), "C:\\Temp\\gone.txt"));
    EXPECT_TRUE(remote::Remote_Folder_Exists(context, Cimv2(), "C:\\Temp\\Old Stuff"));
    EXPECT_FALSE(context.Fast_Tests_Trusted());
    const std::string log = Log_Text();
    const std::size_t first = log.find("W: Administrative share \\\\SERVER1\\C$\\ cannot be listed");
    EXPECT_NE(first, std::string::npos);
    EXPECT_EQ(log.find("W: Administrative share", first + 1), std::string::npos);
}

TEST_F(FilesTest, ShortNamesAreAskedOfTheShareAndNeverMissingThroughWmi) {
    server.files.Set_Short_Name("C:\\Program Files", "PROGRA~1");
    context.AddressWidth = 32;
    struct Case {
        bool safeScan;
        bool shareListable;
        const char* path;
        remote::Existence answer;
    };
    using enum remote::Existence;
    const Case cases[] = {
        {false, true, "C:\\PROGRA~1\\App\\app.exe", Exists},   {false, true, "C:\\PROGRA~1\\App\\gone.exe", Missing},
        {true, true, "C:\\PROGRA~1\\App\\app.exe", Exists},    {true, true, "C:\\PROGRA~1\\App\\", Exists},
        {false, false, "C:\\PROGRA~1\\App\\app.exe", Unknown}, {true, false, "C:\\PROGRA~1\\App\\gone.exe", Unknown},
        {true, false, "C:\\PROGRA~1\\Gone\\", Unknown},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.path) + (c.shareListable ? " share" : " no share"));
        context.SafeScan = c.safeScan;
        server.unlistableShares.clear();
        if (!c.shareListable) server.unlistableShares.insert("C:");
        const bool folder = std::string_view(c.path).ends_with('\\');
        EXPECT_EQ(c.answer, folder ? remote::Test_Folder_Existence(context, Cimv2(), c.path)
                                   : remote::Test_File_Existence(context, Cimv2(), c.path));
    }
}

TEST_F(FilesTest, PathsWithoutAFixedDriveAskTheManagementService) {
    server.disks = {{"C:", 3}, {"E:", 5}};
    context.FixedDrives = {"C:"};
    EXPECT_FALSE(remote::Remote_File_Exists(context, Cimv2(), "E:\\setup.exe"));
    EXPECT_FALSE(remote::Remote_File_Exists(context, Cimv2(), "\\\\FILER\\share\\x.dll"));
    EXPECT_FALSE(remote::Remote_Folder_Exists(context, Cimv2(), "system32"));
    EXPECT_EQ(network.Count(CallKind::Query), 3u);
    EXPECT_EQ(network.Count(CallKind::ShareListing), 0u);  // E: has no share; no root probe either
    EXPECT_TRUE(context.Fast_Tests_Trusted());
    EXPECT_EQ(Log_Text(), "");
    EXPECT_TRUE(remote::Is_Fixed_Drive(context, "c:"));  // drive letters compare upper-cased
    EXPECT_FALSE(remote::Is_Fixed_Drive(context, "\\\\"));
}

TEST_F(FilesTest, AListableShareIsCheckedOnce) {
    EXPECT_FALSE(remote::Remote_File_Exists(context, Cimv2(), "C:\\Temp\\gone1.txt"));
    EXPECT_FALSE(remote::Remote_File_Exists(context, Cimv2(), "C:\\Temp\\gone2.txt"));
    EXPECT_EQ(network.Count(CallKind::ShareListing, "\\\\SERVER1\\C$\\"), 3u);  // two files and one root check
    EXPECT_EQ(network.Count(CallKind::ShareListing, "gone"), 2u);
    EXPECT_TRUE(context.Fast_Tests_Trusted());
}

// A refused access cannot tell: counted, and "exists" to Boolean callers.
// (The fault matrix covers the failures that raise.)
TEST_F(FilesTest, RefusedAccessIsUndecidedNeverMissing) {
    context.SafeScan = true;
    network.Add_Fault({CallKind::Query, "", "", 0x80041003u, 1, false});
    EXPECT_EQ(remote::Test_File_Existence(context, Cimv2(), "C:\\gone.txt"), remote::Existence::Unknown);
    EXPECT_TRUE(remote::Remote_Folder_Exists(context, Cimv2(), "C:\\Gone"));
    EXPECT_EQ(context.Take_Undecided().count, 2);
    network.Clear_Faults();
    EXPECT_EQ(remote::Test_File_Existence(context, Cimv2(), "C:\\Temp\\Old Stuff\\"), remote::Existence::Exists);
}

TEST_F(FilesTest, DeleteFiles) {
    std::int32_t code = 0;
    EXPECT_TRUE(remote::WMI_Delete_File(Cimv2(), "C:\\Temp\\O'Brien.txt", code));
    EXPECT_FALSE(server.files.Find("C:\\Temp\\O'Brien.txt"));
    code = 33;
    EXPECT_TRUE(remote::WMI_Delete_File(Cimv2(), "C:\\Temp\\O'Brien.txt", code));  // nothing to delete
    EXPECT_EQ(code, 33);
    server.files.Lock("C:\\Temp\\a.txt");
    EXPECT_FALSE(remote::WMI_Delete_File(Cimv2(), "C:\\Temp\\a.txt", code));
    EXPECT_EQ(code, 15);
}

// Nothing to rename is a failure: the backup must not be reported as made.
TEST_F(FilesTest, RenamingNothingFails) {
    EXPECT_FALSE(remote::WMI_Rename_File(Cimv2(), "C:\\Windows\\", "CVNFullBackup.new", "CVNFullBackup.reg"));
}

}  // namespace
}  // namespace corvane::testing
