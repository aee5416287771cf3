// The five registry entry categories on simulated computers: exactly the
// obsolete entries are listed with the rows the fixing routine needs, valid
// entries are not, and an exception at any candidate text suppresses it.
#include <gtest/gtest.h>

#include <tuple>

#include "scan/registry_entry_categories.h"
#include "scan_world.h"

namespace corvane::scan::testing {
namespace {

using remote::CallKind;

constexpr const char* kHelp = "Software\\Microsoft\\Windows\\Help";
constexpr const char* kHtmlHelp = "Software\\Microsoft\\Windows\\HTML Help";
const std::string kHklmText = "HKEY_LOCAL_MACHINE\\";

struct Expected {
    std::string text;
    std::string data;
    std::string problem;
    std::string registryKey;
    std::string keyPathTag;
    std::string valueNameTag;
    std::string tag;
};

void Expect_Rows(ScanWorld& world, const std::vector<Expected>& expected, const char* icon) {
    const auto rows = world.Rows('s');
    ASSERT_EQ(rows.size(), expected.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ListRow& row = *rows[i];
        const Expected& e = expected[i];
        EXPECT_EQ(row.text, e.text) << i;
        EXPECT_EQ(row.Sub(1).text, e.data) << i;
        EXPECT_EQ(row.Sub(1).tag, "-2147483646") << i;
        EXPECT_EQ(row.Sub(2).text, e.problem) << i;
        EXPECT_EQ(row.Sub(2).tag, e.keyPathTag) << i;
        EXPECT_EQ(row.Sub(3).text, e.registryKey) << i;
        EXPECT_EQ(row.Sub(3).tag, e.valueNameTag) << i;
        EXPECT_EQ(row.tag, e.tag) << i;
        EXPECT_EQ(row.smallIcon, icon) << i;
        EXPECT_TRUE(row.checked) << i;
    }
}

class RegistryEntryCategories : public ::testing::Test {
protected:
    RegistryEntryCategories() : pc(world.Add_Computer("PC1")) { world.Add_Node("PC1"); }

    void Scan(const char* category) {
        world.Check_Category(category);
        world.data.messages.Queue_Answer(MsgResult::No);
        world.Scan();
        ASSERT_TRUE(world.driver.Scan_Ran());
        ASSERT_TRUE(world.Rows('e').empty()) << world.Rows('e')[0]->Sub(2).text;
        header = world.Header(std::string(category) + "PC1");
        ASSERT_NE(header, nullptr);
        EXPECT_EQ(header->Sub(2).text, std::to_string(world.Rows('s').size()) + " Problems Found");
    }

