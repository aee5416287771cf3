// Undo files of registry fixes on simulated computers: what they bring back,
// where they go, and the deletions a backup that fails must stop.
#include "fix/undo_backup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "base/file_path.h"
#include "fix/fix_problems.h"
#include "remote/registry_bytes.h"
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
using scan::testing::kLocalName;
using scan::testing::ScanWorld;

struct ScratchUserData final : remote::IUserDataFolder {
    std::string Local_Application_Data() override { return folder; }
    std::string folder;
};

// Values of every type StdRegProv writes, in a key tree, a single key and loose values.
constexpr std::string_view kSeed =
    "Windows Registry Editor Version 5.00\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Gone]\r\n"
    "@=\"default\"\r\n"
    "\"Sz\"=\"text with \\\"quotes\\\" and \xC3\xA9\"\r\n"
    "\"Lines\"=hex(1):61,00,0d,00,0a,00,62,00,01,00,00,00\r\n"
    "\"Expand\"=hex(2):25,00,54,00,45,00,4d,00,50,00,25,00,0a,00,00,00\r\n"
    "\"Multi\"=hex(7):61,00,0d,00,00,00,62,00,00,00,00,00\r\n"
    "\"Dword\"=dword:8000002a\r\n"
    "\"Qword\"=hex(b):01,02,03,04,05,06,07,88\r\n"
    "\"Binary\"=hex:00,ff,0d,0a\r\n"
    "\"Empty\"=hex:\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Gone\\Sub\\Deeper]\r\n"
    "\"Deep\"=dword:00000001\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Lone]\r\n"
    "\"Multi\"=hex(7):00,00\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Keep]\r\n"
    "\"Stays\"=\"y\"\r\n"
    "\"Sz\"=\"x\"\r\n"
    "\"Expand\"=hex(2):41,00,00,00\r\n"
    "\"Multi\"=hex(7):61,00,00,00,00,00\r\n"
    "\"Dword\"=dword:00000000\r\n"
    "\"Qword\"=hex(b):ff,ff,ff,ff,ff,ff,ff,ff\r\n"
    "\"Binary\"=hex:01\r\n";

// Every key and every value with its type and bytes, read from the store
// itself: the oracle of the undo, apart from the .reg reader and writer.
using Facts = std::map<std::string, std::pair<std::uint32_t, std::vector<std::uint8_t>>>;
void Collect(const remote::SimRegistry& registry, const std::string& path, Facts& facts) {
    facts[path] = {};
    std::vector<remote::RegistryValueName> values;
    ASSERT_EQ(registry.Enum_Values(kHklm, path, values), 0u) << path;
    for (const auto& name : values) {
        remote::RegistryValue value;
        ASSERT_EQ(registry.Get_Value(kHklm, path, name.name, value), 0u) << path;
        facts[path + "|" + name.name] = {value.type, remote::Encode_Registry_Value(value)};
    }
    std::vector<std::string> keys;
    ASSERT_EQ(registry.Enum_Keys(kHklm, path, keys), 0u) << path;
    for (const std::string& key : keys) Collect(registry, path + "\\" + key, facts);
}

remote::RegistryWriteReport Write_Back(remote::SimNetwork& network, remote::SimComputer& computer,
                                       const std::string& file, bool yes) {
    const auto registry = network.ConnectServer(computer.name, "root\\default", "", {}, 0)->Get("StdRegProv");
    return remote::WMI_Write_Blocks(*registry, remote::Read_Reg_File(file),
                                    [yes](std::string_view, std::string_view) { return yes; });
}

[[nodiscard]] Facts Facts_Of(const remote::SimComputer& computer) {
    Facts facts;
    Collect(computer.registry, "Software", facts);
    return facts;
}

// PC17 holding the seed, the registry backup option stored, and a scratch
// folder for undo files.
struct UndoScene {
    UndoScene() : pc(scene.network.Add_Computer("PC17")) {
        pc.registry.Load_Reg_Text(kSeed);
        scene.Set_Options(GO_REGISTRY_BACKUP);
        userData.folder = Path_Utf8(scratch.Path());
    }

