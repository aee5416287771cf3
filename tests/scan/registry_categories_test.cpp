// The registry categories on simulated computers: one seeded scenario per
// category, listed exactly, fixed and scanned again; exceptions, the re-test
// at the fix, Skip and Stop per phase, and one listing per folder and scan.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <tuple>

#include "scan_world.h"

namespace corvane::scan::testing {
namespace {

using remote::CallKind;

const std::string kUser = "S-1-5-21-1";
const std::string kClsid = "SOFTWARE\\CLASSES\\CLSID\\";
const std::string kFileExts = kUser + "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\";
const std::string kRun = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kUserRun = kUser + "\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kMsConfig = "SOFTWARE\\Microsoft\\Shared Tools\\MSConfig\\startupreg\\Gone";
const std::string kSounds = kUser + "\\AppEvents\\Schemes\\Apps\\.Default\\";
const std::string kFolders = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\Folders";
const std::string kComDlg = kUser + "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\";
const std::string kMuiCache = kUser + "_Classes\\Local Settings\\Software\\Microsoft\\Windows\\Shell\\MuiCache";
const std::string kIfeo = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Image File Execution Options\\";

// text, data, problem, and the record's key path, value name and fix type,
// and whether the row shows a file's icon instead of its category's (the
// Registry Key column is compared by the scan under Wine).
struct Row {
    std::string text, data, problem, keyPath, valueName;
    FixType fix;
    bool fileIcon = false;
};

// undo: between scan and fix every reason seen stops holding (what was
// missing is back, an empty key has a value, a listed value has other data).
struct Scenario {
    const char* name;
    const char* category;
    void (*seed)(remote::SimComputer&);
    std::vector<Row> rows;
    void (*undo)(remote::SimComputer&);
};

void Set_Binary(remote::SimComputer& pc, std::string_view key, std::string_view name, std::size_t size,
                std::uint8_t fill = 7) {
    pc.registry.Create_Key(kHku, key);
    remote::RegistryValue value;
    value.type = remote::kRegBinary;
    value.bytes.assign(size, fill);
    (void)pc.registry.Set_Value(kHku, key, name, value);
}

// The user's most recently used lists and program name caches, with the
// given data: a file and the list's order, the bytes of an 86-byte item
// list, a binary size, two names.
void Set_Mru_Lists(remote::SimComputer& pc, const char* file, const char* order, std::uint8_t pidlByte,
                   std::size_t visitedSize, const char* oldName, const char* appName) {
    pc.registry.Set_String(kHku, kComDlg + "OpenSaveMRU\\txt", "a", file);
    pc.registry.Set_String(kHku, kComDlg + "OpenSaveMRU\\txt", "MRUList", order);
    Set_Binary(pc, kComDlg + "OpenSavePidlMRU\\*", "0", 86, pidlByte);
    Set_Binary(pc, kComDlg + "LastVisitedPidlMRU", "1", visitedSize);
    pc.registry.Set_String(kHku, kUser + "\\Software\\Microsoft\\Windows\\ShellNoRoam\\MUICache", "C:\\old.exe",
                           oldName);
    pc.registry.Set_String(kHku, kMuiCache, "C:\\app.exe.FriendlyAppName", appName);
}

void Seed_Com(remote::SimComputer& pc) {
    auto& r = pc.registry;
    pc.files.Add_File("C:\\ok\\y.dll");
    r.Create_Key(kHklm, "SOFTWARE\\CLASSES\\TypeLib\\{T1}");
    r.Create_Key(kHklm, "SOFTWARE\\CLASSES\\AppId\\{A1}");
    r.Set_String(kHklm, kClsid + "{C1}", "AppId", "{A-GONE}");
    r.Set_String(kHklm, kClsid + "{C1}\\InProcServer32", "", "C:\\gone\\x.dll");
    r.Set_String(kHklm, kClsid + "{C1}\\TypeLib", "", "T-GONE");  // found without braces, shown with them
    r.Set_String(kHklm, kClsid + "{C2}", "AppId", "{a1}");
    r.Set_String(kHklm, kClsid + "{C2}\\InProcServer32", "", "C:\\GONE\\X.DLL");  // listed twice
    r.Set_String(kHklm, kClsid + "{C2}\\TypeLib", "", "{t1}\\");
    r.Set_String(kHklm, kClsid + "{C3}\\InProcServer32", "", "\"C:\\ok\\y.dll\"");
    r.Set_String(kHklm, kClsid + "{C3}\\LocalServer32", "", "C:\\gone\\s.exe /automation");
    r.Set_String(kHklm, "SOFTWARE\\CLASSES\\Interface\\{I1}\\TypeLib", "", "{T-GONE2}");
    r.Set_String(kHklm, "SOFTWARE\\CLASSES\\Interface\\{I2}\\TypeLib", "", "{T1}");
    r.Set_String(kHklm, "SOFTWARE\\CLASSES\\Prog.Bad\\CLSID", "", "{C-GONE}");
    r.Set_String(kHklm, "SOFTWARE\\CLASSES\\Prog.Good\\CLSID", "", "{c1}");
    pc.facts.addressWidth = 64;  // a class of the 32-bit view is registered too
    r.Create_Key(kHklm, "SOFTWARE\\CLASSES\\Wow6432Node\\CLSID\\{C-WOW}");
    r.Set_String(kHklm, "SOFTWARE\\CLASSES\\Prog.Wow\\CLSID", "", "{C-WOW}");
}

const Scenario kScenarios[] = {
    {"HelpFiles",
     "fA",
     [](remote::SimComputer& pc) {
         pc.files.Add_File("C:\\Help\\here.hlp");
         pc.registry.Set_String(kHklm, kHelpKey, "here.hlp", "C:\\Help");
         pc.registry.Set_String(kHklm, kHelpKey, "x.chm", "C:\\Help");
         pc.registry.Set_String(kHklm, kHelpKey, "y.hlp", "C:\\Help\\");
         pc.registry.Set_String(kHklm, kHelpKey, "z.hlp", "%windir%\\help");
         pc.registry.Set_Dword(kHklm, kHelpKey, "number.hlp", 7);
         pc.registry.Set_String(kHklm, kHtmlHelpKey, "w.chm", "\"C:\\Docs\" extra");
     },
     {{"x.chm", "C:\\Help\\", "File not found", kHelpKey, "x.chm", FixType::Value},
      {"y.hlp", "C:\\Help\\", "File not found", kHelpKey, "y.hlp", FixType::Value},
      {"w.chm", "C:\\Docs\\", "File not found", kHtmlHelpKey, "w.chm", FixType::Value}},
     [](remote::SimComputer& pc) {
         for (const char* file : {"C:\\Help\\x.chm", "C:\\Help\\y.hlp", "C:\\Docs\\w.chm"}) pc.files.Add_File(file);
     }},
    {"UninstallEntries",
     "fB",
     [](remote::SimComputer& pc) {
         const std::string& u = kUninstall;
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
     },
     {{"Empty", "", "No values", kUninstall + "\\Empty", "", FixType::KeyTree},
      {"EmptyDefault", "", "No values", kUninstall + "\\EmptyDefault", "", FixType::KeyTree},
      {"C:\\Installers\\Gone\\", "", "Folder not found", kUninstall + "\\Gone", "InstallSource", FixType::Value}},
     [](remote::SimComputer& pc) {
         pc.registry.Set_String(kHklm, kUninstall + "\\Empty", "DisplayName", "Back again");
         pc.registry.Set_String(kHklm, kUninstall + "\\EmptyDefault", "DisplayName", "Back again");
         pc.files.Add_Folder("C:\\Installers\\Gone");
     }},
    {"ApplicationPaths",
     "fD",
     [](remote::SimComputer& pc) {
         const std::string& a = kAppPaths;
         pc.files.Add_File("C:\\Apps\\a.exe");
         pc.registry.Set_String(kHklm, a + "\\a.exe", "", "C:\\Apps\\a.exe");
         pc.registry.Set_String(kHklm, a + "\\a.exe", "Path", "C:\\Apps");
         pc.registry.Set_String(kHklm, a + "\\b.exe", "", "\"C:\\Apps\\b.exe\" /x");
         pc.registry.Set_String(kHklm, a + "\\c.exe", "", "C:\\Gone\\c.exe");
         pc.registry.Set_String(kHklm, a + "\\c.exe", "Path", "C:\\Gone\\");
         pc.registry.Set_String(kHklm, a + "\\d.exe", "", "%ProgramFiles%\\d.exe");
     },
     {{"C:\\Apps\\b.exe", "", "File not found", kAppPaths + "\\b.exe", "", FixType::KeyTree},
      {"C:\\Gone\\c.exe", "", "File not found", kAppPaths + "\\c.exe", "", FixType::KeyTree},
      {"C:\\Gone\\", "", "File not found", kAppPaths + "\\c.exe", "", FixType::KeyTree}},
     [](remote::SimComputer& pc) {
         for (const char* file : {"C:\\Apps\\b.exe", "C:\\Gone\\c.exe"}) pc.files.Add_File(file);
     }},
    {"WindowsFonts",
     "fE",
     [](remote::SimComputer& pc) {
         pc.files.Add_File("C:\\Windows\\Fonts\\arial.ttf");
         pc.files.Add_File("C:\\MyFonts\\there.ttf");
         pc.registry.Set_String(kHklm, kFonts, "Arial (TrueType)", "arial.ttf");
         pc.registry.Set_String(kHklm, kFonts, "Gone (TrueType)", "gone.ttf");
         pc.registry.Set_String(kHklm, kFonts, "There (TrueType)", "C:\\MyFonts\\there.ttf");
         pc.registry.Set_String(kHklm, kFonts, "Full (TrueType)", "C:\\MyFonts\\full.ttf");
         pc.registry.Set_String(kHklm, kFonts, "Blank", "");
     },
     {{"gone.ttf", "C:\\Windows\\Fonts", "Font not found", kFonts + "\\", "Gone (TrueType)", FixType::Value},
      {"C:\\MyFonts\\full.ttf", "C:\\Windows\\Fonts", "Font not found", kFonts + "\\", "Full (TrueType)",
       FixType::Value}},
     [](remote::SimComputer& pc) {
         for (const char* file : {"C:\\Windows\\Fonts\\gone.ttf", "C:\\MyFonts\\full.ttf"}) pc.files.Add_File(file);
     }},
    {"SharedDlls",
     "fF",
     [](remote::SimComputer& pc) {
         pc.files.Add_File("C:\\Windows\\system32\\ok.dll");
         pc.registry.Set_Dword(kHklm, kShared, "C:\\Windows\\system32\\ok.dll", 3);
         pc.registry.Set_Dword(kHklm, kShared, "C:\\gone\\a.dll", 1);
         pc.registry.Set_Dword(kHklm, kShared, "C:\\gone\\b.dll,1", 1);
         pc.registry.Set_Dword(kHklm, kShared, "%windir%\\x.dll", 1);
     },
     {{"C:\\gone\\a.dll", "", "File not found", kShared, "C:\\gone\\a.dll", FixType::Value},
      {"C:\\gone\\b.dll", "", "File not found", kShared, "C:\\gone\\b.dll,1", FixType::Value}},
     [](remote::SimComputer& pc) {
         for (const char* file : {"C:\\gone\\a.dll", "C:\\gone\\b.dll"}) pc.files.Add_File(file);
     }},
    {"FileExtensions",
     "fH",
     [](remote::SimComputer& pc) {
         auto& r = pc.registry;
         r.Set_String(kHklm, "SOFTWARE\\Classes\\.empty", "", "");
         r.Set_String(kHklm, "SOFTWARE\\Classes\\.withsub\\Shell", "", "");
         r.Set_String(kHklm, "SOFTWARE\\Classes\\.named", "", "txtfile");
         r.Set_String(kHklm, "SOFTWARE\\Classes\\.locked", "", "");
         r.Deny_Access(kHklm, "SOFTWARE\\Classes\\.locked");
         r.Create_Key(kHku, kFileExts + ".xyz\\OpenWithList");
         r.Create_Key(kHku, kFileExts + ".xyz\\OpenWithProgids");
         r.Set_String(kHku, kFileExts + ".abc\\OpenWithList", "a", "app.exe");
         r.Create_Key(kHku, kFileExts + ".den\\OpenWithList");
         r.Deny_Access(kHku, kFileExts + ".den\\OpenWithList");
     },
     {{".empty", "", "No values", "SOFTWARE\\Classes\\.empty", "", FixType::Key},
      {".xyz", "", "No values", kFileExts + ".xyz", "", FixType::KeyTree}},
     [](remote::SimComputer& pc) {
         pc.registry.Set_String(kHklm, "SOFTWARE\\Classes\\.empty", "Content Type", "text/x");
         pc.registry.Set_String(kHku, kFileExts + ".xyz\\OpenWithList", "a", "app.exe");
     }},
    {"ActiveXCom",
     "fC",
     &Seed_Com,
     {{"{A-GONE}", "", "AppId not found", kClsid + "{C1}", "AppId", FixType::Value},
      {"C:\\gone\\x.dll", "", "File not found", kClsid + "{C1}\\InProcServer32", "", FixType::Key, true},
      {"{T-GONE}", "", "TypeLib not found", kClsid + "{C1}\\TypeLib", "", FixType::Key},
      {"C:\\GONE\\X.DLL", "", "File not found", kClsid + "{C2}\\InProcServer32", "", FixType::Key, true},
      {"C:\\gone\\s.exe /automation", "", "File not found", kClsid + "{C3}\\LocalServer32", "", FixType::Key, true},
      {"{T-GONE2}", "", "TypeLib not found", "SOFTWARE\\CLASSES\\Interface\\{I1}\\TypeLib", "", FixType::Key},
      {"{C-GONE}", "", "CLSID not found", "SOFTWARE\\CLASSES\\Prog.Bad\\CLSID", "", FixType::Key}},
     [](remote::SimComputer& pc) {
         for (const char* key : {"AppId\\{A-GONE}", "TypeLib\\{T-GONE}", "TypeLib\\{T-GONE2}", "CLSID\\{C-GONE}"}) {
             pc.registry.Create_Key(kHklm, std::string("SOFTWARE\\CLASSES\\") + key);
         }
         pc.files.Add_File("C:\\gone\\x.dll");
         pc.registry.Set_String(kHklm, kClsid + "{C3}\\LocalServer32", "", "C:\\ok\\y.dll");  // changed since
     }},
    {"Software",
     "fG",
     [](remote::SimComputer& pc) {
         auto& r = pc.registry;
         pc.files.Add_Folder("C:\\ok");
         r.Create_Key(kHklm, "SOFTWARE\\Empty");
         r.Set_String(kHklm, "SOFTWARE\\Vendor", "Home", "C:\\gone\\v");
         r.Set_String(kHklm, "SOFTWARE\\Vendor\\App", "Path", "\"C:\\gone\\app.exe\" -x");
         r.Set_String(kHklm, "SOFTWARE\\Vendor\\App", "Ok", "C:\\ok");
         r.Set_String(kHklm, "SOFTWARE\\Vendor\\App", "Removable", "E:\\gone");
         r.Set_String(kHklm, "SOFTWARE\\MICROSOFT\\X", "Path", "C:\\gone\\m");
         r.Create_Key(kHklm, "SOFTWARE\\wow6432node");
     },
     {{"Empty", "", "No Values", "SOFTWARE\\Empty", "", FixType::KeyTree},
      {"C:\\gone\\app.exe", "", "File Not Found", "SOFTWARE\\Vendor\\App", "Path", FixType::Value},
      {"C:\\gone\\v", "", "File Not Found", "SOFTWARE\\Vendor", "Home", FixType::Value},
      {"wow6432node", "", "No Values", "SOFTWARE\\wow6432node", "", FixType::KeyTree}},
     [](remote::SimComputer& pc) {
         pc.registry.Set_String(kHklm, "SOFTWARE\\Empty", "Version", "2");
         pc.registry.Create_Key(kHklm, "SOFTWARE\\wow6432node\\Vendor");
         pc.files.Add_File("C:\\gone\\app.exe");
         pc.files.Add_Folder("C:\\gone\\v");
     }},
    {"StartupPrograms",
     "fI",
     [](remote::SimComputer& pc) {
         pc.registry.Set_String(kHklm, kMsConfig, "command", "\"C:\\gone\\tray.exe\" /min");
         pc.registry.Set_String(kHklm, kRun, "Tool", "C:\\gone\\tool.exe -q");
         pc.registry.Set_String(kHklm, kRun, "Stick", "E:\\gone\\stick.exe");  // not a fixed drive
         pc.registry.Set_String(kHku, kUserRun, "Stick", "E:\\gone\\stick.exe");
     },
     {{"C:\\gone\\tray.exe", "", "StartUp Program Not Found", kMsConfig, "", FixType::KeyTree},
      {"C:\\gone\\tool.exe", "", "StartUp Program Not Found", kRun + "\\", "Tool", FixType::Value},
      {"E:\\gone\\stick.exe", "", "StartUp Program Not Found", kUserRun, "Stick", FixType::Value}},
     [](remote::SimComputer& pc) {
         for (const char* file : {"C:\\gone\\tray.exe", "C:\\gone\\tool.exe", "E:\\gone\\stick.exe"}) {
             pc.files.Add_File(file);
         }
     }},
    {"StartupUsersWithAnEmptyMachineRunKey",
     "fI",
     [](remote::SimComputer& pc) {
         pc.registry.Create_Key(kHklm, kRun);
         pc.registry.Set_String(kHku, kUserRun, "Gone", "C:\\gone.exe");
     },
     {{"C:\\gone.exe", "", "StartUp Program Not Found", kUserRun, "Gone", FixType::Value}},
     // The program was installed again elsewhere: its old file is still missing.
     [](remote::SimComputer& pc) {
         pc.files.Add_File("C:\\new\\gone.exe");
         pc.registry.Set_String(kHku, kUserRun, "Gone", "C:\\new\\gone.exe");
     }},
    {"SoundEvents",
     "fJ",
     [](remote::SimComputer& pc) {
         pc.files.Add_File("C:\\ok.wav");
         pc.registry.Set_String(kHku, kSounds + "Start\\.Current", "", "C:\\Media\\gone.wav");
         pc.registry.Set_String(kHku, kSounds + "Start\\.Default", "", "chimes.wav");
         pc.registry.Set_String(kHku, kSounds + "Stop\\.Current", "", "C:\\ok.wav");
     },
     {{"Default", "", "File not found", kSounds + "Start\\.Current", "", FixType::Value}},
     [](remote::SimComputer& pc) { pc.files.Add_File("C:\\Media\\gone.wav"); }},
    {"InstallerFolders",
     "fK",
     [](remote::SimComputer& pc) {
         pc.files.Add_Folder("C:\\ok");
         pc.registry.Set_String(kHklm, kFolders, "C:\\gone\\", "");
         pc.registry.Set_String(kHklm, kFolders, "C:\\gone2", "");
         pc.registry.Set_String(kHklm, kFolders, "C:\\ok\\", "");
         pc.registry.Set_String(kHklm, kFolders, "E:\\gone\\", "");
     },
     {{"C:\\gone\\", "", "Folder not found", kFolders, "C:\\gone\\", FixType::Value},
      {"C:\\gone2", "", "Folder not found", kFolders, "C:\\gone2", FixType::Value}},
     [](remote::SimComputer& pc) {
         pc.files.Add_Folder("C:\\gone");
         pc.files.Add_Folder("C:\\gone2");
     }},
    {"UserMruLists",
     "fM",
     [](remote::SimComputer& pc) {
         Set_Mru_Lists(pc, "C:\\x.txt", "a", 7, 10, "Old", "App");
         Set_Binary(pc, kMuiCache, "LangID", 2);
     },
     {{"a", "C:\\x.txt", "Most Recently Used", kComDlg + "OpenSaveMRU\\txt", "a", FixType::Value},
      {"MRUList", "a", "Most Recently Used", kComDlg + "OpenSaveMRU\\txt", "MRUList", FixType::Value},
      {"0", "(binary, 86 bytes)", "Most Recently Used", kComDlg + "OpenSavePidlMRU\\*", "0", FixType::Value},
      {"1", "(binary, 10 bytes)", "Most Recently Used", kComDlg + "LastVisitedPidlMRU", "1", FixType::Value},
      {"C:\\old.exe", "Old", "Most Recently Used", kUser + "\\Software\\Microsoft\\Windows\\ShellNoRoam\\MUICache",
       "C:\\old.exe", FixType::Value},
      {"C:\\app.exe.FriendlyAppName", "App", "Most Recently Used", kMuiCache, "C:\\app.exe.FriendlyAppName",
       FixType::Value}},
     // Listed values whose data moved on, strings and binary lists alike, one
     // of them rewritten at its length.
     [](remote::SimComputer& pc) { Set_Mru_Lists(pc, "C:\\y.txt", "ba", 8, 12, "Newer", "App 2"); }},
    {"ImageFileOptions",
     "fN",
     [](remote::SimComputer& pc) {
         pc.registry.Set_String(kHklm, kIfeo + "evil.exe", "Debugger", "C:\\dbg.exe");
         pc.registry.Set_String(kHklm, kIfeo + "Your Image File Name Here without a path", "Debugger", "x");
         pc.registry.Set_String(kHklm, kIfeo + "blank.exe", "Debugger", "");
     },
     {{"Debugger", "", "C:\\dbg.exe", kIfeo + "evil.exe", "Debugger", FixType::Value}},
     [](remote::SimComputer& pc) { pc.registry.Set_String(kHklm, kIfeo + "evil.exe", "Debugger", "C:\\other.exe"); }},
};

// A computer seeded as the named scenario says, scanned for its category
// alone (options 0: fast mode, no restore point); the hook runs at each pump.
struct ScannedWorld {
    ScannedWorld(std::string_view name, std::int32_t options, std::function<void(ScannedWorld&)> hook = {},
                 const std::vector<std::string>& exceptions = {}) {
        const Scenario& scenario = *std::ranges::find(kScenarios, name, &Scenario::name);
        pc = &world.Add_Computer("PC1");
        pc->registry.Create_Key(kHku, kUser);
        scenario.seed(*pc);
        world.Add_Node("PC1");
        world.Set_Options(options);
        world.Check_Category(scenario.category);
        for (const std::string& text : exceptions) world.Add_Exception_Text(text);
        if (hook) world.window.onPump = [this, hook](int) { hook(*this); };
        world.Scan_Without_Fix();
    }
    ScanWorld world;
    remote::SimComputer* pc = nullptr;
};

using RegistryCategoryScenario = ::testing::TestWithParam<Scenario>;

TEST_P(RegistryCategoryScenario, ListsExactlyTheObsoleteEntriesAndTheFixRemovesThem) {
    const Scenario& scenario = GetParam();
    ScannedWorld scanned(scenario.name, 0);
    ScanWorld& world = scanned.world;
    const auto rows = world.Rows('s');
    ASSERT_EQ(rows.size(), scenario.rows.size()) << ::testing::PrintToString(world.Problem_Texts());
    const ListRow* header = world.Header(std::string(scenario.category) + "PC1");
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Row& e = scenario.rows[i];
        const Problem& record = *rows[i]->problem;
        const RegistryItem& item = record.registry;
        EXPECT_EQ(std::tie(rows[i]->text, rows[i]->data, rows[i]->status, item.keyPath, item.valueName),
                  std::tie(e.text, e.data, e.problem, e.keyPath, e.valueName));
        EXPECT_TRUE(record.type == e.fix && item.root == (e.keyPath.starts_with(kUser) ? kHku : kHklm)) << i;
        EXPECT_EQ(record.categoryKey + record.targetName, scenario.category + std::string("PC1")) << i;
        EXPECT_EQ(rows[i]->smallIcon, e.fileIcon ? "File" : header->smallIcon) << i;
    }
    world.Fix();
    for (const ListRow* row : world.Rows('s')) EXPECT_EQ(row->status, "Problem fixed") << row->text;
    world.Scan_Without_Fix();  // what was fixed is gone; that nothing else went is shown under Wine
    EXPECT_TRUE(world.Rows('s').empty()) << ::testing::PrintToString(world.Problem_Texts());