    ScanWorld world;
    remote::SimComputer& pc;
    const ListRow* header = nullptr;
};

TEST_F(RegistryEntryCategories, HelpFilesListsValuesWhoseFileIsMissing) {
    pc.files.Add_File("C:\\Help\\here.hlp");
    pc.registry.Set_String(kHklm, kHelp, "here.hlp", "C:\\Help");
    pc.registry.Set_String(kHklm, kHelp, "x.chm", "C:\\Help");
    pc.registry.Set_String(kHklm, kHelp, "y.hlp", "C:\\Help\\");
    pc.registry.Set_String(kHklm, kHelp, "z.hlp", "%windir%\\help");
    pc.registry.Set_Dword(kHklm, kHelp, "number.hlp", 7);
    pc.registry.Set_String(kHklm, kHtmlHelp, "w.chm", "\"C:\\Docs\" extra");
    Scan("fA");
    Expect_Rows(world,
                {{"x.chm", "C:\\Help\\", "File not found", kHklmText + kHelp, kHelp, "x.chm", "1fAPC1"},
                 {"y.hlp", "C:\\Help\\", "File not found", kHklmText + kHelp, kHelp, "y.hlp", "1fAPC1"},
                 {"w.chm", "C:\\Docs\\", "File not found", kHklmText + kHtmlHelp, kHtmlHelp, "w.chm", "1fAPC1"}},
                "HelpFile");
    EXPECT_EQ(header->text, "[Help Files]");
}

TEST_F(RegistryEntryCategories, HelpFilesHonoursExceptionsOfKeysAndValues) {
    pc.registry.Set_String(kHklm, kHelp, "x.chm", "C:\\Help");
    pc.registry.Set_String(kHklm, kHelp, "y.hlp", "C:\\Help");
    pc.registry.Set_String(kHklm, kHtmlHelp, "w.chm", "C:\\Docs");
    world.Add_Exception_Text("windows\\help\\X.CHM");  // a value, any letter case
    world.Add_Exception_Text("\\HTML Help");            // a whole key
    Scan("fA");
    EXPECT_EQ(world.Problem_Texts(), (std::vector<std::string>{"y.hlp"}));
}

TEST_F(RegistryEntryCategories, UninstallEntriesListsMissingSourcesAndEmptyEntries) {
    const std::string u = kUninstallKey;
    pc.disks.push_back({"E:", 2});  // removable
    pc.files.Add_Folder("C:\\Installers\\Kept");
    pc.registry.Set_String(kHklm, u + "\\Gone", "InstallSource", "C:\\Installers\\Gone\\");
    pc.registry.Set_String(kHklm, u + "\\Gone", "DisplayName", "Gone");
    pc.registry.Set_String(kHklm, u + "\\Kept", "InstallSource", "C:\\Installers\\Kept");
    pc.registry.Set_String(kHklm, u + "\\Removable", "InstallSource", "E:\\Setup");
    pc.registry.Set_String(kHklm, u + "\\Network", "InstallSource", "\\\\server\\share\\setup");
    pc.registry.Set_String(kHklm, u + "\\Named", "DisplayName", "Still here");
    pc.registry.Set_String(kHklm, u + "\\Parent\\Child", "DisplayName", "x");
    pc.registry.Create_Key(kHklm, u + "\\Empty");
    pc.registry.Set_String(kHklm, u + "\\EmptyDefault", "", "");  // only an empty default value
    pc.registry.Set_String(kHklm, u + "\\Defaulted", "", "Some text");
    pc.registry.Create_Key(kHklm, u + "\\Locked");
    pc.registry.Deny_Access(kHklm, u + "\\Locked");
    Scan("fB");
    Expect_Rows(world,
                {{"Empty", "", "No values", kHklmText + u, u + "\\Empty", "", "0fBPC1"},
                 {"EmptyDefault", "", "No values", kHklmText + u, u + "\\EmptyDefault", "", "0fBPC1"},
                 {"C:\\Installers\\Gone\\", "", "Folder not found", kHklmText + u + "\\Gone", u + "\\Gone",
                  "InstallSource", "1fBPC1"}},
                "Add/RemovePrograms");
}

TEST_F(RegistryEntryCategories, UninstallEntriesOnTheLocalComputerReadNatively) {
    remote::SimComputer& local = world.network.Local();
    local.facts.addressWidth = 32;
    world.window.Computer_Tree().Set_Checked_Only(world.window.Computer_Tree().Find("mPC1"), false);
    world.Add_Node(kLocalName);
    const std::string u = kUninstallKey;
    local.registry.Set_String(kHklm, u + "\\Gone", "InstallSource", "C:\\Installers\\Gone");
    local.registry.Create_Key(kHklm, u + "\\Empty");
    world.Check_Category("fB");
    world.data.messages.Queue_Answer(MsgResult::No);
    world.Scan();
    EXPECT_EQ(world.Problem_Texts(), (std::vector<std::string>{"Empty", "C:\\Installers\\Gone"}));
    EXPECT_EQ(world.network.Count(remote::CallKind::Method, "GetStringValue"), 0u);
}

TEST_F(RegistryEntryCategories, UninstallEntriesHonoursExceptionsOfEntriesAndSources) {
    const std::string u = kUninstallKey;
    pc.registry.Set_String(kHklm, u + "\\One", "InstallSource", "C:\\Src\\One");
    pc.registry.Set_String(kHklm, u + "\\Two", "InstallSource", "C:\\Src\\Two");
    pc.registry.Set_String(kHklm, u + "\\Three", "InstallSource", "C:\\Src\\Three");
    pc.registry.Create_Key(kHklm, u + "\\Empty");
    world.Add_Exception_Text("uninstall\\one");    // the entry key
    world.Add_Exception_Text("\\C:\\Src\\Two");    // the source candidate
    world.Add_Exception_Text("Uninstall\\Empty");  // an empty entry
    Scan("fB");
    EXPECT_EQ(world.Problem_Texts(), (std::vector<std::string>{"C:\\Src\\Three"}));
}

TEST_F(RegistryEntryCategories, ApplicationPathsTestsDefaultFileAndPathFolder) {
    const std::string a = kAppPathsKey;
    pc.files.Add_File("C:\\Apps\\a.exe");
    pc.registry.Set_String(kHklm, a + "\\a.exe", "", "C:\\Apps\\a.exe");
    pc.registry.Set_String(kHklm, a + "\\a.exe", "Path", "C:\\Apps");
    pc.registry.Set_String(kHklm, a + "\\b.exe", "", "\"C:\\Apps\\b.exe\" /x");
    pc.registry.Set_String(kHklm, a + "\\c.exe", "", "C:\\Gone\\c.exe");
    pc.registry.Set_String(kHklm, a + "\\c.exe", "Path", "C:\\Gone\\");
    pc.registry.Set_String(kHklm, a + "\\d.exe", "", "%ProgramFiles%\\d.exe");
    pc.registry.Set_String(kHklm, a + "\\e.exe", "Path", "C:\\Apps\\a.exe");  // a file where a folder belongs
    Scan("fD");
    Expect_Rows(world,
                {{"C:\\Apps\\b.exe", "", "File not found", kHklmText + a + "\\b.exe", a + "\\b.exe", "", "0fDPC1"},
                 {"C:\\Gone\\c.exe", "", "File not found", kHklmText + a + "\\c.exe", a + "\\c.exe", "", "0fDPC1"},
                 {"C:\\Gone\\", "", "File not found", kHklmText + a + "\\c.exe", a + "\\c.exe", "", "0fDPC1"},
                 {"C:\\Apps\\a.exe", "", "File not found", kHklmText + a + "\\e.exe", a + "\\e.exe", "", "0fDPC1"}},
                "ApplicationPaths");
}

TEST_F(RegistryEntryCategories, ApplicationPathsHonoursExceptions) {
    const std::string a = kAppPathsKey;
    pc.registry.Set_String(kHklm, a + "\\c.exe", "", "C:\\Gone\\c.exe");
    pc.registry.Set_String(kHklm, a + "\\c.exe", "Path", "C:\\Gone");
    world.Add_Exception_Text("c.exe\\C:\\Gone\\c.exe");  // the default value's candidate only
    Scan("fD");
    EXPECT_EQ(world.Problem_Texts(), (std::vector<std::string>{"C:\\Gone"}));
}

TEST_F(RegistryEntryCategories, ApplicationPathsRootExceptionSwitchesTheCategoryOff) {
    pc.registry.Set_String(kHklm, std::string(kAppPathsKey) + "\\c.exe", "", "C:\\Gone\\c.exe");
    world.Add_Exception_Text("App Paths");
    Scan("fD");
    EXPECT_TRUE(world.Rows('s').empty());
    EXPECT_EQ(header->Sub(2).tag, "0");
}

TEST_F(RegistryEntryCategories, WindowsFontsLooksInTheFontsFolderOrWhereTheValueSays) {
    const std::string f = kFontsKey;
    pc.files.Add_File("C:\\Windows\\Fonts\\arial.ttf");
    pc.files.Add_File("C:\\MyFonts\\there.ttf");
    pc.registry.Set_String(kHklm, f, "Arial (TrueType)", "arial.ttf");
    pc.registry.Set_String(kHklm, f, "Gone (TrueType)", "gone.ttf");
    pc.registry.Set_String(kHklm, f, "There (TrueType)", "C:\\MyFonts\\there.ttf");
    pc.registry.Set_String(kHklm, f, "Full (TrueType)", "C:\\MyFonts\\full.ttf");
    pc.registry.Set_String(kHklm, f, "Blank", "");
    Scan("fE");
    Expect_Rows(world,
                {{"gone.ttf", "C:\\Windows\\Fonts", "Font not found", kHklmText + f, f + "\\", "Gone (TrueType)",
                  "1fEPC1"},
                 {"C:\\MyFonts\\full.ttf", "C:\\Windows\\Fonts", "Font not found", kHklmText + f, f + "\\",
                  "Full (TrueType)", "1fEPC1"}},
                "WindowsFonts");
    EXPECT_EQ(header->text, "[Fonts]");
}

TEST_F(RegistryEntryCategories, WindowsFontsHonoursExceptionsOfTheKeyAndTheFile) {
    const std::string f = kFontsKey;
    pc.registry.Set_String(kHklm, f, "Gone (TrueType)", "gone.ttf");
    pc.registry.Set_String(kHklm, f, "Other (TrueType)", "other.ttf");
    world.Add_Exception_Text("CurrentVersion\\Fonts\\gone.ttf");  // the file, not the value name
    world.Add_Exception_Text("Fonts\\Other (TrueType)");          // a value name: not a candidate
    Scan("fE");
    EXPECT_EQ(world.Problem_Texts(), (std::vector<std::string>{"other.ttf"}));
}

TEST_F(RegistryEntryCategories, WindowsFontsKeyExceptionSwitchesTheCategoryOff) {
    pc.registry.Set_String(kHklm, kFontsKey, "Gone (TrueType)", "gone.ttf");
    world.Add_Exception_Text("Windows NT\\CurrentVersion\\Fonts");
    Scan("fE");
    EXPECT_TRUE(world.Rows('s').empty());
}

TEST_F(RegistryEntryCategories, SharedDllsListsValueNamesOfMissingFiles) {
    const std::string s = kSharedDllsKey;
    pc.files.Add_File("C:\\Windows\\system32\\ok.dll");
    pc.registry.Set_Dword(kHklm, s, "C:\\Windows\\system32\\ok.dll", 3);
    pc.registry.Set_Dword(kHklm, s, "C:\\gone\\a.dll", 1);
    pc.registry.Set_Dword(kHklm, s, "C:\\gone\\b.dll,1", 1);
    pc.registry.Set_Dword(kHklm, s, "%windir%\\x.dll", 1);
    Scan("fF");
    Expect_Rows(world,
                {{"C:\\gone\\a.dll", "", "File not found", kHklmText + s, s, "C:\\gone\\a.dll", "1fFPC1"},
                 {"C:\\gone\\b.dll", "", "File not found", kHklmText + s, s, "C:\\gone\\b.dll,1", "1fFPC1"}},
                "SharedDlls");
    EXPECT_EQ(header->text, "[Shared Dlls]");
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
        world.data.messages.Queue_Answer(MsgResult::No);
        world.Scan();
        EXPECT_EQ(world.Problem_Texts(), missing) << options;
        EXPECT_EQ(world.network.Count(kind, listing), 1u) << options;
    }
    world.network.Add_Fault({CallKind::Query, "PC1", "Path='\\\\Win", 0x80070005u, 1, true});
    world.List().Clear();
    world.data.messages.Queue_Answer(MsgResult::No);
    world.Scan();
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
        world.data.messages.Queue_Answer(MsgResult::No);
        world.Scan();
        EXPECT_EQ(world.Rows('s').size(), category == "fB-" ? 0u : count / 3u) << category;
        return static_cast<int>(world.network.Count(kind));
    };
    for (const auto& [category, methods] : {std::pair{"fB", 1}, std::pair{"fB-", 1}, std::pair{"fD", 2},
                                            std::pair{"fF", 0}}) {
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
        world.window.Set_Pump_Hook([&, change = change] {
            if (change && world.Rows('s').size() == 1) world.Add_Exception_Text("\\c.dll");
        });
        world.data.messages.Queue_Answer(MsgResult::No);
        world.Scan();
        if (change) all.erase(all.begin() + 2);
        EXPECT_EQ(world.Problem_Texts(), all) << change;
        EXPECT_EQ(world.data.db.Exception_Texts().reads - before, reads) << change;
    }
}