    void Fix(bool undoBackup = false) {
        fix::FixEnvironment env{scene.window, scene.progress,          scene.data.db, target,
                                scene.stop,   &Category_Recheck_Rules, undoBackup};
        fix::Start_Fixing(env, false);
    }
    [[nodiscard]] std::vector<remote::UndoFileInfo> Files(std::string_view computer) const {
        return remote::List_Undo_Files(Path_Utf8(scratch.Path()), computer);
    }

    ScanWorld scene;
    remote::SimComputer& pc;
    TempFolder scratch;
    ScratchUserData userData;
    remote::RemotePorts target{scene.Ports_With(userData)};
};

class UndoFiles : public ::testing::Test, public UndoScene {};

// A run asked for undo files makes them whatever the stored option (the
// other tests here store it; without either, no backup is tried at all). Each
// computer gets its own file; on PC18 a tree whose backup read fails and a
// text with a zero inside (as only the native store can tell) stay, while
// the run goes on with its other rows.
TEST_F(UndoFiles, UndoRestoresByteForByteAndARowWhoseBackupCannotBeReadStays) {
    scene.Set_Options(0);
    const Facts before = Facts_Of(pc);
    scene.Add_Header("fA", "PC17", "PC17", 10);
    scene.Add_Registry_Row(FixType::KeyTree, "PC17", kHklm, "Software\\Gone");
    scene.Add_Registry_Row(FixType::Key, "PC17", kHklm, "Software\\Lone");
    for (const char* name : {"Sz", "Expand", "Multi", "Dword", "Qword", "Binary", "NotThere"}) {
        scene.Add_Registry_Row(FixType::Value, "PC17", kHklm, "Software\\Keep", name);
    }
    remote::SimComputer& other = scene.network.Add_Computer("PC18");
    other.registry.Load_Reg_Text(kSeed);
    scene.network.Add_Fault({CallKind::Method, "PC18", "GetQWORDValue", wmi::hresult::kWbemFailed, 1, true});
    remote::RegistryValue odd;
    odd.text = "A";
    odd.whole = false;
    (void)other.Create_Key(kHklm, "Software\\Odd");
    (void)other.registry.Set_Value(kHklm, "Software\\Odd", "Odd", odd);
    const Facts theirsBefore = Facts_Of(other);
    scene.Add_Header("fA", "PC18", "PC18", 4);
    const auto tree = scene.Add_Registry_Row(FixType::KeyTree, "PC18", kHklm, "Software\\Gone");
    const auto value = scene.Add_Registry_Row(FixType::Value, "PC18", kHklm, "Software\\Keep", "Binary");
    const auto key = scene.Add_Registry_Row(FixType::Key, "PC18", kHklm, "Software\\Lone");
    const auto partial = scene.Add_Registry_Row(FixType::Value, "PC18", kHklm, "Software\\Odd", "Odd");
    Fix(true);
    const auto files = Files("PC17");
    const auto theirs = Files("PC18");
    ASSERT_EQ(files.size(), 1u);
    ASSERT_EQ(theirs.size(), 1u);
    EXPECT_EQ(remote::Undo_File_Computer(theirs[0].path), "PC18");
    EXPECT_EQ(files[0].date, "2026-12-05 14:03:09");
    EXPECT_EQ(files[0].keys, 3 + 1 + 6);  // the tree's keys, the single key, one block per value
    EXPECT_EQ(files[0].values, 10 + 1 + 6);
    const std::string log = scene.Log();
    EXPECT_NE(log.find("HKEY_LOCAL_MACHINE\\Software\\Gone (with all sub-keys) on PC17; undo file: " + files[0].path),
              std::string::npos);
    EXPECT_NE(Facts_Of(pc), before);
    (void)Write_Back(scene.network, pc, files[0].path, false);
    EXPECT_EQ(Facts_Of(pc), before);

    EXPECT_EQ(scene.Problem_Text(partial), "Other Errors");
    EXPECT_NE(log.find("GetStringValue could read only a part of a value of HKEY_LOCAL_MACHINE\\Software\\Odd"),
              std::string::npos);
    EXPECT_EQ(scene.Problem_Text(tree), "Other Errors");
    EXPECT_NE(log.find("(with all sub-keys) on PC18: Other Errors; its undo backup could not be made: "
                       "Reading HKEY_LOCAL_MACHINE\\Software\\Gone: "),
              std::string::npos);
    EXPECT_TRUE(scene.Fixed(value));
    EXPECT_TRUE(scene.Fixed(key));
    EXPECT_EQ(theirs[0].values, 2);
    (void)Write_Back(scene.network, other, theirs[0].path, false);
    EXPECT_EQ(Facts_Of(other), theirsBefore);
}

