// The machine store contract (remote/machine_store.h); each test program
// instantiates it with its own stores.
#include "store_contract.h"

#include <algorithm>
#include <type_traits>

#include "base/text.h"
#include "remote/registry_bytes.h"

namespace corvane::testing {
namespace {

using namespace corvane::remote;

constexpr std::uint32_t kRoot = kHkeyCurrentUser;

std::string Key(std::string_view sub = "") {
    return std::string(kStoreScratchKey) + (sub.empty() ? "" : "\\") + std::string(sub);
}

// A value of the given type with one of its fields set.
template <class Field>
RegistryValue Value(std::uint32_t type, Field RegistryValue::*field, std::type_identity_t<Field> content) {
    RegistryValue value;
    value.type = type;
    value.*field = std::move(content);
    return value;
}

TEST_P(StoreContract, RegistryValuesComeBackAsTheyWereWritten) {
    ASSERT_EQ(kStatusOk, store.Create_Key(kRoot, Key("Alpha\\Deep")));  // parents too
    ASSERT_EQ(kStatusOk, store.Create_Key(kRoot, Key("beta")));
    const RegistryValue written[] = {
        Value(kRegSz, &RegistryValue::text, "C:\\Program Files\\App\\app.exe"),
        Value(kRegSz, &RegistryValue::text,
              "Gr\xc3\xbc\xc3\x9f"
              "e \xe6\x97\xa5\xe6\x9c\xac"),
        Value(kRegExpandSz, &RegistryValue::text, "%SystemRoot%\\help"),
        Value(kRegSz, &RegistryValue::text, std::string(3000, 'x')),  // longer than a first read buffer
        Value(kRegDword, &RegistryValue::number, 0xFFFFFFF0u),
        Value(kRegQword, &RegistryValue::number, 0x1234567890ull),
        Value(kRegMultiSz, &RegistryValue::parts, {"one", "two"}),
        Value(kRegBinary, &RegistryValue::bytes, {0, 7, 255}),
    };
    for (std::size_t index = 0; index < std::size(written); ++index) {
        ASSERT_EQ(kStatusOk, store.Set_Value(kRoot, Key(), "V" + std::to_string(index), written[index]));
    }
    for (std::size_t index = 0; index < std::size(written); ++index) {
        RegistryValue read;
        // Value names ignore case.
        ASSERT_EQ(kStatusOk, store.Get_Value(kRoot, Key(), "v" + std::to_string(index), read)) << index;
        EXPECT_EQ(written[index].type, read.type) << index;
        EXPECT_EQ(Encode_Registry_Value(written[index]), Encode_Registry_Value(read)) << index;
    }

    std::vector<RegistryValueName> values;
    ASSERT_EQ(kStatusOk, store.Enum_Values(kRoot, Key(), values));
    ASSERT_EQ(std::size(written), values.size());
    for (const RegistryValueName& value : values) {
        EXPECT_EQ(written[std::stoul(value.name.substr(1))].type, value.type) << value.name;
    }
    std::vector<std::string> keys;
    ASSERT_EQ(kStatusOk, store.Enum_Keys(kRoot, Key(), keys));
    std::sort(keys.begin(), keys.end());
    EXPECT_EQ((std::vector<std::string>{"Alpha", "beta"}), keys);
    ASSERT_EQ(kStatusOk, store.Enum_Keys(kRoot, Key() + "\\", keys)) << "a trailing \\ names the same key";
    EXPECT_EQ(2u, keys.size());

    RegistryValue read;
    EXPECT_EQ(kStatusNotFound, store.Get_Value(kRoot, Key(), "Absent", read));
    EXPECT_EQ(kStatusNotFound, store.Get_Value(kRoot, Key("Nowhere"), "V0", read));
    EXPECT_EQ(kStatusNotFound, store.Enum_Values(kRoot, Key("Nowhere"), values));
    // Writing into a missing key fails instead of creating it.
    EXPECT_EQ(kStatusNotFound, store.Set_Value(kRoot, Key("Nowhere"), "x", written[0]));
    EXPECT_EQ(kStatusNotFound, store.Enum_Keys(kRoot, Key("Nowhere"), keys));

    const std::string expanded = store.Expand_Environment("%SystemRoot%\\help");
    EXPECT_EQ(std::string::npos, expanded.find('%')) << expanded;
    EXPECT_TRUE(expanded.ends_with("\\help")) << expanded;
}

TEST_P(StoreContract, DeletesValuesAndKeysButNoKeyWithSubKeysNorARoot) {
    ASSERT_EQ(kStatusOk, store.Create_Key(kRoot, Key("Parent\\Child")));
    ASSERT_EQ(kStatusOk, store.Set_Value(kRoot, Key("Parent"), "Stale", Value(kRegSz, &RegistryValue::text, "old")));
    bool granted = false;
    EXPECT_EQ(kStatusOk, store.Check_Access(kRoot, Key("Parent"), 1, granted));
    EXPECT_TRUE(granted);
    granted = true;
    EXPECT_EQ(kStatusNotFound, store.Check_Access(kRoot, Key("Gone"), 0x10000, granted));
    EXPECT_FALSE(granted);

    EXPECT_EQ(kStatusOk, store.Delete_Value(kRoot, Key("Parent"), "Stale"));
    EXPECT_EQ(kStatusNotFound, store.Delete_Value(kRoot, Key("Parent"), "Stale"));
    EXPECT_EQ(kStatusAccessDenied, store.Delete_Key(kRoot, Key("Parent")));
    std::vector<std::string> keys;
    EXPECT_EQ(kStatusOk, store.Enum_Keys(kRoot, Key("Parent"), keys));
    EXPECT_EQ(std::vector<std::string>{"Child"}, keys);
    EXPECT_EQ(kStatusOk, store.Delete_Key(kRoot, Key("Parent\\Child")));
    EXPECT_EQ(kStatusOk, store.Delete_Key(kRoot, Key("Parent")));
    EXPECT_EQ(kStatusNotFound, store.Delete_Key(kRoot, Key("Parent")));
    EXPECT_NE(kStatusOk, store.Delete_Key(kRoot, ""));
}

TEST_P(StoreContract, ListsOneFolderAndFindsEntriesByName) {
    world->Make_File("Report.TXT", "12345");
    world->Make_File("b.log", "x");
    world->Make_Folder("Sub");
    world->Make_File("Sub\\inner.txt", "x");
    const std::string folder = world->Folder();

    auto list = [&](const std::string& path, std::uint32_t& status) {
        std::vector<FileEntry> listed;
        status = store.List_Folder(path, listed);
        return listed;
    };
    std::uint32_t status = 0;
    std::vector<FileEntry> entries = list(folder, status);
    EXPECT_EQ(kStatusOk, status);
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.path < b.path; });
    ASSERT_EQ(3u, entries.size()) << "direct children only";
    EXPECT_EQ(folder + "\\Report.TXT", entries[0].path);
    EXPECT_EQ(5u, entries[0].size);
    EXPECT_FALSE(entries[0].isFolder);
    EXPECT_FALSE(entries[0].fileType.empty());
    EXPECT_EQ(folder + "\\Sub", entries[1].path);
    EXPECT_TRUE(entries[1].isFolder);
    // The file system's own view says which file it lists; WMI's file classes cannot.
    EXPECT_EQ(!world->Wmi_View(), entries[0].identity.known && entries[1].identity.known);
    if (!world->Wmi_View()) {
        EXPECT_NE(entries[0].identity, entries[1].identity);
    }
    EXPECT_EQ(list(folder + "\\", status).size(), 3u);
    EXPECT_TRUE(list(folder + "\\Missing", status).empty());
    EXPECT_EQ(kStatusNotFound, status & ~1u) << "2 or 3: the folder does not exist";
    EXPECT_TRUE(list(folder + "\\b.log", status).empty());