TEST_F(RegistryEntryCategories, SharedDllsHonoursExceptionsOfTheKeyAndTheFile) {
    const std::string s = kSharedDllsKey;
    pc.registry.Set_Dword(kHklm, s, "C:\\gone\\a.dll", 1);
    pc.registry.Set_Dword(kHklm, s, "C:\\gone\\b.dll", 1);
    world.Add_Exception_Text("SharedDLLs\\C:\\gone\\a.dll");
    Scan("fF");
    EXPECT_EQ(world.Problem_Texts(), (std::vector<std::string>{"C:\\gone\\b.dll"}));

    ScanWorld other;
    remote::SimComputer& pc2 = other.Add_Computer("PC2");
    other.Add_Node("PC2");
    pc2.registry.Set_Dword(kHklm, s, "C:\\gone\\a.dll", 1);
    other.Add_Exception_Text("CurrentVersion\\SharedDLLs");
    other.Check_Category("fF");
    other.Scan();
    EXPECT_TRUE(other.Rows('s').empty());
    EXPECT_EQ(other.Header("fFPC2")->Sub(2).text, "0 Problems Found");
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

TEST_F(RegistryEntryCategories, ProgramFilesPathsOfA64BitTargetCountAsPresent) {
    pc.facts.addressWidth = 64;
    pc.registry.Set_Dword(kHklm, kSharedDllsKey, "C:\\Program Files\\Gone\\a.dll", 1);
    pc.registry.Set_Dword(kHklm, kSharedDllsKey, "C:\\Gone\\b.dll", 1);
    Scan("fF");
    EXPECT_EQ(world.Problem_Texts(), (std::vector<std::string>{"C:\\Gone\\b.dll"}));
}

}  // namespace
}  // namespace corvane::scan::testing
