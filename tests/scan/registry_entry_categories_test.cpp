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

// An exception matches any candidate text of an entry (a key, a value, a
// file), in any letter case; one on the category's own key switches the
// category off.
struct ExceptionCase {
    const char* name;
    const char* category;
    void (*seed)(remote::SimRegistry&);
    std::vector<std::string> exceptions;
    std::vector<std::string> listed;
};

const std::vector<ExceptionCase> kExceptionCases = {
    {"HelpValueAndKey", "fA",
     [](remote::SimRegistry& r) {
         r.Set_String(kHklm, kHelp, "x.chm", "C:\\Help");
         r.Set_String(kHklm, kHelp, "y.hlp", "C:\\Help");
         r.Set_String(kHklm, kHtmlHelp, "w.chm", "C:\\Docs");
     },
     {"windows\\help\\X.CHM", "\\HTML Help"},
     {"y.hlp"}},
    {"UninstallEntryAndSource", "fB",
     [](remote::SimRegistry& r) {
         const std::string u = kUninstallKey;
         for (const char* name : {"One", "Two", "Three"}) {
             r.Set_String(kHklm, u + "\\" + name, "InstallSource", std::string("C:\\Src\\") + name);
         }
         r.Create_Key(kHklm, u + "\\Empty");
     },
     {"uninstall\\one", "\\C:\\Src\\Two", "Uninstall\\Empty"},
     {"C:\\Src\\Three"}},
    {"AppPathDefaultValue", "fD",
     [](remote::SimRegistry& r) {
         r.Set_String(kHklm, std::string(kAppPathsKey) + "\\c.exe", "", "C:\\Gone\\c.exe");
         r.Set_String(kHklm, std::string(kAppPathsKey) + "\\c.exe", "Path", "C:\\Gone");
     },
     {"c.exe\\C:\\Gone\\c.exe"},
     {"C:\\Gone"}},
    {"AppPathsKey", "fD",
     [](remote::SimRegistry& r) { r.Set_String(kHklm, std::string(kAppPathsKey) + "\\c.exe", "", "C:\\Gone\\c.exe"); },
     {"App Paths"},
     {}},
    {"FontFileNotValueName", "fE",
     [](remote::SimRegistry& r) {
         r.Set_String(kHklm, kFontsKey, "Gone (TrueType)", "gone.ttf");
         r.Set_String(kHklm, kFontsKey, "Other (TrueType)", "other.ttf");
     },
     {"CurrentVersion\\Fonts\\gone.ttf", "Fonts\\Other (TrueType)"},
     {"other.ttf"}},
    {"FontsKey", "fE",
     [](remote::SimRegistry& r) { r.Set_String(kHklm, kFontsKey, "Gone (TrueType)", "gone.ttf"); },
     {"Windows NT\\CurrentVersion\\Fonts"},
     {}},
    {"SharedDllFile", "fF",
     [](remote::SimRegistry& r) {
         r.Set_Dword(kHklm, kSharedDllsKey, "C:\\gone\\a.dll", 1);
         r.Set_Dword(kHklm, kSharedDllsKey, "C:\\gone\\b.dll", 1);
     },
     {"SharedDLLs\\C:\\gone\\a.dll"},
     {"C:\\gone\\b.dll"}},
    {"SharedDllsKey", "fF",
     [](remote::SimRegistry& r) { r.Set_Dword(kHklm, kSharedDllsKey, "C:\\gone\\a.dll", 1); },
     {"CurrentVersion\\SharedDLLs"},
     {}},
};

class RegistryEntryExceptions : public RegistryEntryCategories,
                                public ::testing::WithParamInterface<ExceptionCase> {};

TEST_P(RegistryEntryExceptions, SuppressExactlyTheEntriesTheyMatch) {
    GetParam().seed(pc.registry);
    for (const std::string& text : GetParam().exceptions) world.Add_Exception_Text(text);
    Scan(GetParam().category);
    EXPECT_EQ(world.Problem_Texts(), GetParam().listed);
}

INSTANTIATE_TEST_SUITE_P(Categories, RegistryEntryExceptions, ::testing::ValuesIn(kExceptionCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace corvane::scan::testing
