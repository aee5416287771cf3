// The five registry entry categories on simulated computers, beyond their
// scenario rows: native reads on the local computer, one listing per folder,
// what one more entry costs, the exception table read once per change, and
// unreadable keys.
#include <gtest/gtest.h>

#include <tuple>

#include "scan/registry_entry_categories.h"
#include "scan_world.h"

namespace corvane::scan::testing {
namespace {

using remote::CallKind;

class RegistryEntryCategories : public ::testing::Test {
protected:
    RegistryEntryCategories() : pc(world.Add_Computer("PC1")) { world.Add_Node("PC1"); }

    void Scan(const char* category) {
        world.Check_Category(category);
        world.Scan_Without_Fix();
        ASSERT_TRUE(world.driver.Scan_Ran());
        ASSERT_TRUE(world.Rows('e').empty()) << world.Rows('e')[0]->Sub(2).text;
        const ListRow* header = world.Header(std::string(category) + "PC1");
        ASSERT_NE(header, nullptr);
        EXPECT_EQ(header->Sub(2).text, std::to_string(world.Rows('s').size()) + " Problems Found");
    }

    ScanWorld world;
    remote::SimComputer& pc;
};

TEST_F(RegistryEntryCategories, UninstallEntriesOnTheLocalComputerReadNatively) {
    remote::SimComputer& local = world.network.Local();
    local.facts.addressWidth = 32;
    world.window.Computer_Tree().Set_Checked_Only(world.window.Computer_Tree().Find("mPC1"), false);
    world.Add_Node(kLocalName);
    const std::string u = kUninstallKey;
    local.registry.Set_String(kHklm, u + "\\Gone", "InstallSource", "C:\\Installers\\Gone");
    local.registry.Create_Key(kHklm, u + "\\Empty");
    world.Check_Category("fB");
    world.Scan_Without_Fix();
    EXPECT_EQ(world.Problem_Texts(), (std::vector<std::string>{"Empty", "C:\\Installers\\Gone"}));
    EXPECT_EQ(world.network.Count(remote::CallKind::Method, "GetStringValue"), 0u);
}

// A safe scan asks for a folder by its class: a file of that name is no
// folder, and the fix tests it again the same way before deleting the entry.
TEST_F(RegistryEntryCategories, ApplicationPathFolderThatIsAFileIsListedAndFixed) {
    pc.files.Add_File("C:\\Apps\\a.exe");
    const std::string entry = std::string(kAppPathsKey) + "\\e.exe";
    pc.registry.Set_String(kHklm, entry, "Path", "C:\\Apps\\a.exe");
    Scan("fD");
    EXPECT_EQ(world.Problem_Texts(), (std::vector<std::string>{"C:\\Apps\\a.exe"}));
    world.Fix();
    EXPECT_EQ(world.Rows('s').at(0)->Sub(2).text, "Problem fixed");
    EXPECT_FALSE(pc.registry.Key_Exists(kHklm, entry));
}

// Existence tests are answered from one listing per folder and scan, through
// the share (fast) or one Drive-and-Path query (safe); a folder whose listing
// fails reports nothing.
TEST_F(RegistryEntryCategories, EachFolderIsListedOncePerScan) {
    const std::string s = kSharedDllsKey;
    for (const char* name : {"a", "b", "c", "d"}) {
        pc.registry.Set_Dword(kHklm, s, std::string("C:\\Win\\") + name + ".dll", 1);
        if (*name < 'c') pc.files.Add_File(std::string("C:\\Win\\") + name + ".dll");
    }
    pc.registry.Set_Dword(kHklm, s, "C:\\Other\\e.dll", 1);
    world.Check_Category("fF");
    const std::vector<std::string> missing{"C:\\Win\\c.dll", "C:\\Win\\d.dll", "C:\\Other\\e.dll"};
    for (const auto& [options, kind, listing] : {std::tuple{0, CallKind::ShareListing, "\\\\PC1\\C$\\Win\\"},
                                                 std::tuple{32, CallKind::Query, "Path='\\\\Win\\\\'"}}) {
        world.Set_Options(options);
        world.network.calls.clear();
        world.List().Clear();
        world.Scan_Without_Fix();
        EXPECT_EQ(world.Problem_Texts(), missing) << options;
        EXPECT_EQ(world.network.Count(kind, listing), 1u) << options;
    }
    world.network.Add_Fault({CallKind::Query, "PC1", "Path='\\\\Win", 0x80070005u, 1, true});
    world.List().Clear();
    world.Scan_Without_Fix();
    EXPECT_EQ(world.Problem_Texts(), std::vector<std::string>{"C:\\Other\\e.dll"});
    EXPECT_NE(world.Log().find("4 entries of [Shared Dlls] on PC1 could not be checked"), std::string::npos);
}

// What one more entry costs, from the recorded calls of two scans that differ
// only in the number of entries (a third obsolete, files in one folder): the
// registry reads the category needs and no existence query of its own.
// "fB-": uninstall entries without an InstallSource (none obsolete).
TEST(RegistryEntryCalls, EachEntryCostsItsReadsAndNoQuery) {
    const auto scan = [](std::string_view category, int count, CallKind kind) {
        ScanWorld world;
        remote::SimComputer& pc = world.Add_Computer("PC1");
        for (int i = 0; i < count; ++i) {
            const std::string n = std::to_string(i);
            const std::string entry = std::string(category == "fD" ? kAppPathsKey : kUninstallKey) + "\\" + n;
            if (category == "fD") {
                pc.registry.Set_String(kHklm, entry, "", "C:\\Apps\\" + n + ".exe");
                pc.registry.Set_String(kHklm, entry, "Path", "C:\\Apps");
            } else if (category == "fF") {
                pc.registry.Set_Dword(kHklm, kSharedDllsKey, "C:\\Apps\\" + n + ".exe", 1);
            } else {
                pc.registry.Set_String(kHklm, entry, "DisplayName", n);
                if (category == "fB") pc.registry.Set_String(kHklm, entry, "InstallSource", "C:\\Apps\\" + n);
            }
            if (i % 3 != 0) pc.files.Add_File("C:\\Apps\\" + n + ".exe");
            if (i % 3 != 0) pc.files.Add_Folder("C:\\Apps\\" + n);
        }
        world.Add_Node("PC1");
        world.Set_Options(32);
        world.Check_Category(category.substr(0, 2));
        world.Scan_Without_Fix();
        EXPECT_EQ(world.Rows('s').size(), category == "fB-" ? 0u : count / 3u) << category;
        return static_cast<int>(world.network.Count(kind));
    };
    for (const auto& [category, methods] :
         {std::pair{"fB", 1}, std::pair{"fB-", 1}, std::pair{"fD", 2}, std::pair{"fF", 0}}) {
        EXPECT_EQ(scan(category, 12, CallKind::Method) - scan(category, 6, CallKind::Method), 6 * methods) << category;
        EXPECT_EQ(scan(category, 12, CallKind::Query), scan(category, 6, CallKind::Query)) << category;
    }
}

// The exception table is read once while it stays unchanged (by the first
// scan only), and again for the very next candidate after a change made
// during a scan.
TEST_F(RegistryEntryCategories, ExceptionTableIsReadOncePerChange) {
    std::vector<std::string> all;
    for (const char* name : {"a", "b", "c", "d"}) {
        all.push_back(std::string("C:\\Dlls\\") + name + ".dll");
        pc.registry.Set_Dword(kHklm, kSharedDllsKey, all.back(), 1);
    }
    world.Check_Category("fF");
    for (const auto& [change, reads] : {std::pair{false, 1}, std::pair{false, 0}, std::pair{true, 1}}) {
        world.List().Clear();
        const std::int64_t before = world.data.db.Exception_Texts().reads;
        world.window.onPump = [&, change = change](int) {
            if (change && world.Rows('s').size() == 1) world.Add_Exception_Text("\\c.dll");
        };
        world.Scan_Without_Fix();
        if (change) all.erase(all.begin() + 2);
        EXPECT_EQ(world.Problem_Texts(), all) << change;
        EXPECT_EQ(world.data.db.Exception_Texts().reads - before, reads) << change;
    }
}

TEST_F(RegistryEntryCategories, UnreadableKeysEndTheCategoryWithNothingFound) {
    pc.registry.Set_Dword(kHklm, kSharedDllsKey, "C:\\gone\\a.dll", 1);
    pc.registry.Deny_Access(kHklm, kSharedDllsKey);
    pc.registry.Set_String(kHklm, kFontsKey, "Gone", "gone.ttf");
    pc.registry.Deny_Access(kHklm, kFontsKey);
    world.Check_Category("fE");
    Scan("fF");
    EXPECT_TRUE(world.Rows('s').empty());
    EXPECT_EQ(world.Header("fEPC1")->Sub(2).text, "0 Problems Found");
}

}  // namespace
}  // namespace corvane::scan::testing
