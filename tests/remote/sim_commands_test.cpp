// The command lines that backups and restores start on a target, carried out
// by the simulated computer, driven through the program's own routines.
#include "remote/reg_file.h"
#include "remote/sim/sim_computer.h"
#include "remote/wmi_files.h"
#include "remote/wmi_system.h"
#include "remote_fixture.h"

namespace corvane::testing {
namespace {

using remote::CallKind;

TEST(CommandLine, SplitsLikeTheCommandInterpreter) {
    EXPECT_EQ(remote::Split_Command_Line("regedit.exe /s /q /e \"C:\\My Dir\\a.reg\" \"HKEY_USERS\""),
              (std::vector<std::string>{"regedit.exe", "/s", "/q", "/e", "C:\\My Dir\\a.reg", "HKEY_USERS"}));
    EXPECT_EQ(remote::Split_Command_Line("  cmd.exe   /c  md \"\" "), (std::vector<std::string>{"cmd.exe", "/c", "md", ""}));
}

class BackupScenario : public RemoteFixture {
protected:
    BackupScenario() {
        server.registry.Set_String(remote::kHkeyLocalMachine, "Software\\Vendor", "Path", "C:\\Vendor");
        server.registry.Set_String(remote::kHkeyUsers, "S-1-5-21\\Software\\Vendor", "Name", "Ann");
        connection = Connect("SERVER1");
    }

    bool Run(const std::string& commandLine, double& budget) {
        std::uint32_t id = 0;
        if (!remote::WMI_Create_Process(*connection.cimv2, clock, commandLine, id)) return false;
        remote::Wait_For_Process(*connection.cimv2, clock, reporter, id, budget, nullptr);
        return true;
    }

    remote::WmiConnection connection;
};

TEST_F(BackupScenario, ExportAppendRenameAndImport) {
    const std::string folder = "C:\\Windows\\CVNBackup\\";
    double budget = 120.0;
    ASSERT_FALSE(remote::WMI_Folder_Exists(*connection.cimv2, folder));
    ASSERT_TRUE(Run("cmd.exe /q /c md \"" + folder + "\"", budget));
    EXPECT_TRUE(remote::WMI_Folder_Exists(*connection.cimv2, folder));

    ASSERT_TRUE(Run("regedit.exe /s /q /e \"" + folder + "CVNFullBackup.new\" \"HKEY_LOCAL_MACHINE\"", budget));
    ASSERT_TRUE(remote::WMI_File_Exists(*connection.cimv2, folder + "CVNFullBackup.new"));
    ASSERT_TRUE(Run("regedit.exe /s /q /e \"" + folder + "tempreg.bak\" \"HKEY_USERS\"", budget));
    ASSERT_TRUE(Run("cmd.exe /s /q /c Copy " + folder + "CVNFullBackup.new + " + folder + "tempreg.bak " + folder +
                        "CVNFullBackup.new",
                    budget));
    std::int32_t code = 0;
    ASSERT_TRUE(remote::WMI_Delete_File(*connection.cimv2, folder + "tempreg.bak", code));
    ASSERT_TRUE(remote::WMI_Delete_File(*connection.cimv2, folder + "CVNFullBackup.reg", code));
    ASSERT_TRUE(remote::WMI_Rename_File(*connection.cimv2, folder, "CVNFullBackup.new", "CVNFullBackup.reg"));
    EXPECT_LT(budget, 120.0);
    EXPECT_GT(budget, 0.0);

    const auto bytes = server.files.Read_File(folder + "CVNFullBackup.reg");
    ASSERT_TRUE(bytes.has_value());
    const remote::RegFile backup = remote::Parse_Reg_File(*bytes);
    bool machine = false;
    bool users = false;
    for (const auto& key : backup.keys) {
        machine = machine || (key.root == remote::kHkeyLocalMachine && key.keyPath == "Software\\Vendor");
        users = users || (key.root == remote::kHkeyUsers && key.keyPath == "S-1-5-21\\Software\\Vendor");
    }
    EXPECT_TRUE(machine);
    EXPECT_TRUE(users);

    // Restore: change the registry, import the backup, the old values return.
    server.registry.Set_String(remote::kHkeyLocalMachine, "Software\\Vendor", "Path", "changed");
    ASSERT_TRUE(remote::WMI_File_Exists(*connection.cimv2, folder + "CVNFullBackup.reg"));
    ASSERT_TRUE(Run("regedit.exe /s \"" + folder + "CVNFullBackup.reg\"", budget));
    remote::RegistryValue value;
    ASSERT_EQ(server.registry.Get_Value(remote::kHkeyLocalMachine, "Software\\Vendor", "Path", value), 0u);
    EXPECT_EQ(value.text, "C:\\Vendor");
    EXPECT_EQ(server.startedCommands.size(), 5u);
}

TEST_F(BackupScenario, ExportIntoAMissingFolderWritesNothing) {
    double budget = 120.0;
    ASSERT_TRUE(Run("regedit.exe /s /q /e \"C:\\Nowhere\\x.reg\" \"HKEY_LOCAL_MACHINE\"", budget));
    EXPECT_FALSE(remote::WMI_File_Exists(*connection.cimv2, "C:\\Nowhere\\x.reg"));
    server.failingCommands = {"HKEY_USERS"};
    ASSERT_TRUE(Run("regedit.exe /s /q /e \"C:\\Windows\\u.reg\" \"HKEY_USERS\"", budget));
    EXPECT_FALSE(remote::WMI_File_Exists(*connection.cimv2, "C:\\Windows\\u.reg"));
    ASSERT_TRUE(Run("cmd.exe /s /q /c Copy C:\\none.reg + C:\\none2.reg C:\\out.reg", budget));
    EXPECT_FALSE(server.files.Find("C:\\out.reg"));
}

}  // namespace
}  // namespace corvane::testing