// Two computer names never share an undo folder, and every folder name gives
// its name back; an older version's folder is still listed where its name
// can stand for no other computer.
TEST_F(UndoFiles, EachNameHasAFolderOfItsOwn) {
    const std::pair<const char*, const char*> names[] = {{"PC-17_a", "PC-17_a"},
                                                         {"192.168.1.5", "192%2E168%2E1%2E5"},
                                                         {"M\xC3\xBCller", "M%C3%BCller"},
                                                         {"CON", "~CON"},
                                                         {"com1", "~com1"},
                                                         {"LPT9", "~LPT9"},
                                                         {"CONS", "CONS"},
                                                         {"~CON", "%7ECON"},
                                                         {"%41", "%2541"},
                                                         {"", "~"}};
    for (const auto& [name, folder] : names) {
        EXPECT_EQ(remote::Undo_Folder_Name(name), folder) << name;
        EXPECT_EQ(remote::Computer_Of_Undo_Folder(folder), name) << folder;
    }
    const std::string older = Path_Utf8(scratch.Path() / "Corvane" / "Undo" / "192.168.1.5");
    std::filesystem::create_directories(Utf8_Path(older));
    Write_File(older + "/2026-01-02 03-04-05.reg", "Windows Registry Editor Version 5.00\r\n\r\n");
    ASSERT_EQ(Files("192.168.1.5").size(), 1u);
    EXPECT_EQ(remote::Undo_File_Computer(Files("192.168.1.5")[0].path), "192.168.1.5");
    EXPECT_TRUE(Files("192_168_1_5").empty());
}

// A value StdRegProv cannot write back (by its type, directly or inside a
// key tree) is not deleted on a computer reached through WMI; the store of
// the computer the program runs on deletes it and writes it back with its
// own type.
TEST(UndoFileTypes, AValueOnlyTheLocalStoreCanWriteBackIsDeletedOnlyThere) {
    const std::pair<std::uint32_t, std::string> types[] = {{0, "REG_NONE"}, {6, "REG_LINK"}, {0x4000, "type 16384"}};
    for (const auto& [type, typeName] : types) {
        UndoScene t;
        remote::SimComputer& local = t.scene.network.Local();
        std::vector<std::string> rows;
        for (remote::SimComputer* computer : {&t.pc, &local}) {
            remote::RegistryValue odd;
            odd.type = type;
            odd.bytes = {0x01, 0x00, 0x0A};
            computer->registry.Set_String(kHklm, "Software\\Odd\\Inner", "Plain", "p");
            (void)computer->registry.Set_Value(kHklm, "Software\\Odd\\Inner", "T", odd);
            t.scene.Add_Header("fA", computer->name, computer->name, 2);
            rows.push_back(
                t.scene.Add_Registry_Row(FixType::Value, computer->name, kHklm, "Software\\Odd\\Inner", "T"));
            rows.push_back(t.scene.Add_Registry_Row(FixType::KeyTree, computer->name, kHklm, "Software\\Odd"));
        }
        const Facts remoteBefore = Facts_Of(t.pc);
        const Facts before = Facts_Of(local);
        t.Fix();

        for (std::size_t i = 0; i < 2; ++i) EXPECT_EQ(t.scene.Problem_Text(rows[i]), "Other Errors") << typeName;
        EXPECT_EQ(Facts_Of(t.pc), remoteBefore) << typeName;
        EXPECT_NE(t.scene.Log().find("\"T\" of HKEY_LOCAL_MACHINE\\Software\\Odd\\Inner has the type " + typeName +
                                     ", which StdRegProv cannot write back"),
                  std::string::npos)
            << typeName;
        EXPECT_TRUE(t.scene.Fixed(rows[2]) && t.scene.Fixed(rows[3])) << typeName;
        EXPECT_FALSE(local.registry.Key_Exists(kHklm, "Software\\Odd")) << typeName;
        const auto files = t.Files(kLocalName);
        ASSERT_EQ(files.size(), 1u) << typeName;
        (void)Write_Back(t.scene.network, local, files[0].path, false);
        EXPECT_EQ(Facts_Of(local), before) << typeName;
        // Through WMI the same file fails on that value alone.
        (void)t.pc.registry.Delete_Value(kHklm, "Software\\Odd\\Inner", "T");
        const auto remote = Write_Back(t.scene.network, t.pc, files[0].path, false);
        ASSERT_EQ(remote.failures.size(), 1u) << typeName;
        EXPECT_NE(remote.failures[0].find("(" + typeName + ")"), std::string::npos) << remote.failures[0];
    }
}