    const auto found = store.Find_Entry(Lower_Ascii(folder + "\\Report.TXT"));
    ASSERT_TRUE(found.has_value());
    EXPECT_TRUE(found->path.ends_with("\\Report.TXT")) << "the stored spelling: " << found->path;
    EXPECT_FALSE(store.Find_Entry(folder + "\\Report.TXT.bak").has_value());
    EXPECT_FALSE(store.Find_Entry(folder + "\\*.TXT").has_value()) << "no wildcards";
    for (const std::string& path : {folder + "\\Sub\\", std::string("C:"), std::string("C:\\")}) {
        const auto entry = store.Find_Entry(path);
        ASSERT_TRUE(entry.has_value()) << path;
        EXPECT_TRUE(entry->isFolder) << path;
    }

    const OsFacts facts = store.Os_Facts();
    EXPECT_FALSE(facts.computerName.empty());
    EXPECT_EQ(2, std::count(facts.version.begin(), facts.version.end(), '.')) << facts.version;
    EXPECT_TRUE(Starts_With_Ignore_Case(facts.windowsDirectory, "C:\\Windows")) << facts.windowsDirectory;
    EXPECT_EQ(64, facts.addressWidth);
    const auto disks = store.Logical_Disks();
    EXPECT_TRUE(std::any_of(disks.begin(), disks.end(),
                            [](const LogicalDisk& disk) { return disk.name == "C:" && disk.driveType == 3; }));
}

