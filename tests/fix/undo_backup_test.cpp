// Undo files of registry fixes on simulated computers: what a fix with the
// registry backup option removes comes back byte for byte, for every value
// type and fix type; a backup that cannot be read stops only its own
// deletion; each computer keeps its own files.
#include "fix/undo_backup.h"

#include <gtest/gtest.h>

#include "base/file_path.h"
#include "fix/fix_problems.h"
#include "remote/undo_files.h"
#include "remote/wmi_errors.h"
#include "remote/wmi_registry_copy.h"
#include "scan/scan_world.h"
#include "settings/general_options.h"
#include "support/temp_folder.h"

namespace corvane::testing {
namespace {

using remote::CallKind;
using scan::testing::kHklm;
using scan::testing::ScanWorld;

struct ScratchUserData final : remote::IUserDataFolder {
    std::string Local_Application_Data() override { return folder; }
    std::string folder;
};

// Values of every type, in a key tree, a single key and loose values.
constexpr std::string_view kSeed =
    "Windows Registry Editor Version 5.00\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Gone]\r\n"
    "@=\"default\"\r\n"
    "\"Sz\"=\"text with \\\"quotes\\\" and \xC3\xA9\"\r\n"
    "\"Expand\"=hex(2):25,00,54,00,45,00,4d,00,50,00,25,00,00,00\r\n"
    "\"Multi\"=hex(7):61,00,00,00,62,00,00,00,00,00\r\n"
    "\"Dword\"=dword:8000002a\r\n"
    "\"Qword\"=hex(b):01,02,03,04,05,06,07,88\r\n"
    "\"Binary\"=hex:00,ff,10\r\n"
    "\"None\"=hex(0):01,02\r\n"
    "\"Empty\"=hex:\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Gone\\Sub\\Deeper]\r\n"
    "\"Link\"=hex(6):41,00\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Lone]\r\n"
    "\"Multi\"=hex(7):00,00\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Keep]\r\n"
    "\"Stays\"=\"y\"\r\n"
    "\"Sz\"=\"x\"\r\n"
    "\"Expand\"=hex(2):41,00,00,00\r\n"
    "\"Multi\"=hex(7):61,00,00,00,00,00\r\n"
    "\"Dword\"=dword:00000000\r\n"
    "\"Qword\"=hex(b):ff,ff,ff,ff,ff,ff,ff,ff\r\n"
    "\"Binary\"=hex:01\r\n"
    "\"None\"=hex(0):\r\n";

class UndoFiles : public ::testing::Test {
protected:
    UndoFiles() : pc(scene.network.Add_Computer("PC17")) {
        pc.registry.Load_Reg_Text(kSeed);
        scene.Set_Options(GO_REGISTRY_BACKUP);
        userData.folder = Path_Utf8(scratch.Path());
    }

    void Fix(bool undoBackup = false) {
        fix::FixEnvironment env{scene.window, scene.data.db, target, scene.stop, undoBackup};
        fix::Start_Fixing(env, false);
    }
    void Add_Rows(std::string_view computer) {
        scene.Add_Header("fA", computer, computer, 10);
        scene.Add_Registry_Row('0', computer, kHklm, "Software\\Gone");
        scene.Add_Registry_Row('2', computer, kHklm, "Software\\Lone");
        for (const char* name : {"Sz", "Expand", "Multi", "Dword", "Qword", "Binary", "None"}) {
            scene.Add_Registry_Row('1', computer, kHklm, "Software\\Keep", name);
        }
        scene.Add_Registry_Row('1', computer, kHklm, "Software\\Keep", "NotThere");
    }
    [[nodiscard]] std::string Export() const { return pc.registry.Export_Reg_Text(kHklm, "Software"); }
    [[nodiscard]] std::vector<remote::UndoFileInfo> Files(std::string_view computer) const {
        return remote::List_Undo_Files(Path_Utf8(scratch.Path()), computer);
    }
    remote::RegistryWriteReport Undo(remote::SimComputer& computer, const std::string& file, bool yes) {
        const auto registry = scene.network.ConnectServer(computer.name, "root\\default", "", "", 0)->Get("StdRegProv");
        return remote::WMI_Write_Blocks(*registry, remote::Read_Reg_File(file),
                                        [yes](std::string_view, std::string_view) { return yes; });
    }