// An undo record that cannot be written whole deletes nothing: a name the
// file format cannot carry, no undo folder at all, a folder that cannot be
// made (a file in its place; a link to itself, which also stops the tests
// that run as root).
TEST(UndoFileWrites, NothingIsDeletedWhoseUndoRecordCannotBeWritten) {
    enum class Folder { Usable, Unknown, FileInItsPlace, LinkToItself };
    struct WriteCase {
        const char* name;
        FixType type;
        const char* keyPath;
        const char* valueName;
        Folder folder;
        const char* failure;
    };
    std::vector<WriteCase> cases = {
        {"a value name with a line break", FixType::Value, "Software\\Keep", "Line\r\n[HKEY_LOCAL_MACHINE\\Injected]",
         Folder::Usable, "has a control character in its name, which an undo file cannot hold"},
        {"a key name with a control character in the tree", FixType::KeyTree, "Software\\Ctl", "", Folder::Usable,
         "The key HKEY_LOCAL_MACHINE\\Software\\Ctl\\k\\x1Fey has a control character in its name"},
        {"no undo folder", FixType::Value, "Software\\Keep", "Sz", Folder::Unknown, "no folder for undo files"},
        {"a file in the folder's place", FixType::Value, "Software\\Keep", "Sz", Folder::FileInItsPlace,
         "Cannot make the undo folder"}};
#ifndef _WIN32
    cases.push_back({"a folder that is a link to itself", FixType::Key, "Software\\Lone", "", Folder::LinkToItself,
                     "Cannot make the undo folder"});
#endif
    for (const WriteCase& c : cases) {
        UndoScene t;
        t.pc.registry.Set_String(kHklm, "Software\\Keep", "Line\r\n[HKEY_LOCAL_MACHINE\\Injected]", "v");
        t.pc.registry.Set_String(kHklm,
                                 "Software\\Ctl\\k\x1F"
                                 "ey",
                                 "v", "w");
        if (c.folder == Folder::Unknown) t.userData.folder.clear();
        const std::filesystem::path corvane = t.scratch.Path() / "Corvane";
        if (c.folder == Folder::FileInItsPlace) Write_File(Path_Utf8(corvane), "not a folder");
        if (c.folder == Folder::LinkToItself) std::filesystem::create_directory_symlink(corvane, corvane);
        t.scene.Add_Header("fA", "PC17", "PC17", 1);
        const auto row = t.scene.Add_Registry_Row(c.type, "PC17", kHklm, c.keyPath, c.valueName);
        const Facts before = Facts_Of(t.pc);
        t.Fix();
        EXPECT_EQ(t.scene.Problem_Text(row), "Other Errors") << c.name;
        EXPECT_EQ(Facts_Of(t.pc), before) << c.name;
        EXPECT_NE(t.scene.Log().find(c.failure), std::string::npos) << c.name << "\n" << t.scene.Log();
        EXPECT_TRUE(c.folder != Folder::Usable || t.Files("PC17").empty()) << c.name;
    }
}

}  // namespace
}  // namespace corvane::testing