    // Each row is tested again at the fix: nothing is deleted.
    ScannedWorld undone(scenario.name, 0);
    scenario.undo(*undone.pc);
    undone.world.Fix();
    for (const ListRow* row : undone.world.Rows('s')) EXPECT_EQ(row->status, "Problem no longer present") << row->text;
    EXPECT_EQ(undone.world.network.Count(CallKind::Method, "Delete"), 0u);
}

INSTANTIATE_TEST_SUITE_P(Categories, RegistryCategoryScenario, ::testing::ValuesIn(kScenarios),
                         [](const auto& info) { return std::string(info.param.name); });

// An exception matches any candidate text of an entry (its key, a value, a
// file), in any letter case, but not a font's value name; one on the
// category's own key switches the category off.
TEST(Exceptions, SuppressExactlyTheEntriesTheyMatch) {
    struct Case {
        const char* scenario;
        std::vector<std::string> exceptions;
        std::vector<std::string> listed;
    };
    const Case cases[] = {
        {"HelpFiles", {"windows\\help\\X.CHM", "\\HTML Help"}, {"y.hlp"}},
        {"UninstallEntries", {"uninstall\\gone", "Uninstall\\EmptyDefault"}, {"Empty"}},
        {"UninstallEntries", {"\\C:\\Installers\\Gone"}, {"Empty", "EmptyDefault"}},
        {"ApplicationPaths", {"c.exe\\C:\\Gone\\c.exe"}, {"C:\\Apps\\b.exe", "C:\\Gone\\"}},
        {"ApplicationPaths", {"App Paths"}, {}},
        {"WindowsFonts", {"CurrentVersion\\Fonts\\gone.ttf", "Fonts\\Full (TrueType)"}, {"C:\\MyFonts\\full.ttf"}},
        {"WindowsFonts", {"Windows NT\\CurrentVersion\\Fonts"}, {}},
        {"SharedDlls", {"SharedDLLs\\C:\\gone\\a.dll"}, {"C:\\gone\\b.dll"}},
        {"SharedDlls", {"CurrentVersion\\SharedDLLs"}, {}},
    };
    for (const Case& c : cases) {
        ScannedWorld scanned(c.scenario, 0, {}, c.exceptions);
        EXPECT_EQ(scanned.world.Problem_Texts(), c.listed) << c.scenario << " " << c.exceptions[0];
    }
}

// Pump 1 is the computer's, then one per entry. Help Files: 3 follows the
// first missing file of "Help" (Skip moves on to "HTML Help"). ActiveX/COM:
// pumps 2 to 4 follow the three class IDs, 5 and 6 the interfaces, 7 onwards
// the sub-keys of the classes key (the last phase: Skip ends the category).
// StartUp Programs: 2 the disabled entry, 3 and 4 the machine's Run values.
// User MRU List: 2 the first value of phase I.
struct Press {
    const char* scenario;
    int pump;
    bool stop;
    const char* phase;
    std::vector<std::string> texts;
};

TEST(CategoryPhases, SkipEndsThePhaseAndStopTheCategory) {
    const std::vector<std::string> allClassRows{
        "{A-GONE}", "C:\\gone\\x.dll", "{T-GONE}", "C:\\GONE\\X.DLL", "C:\\gone\\s.exe /automation", "{T-GONE2}"};
    const char* com = "ActiveX/COMs - Phase I of III";
    const char* startup = "StartUp Programs - Phase II of III";
    const char* mru = "User MRU List - Phase I of II";
    const std::vector<std::string> comSkipped{"{A-GONE}", "C:\\gone\\x.dll", "{T-GONE}", "{T-GONE2}", "{C-GONE}"};
    const Press presses[] = {
        {"HelpFiles", 3, false, "Help Files", {"x.chm", "w.chm"}},
        {"ActiveXCom", 2, false, com, comSkipped},
        {"ActiveXCom", 2, true, com, {"{A-GONE}", "C:\\gone\\x.dll", "{T-GONE}"}},
        {"ActiveXCom", 7, false, "ActiveX/COMs - Phase III of III", allClassRows},
        {"StartupPrograms", 3, false, startup, {"C:\\gone\\tray.exe", "C:\\gone\\tool.exe", "E:\\gone\\stick.exe"}},
        {"StartupPrograms", 3, true, startup, {"C:\\gone\\tray.exe", "C:\\gone\\tool.exe"}},
        {"UserMruLists", 2, false, mru, {"a", "C:\\old.exe", "C:\\app.exe.FriendlyAppName"}},
        {"UserMruLists", 2, true, mru, {"a"}},
    };
    for (const Press& press : presses) {
        int pumps = 0;
        std::string phase;
        ScannedWorld scanned(press.scenario, 0, [&](ScannedWorld& self) {
            if (++pumps != press.pump) return;
            phase = self.world.window.Label(ProgressLabel::ScanCategory);
            if (press.stop) {
                self.world.driver.Request_Stop();
            } else {
                self.world.driver.Request_Skip();
            }
        });
        EXPECT_EQ(phase, press.phase) << press.scenario << press.pump;
        EXPECT_EQ(scanned.world.Problem_Texts(), press.texts) << press.scenario << press.pump << press.stop;
    }
}

class RegistryEntryCategories : public ::testing::Test {
protected:
    RegistryEntryCategories() : pc(world.Add_Computer("PC1")) { world.Add_Node("PC1"); }

    ScanWorld world;
    remote::SimComputer& pc;
};

// Existence tests are answered from one listing per folder and scan, through
// the share (fast) or one Drive-and-Path query (safe); a folder whose listing
// fails reports nothing.
TEST_F(RegistryEntryCategories, EachFolderIsListedOncePerScan) {
    for (const char* name : {"a", "b", "c", "d"}) {
        pc.registry.Set_Dword(kHklm, kShared, std::string("C:\\Win\\") + name + ".dll", 1);
        if (*name < 'c') pc.files.Add_File(std::string("C:\\Win\\") + name + ".dll");
    }
    pc.registry.Set_Dword(kHklm, kShared, "C:\\Other\\e.dll", 1);
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

// The exception table is read once while unchanged (by the first scan only),
// and again for the very next candidate after a change during a scan.
TEST_F(RegistryEntryCategories, ExceptionTableIsReadOncePerChange) {
    std::vector<std::string> all;
    for (const char* name : {"a", "b", "c", "d"}) {
        all.push_back(std::string("C:\\Dlls\\") + name + ".dll");
        pc.registry.Set_Dword(kHklm, kShared, all.back(), 1);
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

}  // namespace
}  // namespace corvane::scan::testing