    ScanWorld scene;
    remote::SimComputer& pc;
    TempFolder scratch;
    ScratchUserData userData;
    remote::TargetContext target{scene.ports, &userData};
};

TEST_F(UndoFiles, UndoRestoresEveryValueTypeByteForByteAndEachComputerKeepsItsOwnFiles) {
    const std::string before = Export();
    scene.network.Add_Computer("PC18").registry.Load_Reg_Text(kSeed);
    Add_Rows("PC17");
    scene.Add_Header("fA", "PC18", "PC18", 1);
    scene.Add_Registry_Row('2', "PC18", kHklm, "Software\\Lone");
    Fix();
    const auto files = Files("PC17");
    const auto theirs = Files("PC18");
    ASSERT_EQ(files.size(), 1u);
    ASSERT_EQ(theirs.size(), 1u);
    EXPECT_EQ(remote::Undo_File_Caption(theirs[0]), "Undo of the fix of 2026-12-05 14:03:09 (1 keys, 1 values)");
    EXPECT_EQ(remote::Undo_File_Computer(theirs[0].path), "PC18");
    EXPECT_NE(files[0].path, theirs[0].path);
    EXPECT_EQ(files[0].date, "2026-12-05 14:03:09");
    EXPECT_EQ(files[0].keys, 3 + 1 + 7);  // the tree's keys, the single key, one block per value
    EXPECT_EQ(files[0].values, 9 + 1 + 1 + 7);
    EXPECT_NE(
        scene.Log().find("HKEY_LOCAL_MACHINE\\Software\\Gone (with all sub-keys) on PC17; undo file: " + files[0].path),
        std::string::npos);

    const auto report = Undo(pc, files[0].path, false);
    EXPECT_TRUE(report.failures.empty());
    EXPECT_EQ(report.valuesWritten, 18);
    EXPECT_EQ(Export(), before);

    // Writing it again finds everything in place; data changed since is kept unless allowed.
    pc.registry.Set_String(kHklm, "Software\\Keep", "Sz", "changed");
    const auto again = Undo(pc, files[0].path, false);
    EXPECT_EQ(again.valuesUnchanged, 17);
    EXPECT_EQ(again.valuesKept, 1);
    EXPECT_EQ(Undo(pc, files[0].path, true).valuesWritten, 1);
    EXPECT_EQ(Export(), before);
}

// A run asked for undo files makes them whatever the stored option; without
// the option and without the request there are none.
TEST_F(UndoFiles, AFixAskedForUndoFilesMakesThemWhateverTheStoredOption) {
    scene.Set_Options(0);
    for (const bool asked : {false, true}) {
        scene.List().Clear();
        scene.Add_Header("fA", "PC17", "PC17", 1);
        scene.Add_Registry_Row('1', "PC17", kHklm, "Software\\Keep", asked ? "Sz" : "Binary");
        Fix(asked);
        EXPECT_EQ(Files("PC17").size(), asked ? 1u : 0u) << asked;
    }
}

TEST_F(UndoFiles, ARowWhoseBackupCannotBeReadIsNotDeleted) {
    scene.network.Add_Fault({CallKind::Method, "PC17", "GetQWORDValue", wmi::hresult::kWbemFailed, 1, true});
    scene.Add_Header("fA", "PC17", "PC17", 4);
    const auto tree = scene.Add_Registry_Row('0', "PC17", kHklm, "Software\\Gone");
    const auto value = scene.Add_Registry_Row('1', "PC17", kHklm, "Software\\Keep", "None");
    const auto key = scene.Add_Registry_Row('2', "PC17", kHklm, "Software\\Lone");
    // A text with a zero inside, as only the native store can tell.
    remote::RegistryValue odd;
    odd.text = "A";
    odd.whole = false;
    (void)pc.Create_Key(kHklm, "Software\\Odd");
    (void)pc.registry.Set_Value(kHklm, "Software\\Odd", "Odd", odd);
    const auto partial = scene.Add_Registry_Row('1', "PC17", kHklm, "Software\\Odd", "Odd");
    const std::string withOdd = Export();
    Fix();
    EXPECT_EQ(scene.Problem_Text(partial), "Other Errors");
    EXPECT_NE(scene.Log().find("GetStringValue could read only a part of a value of HKEY_LOCAL_MACHINE\\Software\\Odd"),
              std::string::npos);

    EXPECT_FALSE(scene.Fixed(tree));
    EXPECT_EQ(scene.Problem_Text(tree), "Other Errors");
    EXPECT_NE(scene.Log().find("(with all sub-keys) on PC17: Other Errors; its undo backup could not be made: "
                               "Reading HKEY_LOCAL_MACHINE\\Software\\Gone: "),
              std::string::npos);
    EXPECT_TRUE(scene.Fixed(value));
    EXPECT_TRUE(scene.Fixed(key));
    EXPECT_NE(pc.registry.Export_Reg_Text(kHklm, "Software\\Gone").find("Deeper"), std::string::npos);

    const auto files = Files("PC17");
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].values, 2);
    (void)Undo(pc, files[0].path, false);
    EXPECT_EQ(Export(), withOdd);
}

}  // namespace
}  // namespace corvane::testing