TEST_P(StoreContract, DeletesAndRenamesFilesAndAFolderWithContentOnlyThroughWmi) {
    world->Make_File("doomed.tmp", "x");
    world->Make_File("old name.txt", "x");
    world->Make_File("taken.txt", "x");
    world->Make_Folder("Full");
    world->Make_File("Full\\keep.txt", "x");
    world->Make_Folder("Empty");
    const std::string folder = world->Folder() + "\\";

    EXPECT_EQ(kStatusOk, store.Delete_File(folder + "doomed.tmp"));
    EXPECT_FALSE(store.Find_Entry(folder + "doomed.tmp"));
    EXPECT_EQ(kStatusNotFound, store.Delete_File(folder + "doomed.tmp"));
    if (world->Wmi_View()) {
        EXPECT_EQ(kStatusOk, store.Delete_Folder(folder + "Full"));
        EXPECT_FALSE(store.Find_Entry(folder + "Full\\keep.txt"));
    } else {
        EXPECT_EQ(kStatusDirNotEmpty, store.Delete_Folder(folder + "Full"));
        EXPECT_TRUE(store.Find_Entry(folder + "Full\\keep.txt"));
    }
    EXPECT_EQ(kStatusOk, store.Delete_Folder(folder + "Empty\\"));
    EXPECT_FALSE(store.Find_Entry(folder + "Empty"));

    EXPECT_EQ(kStatusOk, store.Rename_File(folder + "old name.txt", folder + "new name.txt"));
    EXPECT_TRUE(store.Find_Entry(folder + "new name.txt"));
    EXPECT_FALSE(store.Find_Entry(folder + "old name.txt"));
    EXPECT_EQ(kStatusAlreadyExists, store.Rename_File(folder + "new name.txt", folder + "taken.txt"));
    EXPECT_TRUE(store.Find_Entry(folder + "new name.txt"));
}

TEST_P(StoreContract, ReadsTheTargetOfAShortcutOnly) {
    world->Make_File("target.exe", "x");
    world->Make_Shortcut("app.lnk", world->Path("target.exe"));
    EXPECT_TRUE(Equals_Ignore_Case(world->Path("target.exe"), store.Shortcut_Target(world->Path("app.lnk"))));
    EXPECT_EQ("", store.Shortcut_Target(world->Path("target.exe")));
    EXPECT_EQ("", store.Shortcut_Target(world->Path("missing.lnk")));
}

// GetOwnerSid's answer: the SID of the user a process runs for; a process
// that is not there is "not found", never anyone's.
TEST_P(StoreContract, TellsWhichUserAProcessRunsFor) {
    std::size_t owned = 0;
    for (const ProcessEntry& process : store.Processes()) {
        std::string sid;
        if (store.Process_Owner(process.processId, sid) != kStatusOk) continue;
        EXPECT_TRUE(sid.starts_with("S-1-")) << process.name << ": " << sid;
        ++owned;
    }
    EXPECT_GT(owned, 0u);
    std::string sid;
    EXPECT_EQ(kOwnerSidNotFound, store.Process_Owner(0xFFFFFFF0u, sid));
    EXPECT_EQ("", sid);
}

}  // namespace
}  // namespace corvane::testing
