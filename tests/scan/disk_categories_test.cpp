// The disk-style categories on simulated computers: the walker's rows, what
// it must never list, the per-user folders, shortcuts, the systemwide search,
// the browsers, and a fix that deletes exactly the listed files and folders
// and never a folder the registry misnames. profiles.ini is read under Wine.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "remote/canonical_path.h"
#include "scan/folder_category.h"
#include "scan/folder_walker.h"
#include "scan/systemwide_search.h"
#include "scan_world.h"

namespace corvane::scan::testing {
namespace {

using remote::kHkeyUsers;
constexpr const char* kUser = "S-1-5-21-7";
constexpr const char* kShell = "S-1-5-21-7\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kShellBelowUser = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kTemp = "C:\\Windows\\Temp\\";
constexpr const char* kAnn = "C:\\Users\\ann\\";
constexpr const char* kSystemProfile = "C:\\Windows\\system32\\config\\systemprofile\\";
constexpr const char* kDownloads = "{374DE290-123F-4565-9164-39C4925E467B}";

// Each Shell Folders value where Windows Vista and later keep it, below the profile.
const std::vector<std::pair<const char*, const char*>> kShellPlaces = {
    {"Recent", "AppData\\Roaming\\Microsoft\\Windows\\Recent"},
    {"History", "AppData\\Local\\Microsoft\\Windows\\History"},
    {"Cookies", "AppData\\Roaming\\Microsoft\\Windows\\Cookies"},
    {"Cache", "AppData\\Local\\Microsoft\\Windows\\Temporary Internet Files"},
    {"CD Burning", "AppData\\Local\\Microsoft\\Windows\\Burn\\Burn"},
    {kDownloads, "Downloads"}};

struct DiskWorld {
    // annLoggedOn false: ann's profile is in the profile list, her hive is not loaded.
    explicit DiskWorld(const char* name = "PC1", bool annLoggedOn = true)
        : pc(std::string_view(name) == kLocalName ? world.network.Local() : world.Add_Computer(name)) {
        world.Add_Node(name);
        world.Set_Options(0);
        // ann's profile, written as Windows writes it; bob's; the system
        // account's (shared with .DEFAULT, which has no entry).
        Seed_Profile(pc, kUser, "%SystemDrive%\\Users\\ann");
        Seed_Profile(pc, "S-1-5-21-8", "C:\\Users\\bob", remote::kRegSz);
        Seed_Profile(pc, "S-1-5-18", "%SystemRoot%\\system32\\config\\systemprofile");
        if (annLoggedOn) {
            Set_Environment(kUser, std::string(kAnn) + "AppData\\Local", std::string(kAnn) + "AppData\\Roaming");
        }
        for (const char* system : {".DEFAULT", "S-1-5-18"}) {
            Set_Environment(system, std::string(kSystemProfile) + "AppData\\Local", "");
        }
        pc.registry.Set_String(kHkeyUsers, "S-1-5-21-8\\Volatile Environment", "TEMP", "C:\\x");
        for (const auto& [value, place] : kShellPlaces) {
            if (annLoggedOn) pc.registry.Set_String(kHkeyUsers, kShell, value, std::string(kAnn) + place);
            // .DEFAULT names ann's folders (as under Wine): not its own, so refused.
            pc.registry.Set_String(kHkeyUsers, std::string(".DEFAULT") + kShellBelowUser, value,
                                   std::string(kAnn) + place);
        }
    }
    void Set_Environment(const std::string& user, const std::string& local, const std::string& roaming) {
        pc.registry.Set_String(kHkeyUsers, user + "\\Volatile Environment", "LOCALAPPDATA", local);
        if (!roaming.empty()) pc.registry.Set_String(kHkeyUsers, user + "\\Volatile Environment", "APPDATA", roaming);
    }
    // "text|detail|fix type number" of every file or folder row, in list order.
    std::vector<std::string> Scan(const char* category) {
        world.Check_Category(category);
        world.Scan_Without_Fix();
        std::vector<std::string> rows;
        for (const ListRow* row : world.Rows('c')) {
            rows.push_back(row->text + "|" + row->data + "|" + std::to_string(static_cast<int>(row->problem->type)));
        }
        return rows;
    }
    // The rows' texts only.
    std::vector<std::string> Texts(const char* category) {
        std::vector<std::string> texts;
        for (const std::string& row : Scan(category)) texts.push_back(row.substr(0, row.find('|')));
        return texts;
    }
    void Add_Files(std::string_view folder, std::initializer_list<const char*> names) {
        for (const char* name : names) pc.files.Add_File(std::string(folder) + name);
    }
    [[nodiscard]] bool Has(std::string_view path) { return pc.files.Find(path).has_value(); }
    // The fix over every row, the downloads too (listed unchecked).
    void Fix_All() {
        for (std::size_t i = 0; i < world.List().Count(); ++i) world.List().Row(i).checked = true;
        world.Fix();
    }
    ScanWorld world;
    remote::SimComputer& pc;
};

TEST(FolderWalker, FormatsSizesAndFolderPaths) {
    const std::vector<std::pair<double, std::string>> sizes = {
        {0, "0 bytes"},    {1000, "1000 bytes"}, {1023, "1023 bytes"}, {1024, "1.00 KB"},
        {1536, "1.50 KB"}, {1152, "1.13 KB"},    {1048576, "1.00 MB"}, {5.5 * 1073741824, "5.50 GB"}};
    for (const auto& [size, text] : sizes) EXPECT_EQ(Format_File_Size(size, false), text) << size;
    EXPECT_EQ(Wql_Folder("C:").path, "\\\\");
    EXPECT_EQ(Wql_Folder("C:\\it's\\").path, "\\\\it\\'s\\\\");
}

TEST(SystemwideSearch, ExtensionListForms) {
    const std::string both = "EXTENSION='tmp' OR EXTENSION='log'";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {".tmp;.log;", both}, {"tmp;log", both},           {"*.tmp; *.log", both}, {";;tmp;  ;log;", both}, {"", ""},
        {" ; ", ""},          {"a'b", "EXTENSION='a\\'b'"}};
    for (const auto& [list, condition] : cases) EXPECT_EQ(Extension_Condition(list), condition) << list;
}

TEST(FolderWalker, ContentBeforeFolderAndNothingItMustNotList) {
    DiskWorld w;
    w.pc.files.Add_File(std::string(kTemp) + "a.log", 1000);
    w.pc.files.Add_File(std::string(kTemp) + "b", 1536);
    w.pc.files.Add_File(std::string(kTemp) + "sub\\inner.txt", 10);
    w.Add_Files(kTemp, {"it's\\x.tmp", "kept\\y.tmp", "outer\\locked\\w.tmp"});
    w.pc.files.Add_File("C:\\Elsewhere\\z.tmp");
    w.pc.files.Add_Junction(std::string(kTemp) + "link", "C:\\Elsewhere");
    w.world.Add_Exception_Text("c:\\windows\\temp\\kept");
    w.pc.files.Deny_Listing(std::string(kTemp) + "outer\\locked");
    EXPECT_EQ(w.Scan("dG"),
              (std::vector<std::string>{"x.tmp|0 bytes|3", "c:\\windows\\temp\\it's||4", "inner.txt|10 bytes|3",
                                        "c:\\windows\\temp\\sub||4", "a.log|1000 bytes|3", "b|1.50 KB|3"}));
    EXPECT_NE(w.world.Log().find("1 folder(s) could not be listed"), std::string::npos);
}

TEST(FolderWalker, LostConnectionEndsTheComputerWithTheRowsFoundSoFar) {
    DiskWorld w(kLocalName);
    w.Add_Files(kTemp, {"a\\1.tmp", "b\\2.tmp"});
    w.world.network.Add_Fault({.kind = remote::CallKind::Query, .computer = "", .match = "temp\\\\b\\\\"});
    EXPECT_EQ(w.Texts("dG"), (std::vector<std::string>{"1.tmp", "c:\\windows\\temp\\a"}));
    ASSERT_EQ(w.world.Rows('e').size(), 1u);
    EXPECT_EQ(w.world.Header(std::string("dG") + kLocalName)->status, "");
}

TEST(FolderWalker, SkipLeavesOneFolderAndStopEndsEveryLevel) {
    const std::string d1 = "c:\\windows\\temp\\d1";
    for (const bool stop : {false, true}) {
        DiskWorld w;
        w.Add_Files(kTemp, {"d1\\d2\\f1", "d1\\d2\\f2", "d1\\d2\\f3", "d1\\g1", "d1\\g2", "top1", "top2"});
        bool pressed = false;
        w.world.window.onPump = [&](int) {
            if (pressed || w.world.Rows('c').size() != 1) return;
            pressed = true;
            stop ? w.world.driver.Request_Stop() : w.world.driver.Request_Skip();
        };
        EXPECT_EQ(w.Texts("dG"), stop ? (std::vector<std::string>{"f1", d1 + "\\d2", "g1", d1, "top1"})
                                      : (std::vector<std::string>{"f1", d1 + "\\d2", "g1", "g2", d1, "top1", "top2"}));
    }
}

TEST(UserFolders, EachCategoryWalksItsFolders) {
    // A whole drive named as Downloads is never walked. ann not logged on: her
    // profile's known places are taken, but for her burn folder and downloads.
    const std::vector<std::pair<const char*, std::vector<std::string>>> cases = {
        {"dA", {"m.dmp"}}, {"dB", {"t.tmp"}},   {"dD", {"burn.tmp"}}, {"dE", {"t"}},
        {"dF", {}},        {"dH", {"doc.lnk"}}, {"dI", {"p.pf"}},     {"dJ", {"u.msi", "w.msi"}},
        {"iA", {"h.dat"}}, {"iB", {"c.txt"}},   {"iC", {"i.tmp"}}};
    for (const auto& [category, listed] : cases) {
        for (const bool annLoggedOn : {true, false}) {
            SCOPED_TRACE(annLoggedOn ? "logged on" : "not logged on");
            const bool burnGone = std::string_view(category) == "dD" && !annLoggedOn;
            DiskWorld w("PC1", annLoggedOn);
            w.Add_Files(kAnn, {"AppData\\Local\\Temp\\t.tmp", "AppData\\Local\\Microsoft\\Windows\\Explorer\\t",
                               "AppData\\Local\\Downloaded Installations\\u.msi",
                               "AppData\\Roaming\\Microsoft\\Windows\\Recent\\doc.lnk",
                               "AppData\\Local\\Microsoft\\Windows\\History\\h.dat",
                               "AppData\\Roaming\\Microsoft\\Windows\\Cookies\\c.txt",
                               "AppData\\Local\\Microsoft\\Windows\\Temporary Internet Files\\i.tmp",
                               "AppData\\Local\\Microsoft\\Windows\\Burn\\Burn\\burn.tmp"});
            w.Add_Files("C:\\", {"Windows\\Downloaded Installations\\w.msi", "Windows\\Minidump\\m.dmp",
                                 "Windows\\Prefetch\\p.pf", "other\\stay.tmp"});
            if (annLoggedOn) w.pc.registry.Set_String(kHkeyUsers, kShell, kDownloads, "C:\\");
            EXPECT_EQ(w.Texts(category), burnGone ? std::vector<std::string>{} : listed) << category;
            // A user's rows name their owner; the Windows folders' nobody.
            for (const ListRow* row : w.world.Rows('c')) {
                const FileItem& item = row->problem->file;
                EXPECT_EQ(item.ownerSid, item.path.starts_with("c:\\users\\ann") ? kUser : "") << item.path;
            }
        }
    }
}

// Profiles whose hive is not loaded: User Temp lists the files of those it
// may take, each once with its owner, and the fix deletes exactly those; the
// log names each refusal and, once per computer, the users not scanned.
TEST(UserFolders, ProfilesOfUsersNotLoggedOn) {
    const std::string temp = "\\AppData\\Local\\Temp\\";
    const std::string row = "\\appdata\\local\\temp\\";  // as the rows name it
    struct Case {
        std::vector<std::pair<const char*, const char*>> profiles;  // SID, ProfileImagePath
        std::vector<std::string> files;  // "file|owner" (lower case) listed and deleted, or "file" kept
        const char* logged;
        const char* version = "6.1.7601";
    };
    const std::vector<Case> cases = {
        {{{"S-1-5-21-30", "%SystemDrive%\\Users\\cat"}},
         {"c:\\users\\cat" + row + "c.tmp|S-1-5-21-30"},
         "1 user profile is not loaded on PC1: its registry entries are not scanned"},
        {{{"S-1-5-19", "C:\\Users\\ls"},
          {"S-1-5-20", "C:\\Users\\ns"},
          {"S-1-5-80-1-2", "C:\\Users\\svc"},
          {"S-1-5-82-3", "C:\\Users\\pool"},
          {"S-1-5-21-31.bak", "C:\\Users\\old"}},
         {"C:\\Users\\ls" + temp + "a.tmp", "C:\\Users\\ns" + temp + "a.tmp", "C:\\Users\\svc" + temp + "a.tmp",
          "C:\\Users\\pool" + temp + "a.tmp", "C:\\Users\\old" + temp + "a.tmp"},
         ""},
        {{{"S-1-5-21-32", "%SystemRoot%\\Profiles\\eve"}},
         {"C:\\Windows\\Profiles\\eve" + temp + "e.tmp"},
         "user S-1-5-21-32 (not logged on): ProfileImagePath = C:\\Windows\\Profiles\\eve: below the Windows "
         "directory"},
        {{{"S-1-5-21-33", "\\\\server\\profiles\\fay"}},
         {},
         "S-1-5-21-33 (not logged on): ProfileImagePath = \\\\server\\profiles\\fay: refused path form"},
        {{{"S-1-5-21-34", "C:\\Users\\ann\\Documents\\gus"}},
         {std::string(kAnn) + "Documents\\gus" + temp + "g.tmp"},
         "inside the profile of S-1-5-21-7"},
        {{{"S-1-5-21-35", "C:\\Users"}}, {"C:\\Users" + temp + "u.tmp"}, "holds the profiles folder C:\\Users"},
        {{{"S-1-5-21-36", "C:\\ProgramData\\hal"}},
         {"C:\\ProgramData\\hal" + temp + "h.tmp"},
         "a folder of the system: C:\\ProgramData"},
        {{{"S-1-5-21-37", "C:\\Users\\ann"}, {"S-1-5-21-38", "C:\\Users\\cat"}, {"S-1-5-21-39", "c:\\users\\CAT"}},
         {"c:\\users\\ann" + row + "t.tmp|S-1-5-21-7", "c:\\users\\cat" + row + "c.tmp|S-1-5-21-38"},
         "3 user profiles are not loaded on PC1: their registry entries are not scanned"},
        {{{"S-1-5-21-40", "C:\\Documents and Settings\\ivy"}},
         {"c:\\documents and settings\\ivy\\local settings\\temp\\x.tmp|S-1-5-21-40",
          "C:\\Documents and Settings\\ivy" + temp + "keep.tmp"},
         "",
         "5.1.2600"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.profiles[0].second);
        DiskWorld w;
        w.pc.facts.version = c.version;
        for (const auto& [sid, folder] : c.profiles) Seed_Profile(w.pc, sid, folder);
        std::vector<std::string> listed;
        for (const std::string& file : c.files) {
            w.pc.files.Add_File(file.substr(0, file.find('|')));
            if (file.find('|') != std::string::npos) listed.push_back(file);
        }
        for (const char* category : {"dB", "iD", "iE"}) w.world.Check_Category(category);
        w.world.Scan_Without_Fix();
        std::vector<std::string> files;
        for (const ListRow* found : w.world.Rows('c')) {
            const FileItem& item = found->problem->file;
            if (found->problem->type == FixType::File) files.push_back(item.path + "|" + item.ownerSid);
        }
        EXPECT_EQ(files, listed);
        const std::string log = w.world.Log();
        EXPECT_NE(log.find(c.logged), std::string::npos) << log;
        const std::size_t once = log.find(" not loaded on PC1");
        EXPECT_EQ(log.find(" not loaded on PC1", once == std::string::npos ? 0 : once + 1), std::string::npos) << log;
        w.Fix_All();
        for (const std::string& file : c.files) {
            EXPECT_EQ(w.Has(file.substr(0, file.find('|'))), file.find('|') == std::string::npos) << file;
        }
    }
}

// Every per-user value of bob (or the Windows directory) pointed where
// Windows keeps no such files, in a form Windows reads otherwise, or through
// a junction, on the computer the program runs on: nothing there is listed or
// deleted and the log says why, while ann's and the Windows folders are still
// cleaned; Firefox profiles are told by their names.
struct Misdirection {
    const char* bobValue;
    const char* reason;                 // in the warning about bob's values
    const char* windowsDirectory = "";  // "": as it is
    const char* junction = "";          // a folder made a junction
};

TEST(FolderConfinement, MisdirectedFoldersAreNeverCleaned) {
    const std::string bob = "C:\\Users\\bob\\AppData\\Local\\Temp";
    const std::vector<Misdirection> cases = {
        {"C:\\Users\\carol\\AppData\\Local\\Temp", "not where Windows keeps User Temp"},
        {"C:\\Users\\bob", "not where Windows keeps History"},
        {"C:\\Users\\bob\\AppData", "not where Windows keeps Cookies"},
        {"C:\\Users\\bob\\AppData\\Roaming\\Microsoft\\Protect", "not where Windows keeps Recent"},
        {"C:\\Users\\bob\\Documents", "not where Windows keeps Downloads"},
        {"C:\\ProgramData", "not where Windows keeps Firefox profiles"},
        {"C:\\Program Files", "not where Windows keeps Temporary Internet Files", "C:\\Program Files"},
        {"C:\\Windows", "not where Windows keeps CD Burn", "C:\\Windows\\system32\\.."},
        {"C:\\.", "not where Windows keeps Thumbnail Cache", "C:\\."},
        {"C:\\x\\..", "not where Windows keeps History", "C:\\x\\.."},
        {"C:/Users/bob/AppData/Local/Temp", "refused path form", "C:/Windows"},
        {"C:Users\\bob\\AppData\\Local\\Temp", "refused path form", "C:Windows"},
        {"\\Users\\bob\\AppData\\Local\\Temp", "refused path form", "\\Windows"},
        {"\\\\?\\C:\\Users\\bob\\AppData\\Local\\Temp", "refused path form", "\\\\?\\C:\\Windows"},
        {"\\\\.\\C:\\Users\\bob\\AppData\\Local\\Temp", "refused path form", "\\\\.\\C:\\Windows"},
        {"\\\\WORKSTATION\\C$\\Users\\bob\\AppData\\Local\\Temp", "refused path form", "\\\\WORKSTATION\\C$\\Windows"},
        {"C:\\Users\\bob\\AppData\\Local\\Temp:x", "refused path form", "C:\\Windows:x"},
        {"C:\\Users\\bob.\\AppData\\Local\\Temp", "refused path form", "C:\\Windows."},
        {"C:\\Users\\bob\\AppData \\Local\\Temp", "refused path form"},
        {"C:\\Users\\bob\\APPDAT~1\\Local\\Temp", "refused path form", "C:\\WINDOW~1"},
        {"C:\\Users\\bob\\AppData\\Local\\Temp", "a reparse point on the way", "C:\\WinLink",
         "C:\\Users\\bob\\AppData"},
        {"C:\\Users\\bob\\AppData\\Local\\Temp", "a reparse point on the way", "",
         "C:\\Users\\bob\\AppData\\Local\\Temp"},
    };
    const std::vector<std::string> kept = {
        "C:\\Users\\carol\\AppData\\Local\\Temp\\keep.tmp",
        "C:\\Users\\bob\\keep.dat",
        "C:\\Users\\bob\\AppData\\keep.dat",
        "C:\\Users\\bob\\AppData\\Roaming\\Microsoft\\Protect\\keep.key",
        "C:\\Users\\bob\\Documents\\keep.doc",
        "C:\\ProgramData\\keep.dat",
        "C:\\Program Files\\keep.exe",
        "C:\\Windows\\system32\\drivers\\etc\\hosts",
        "C:\\x\\keep.dat",
        bob + "\\keep.tmp",
        bob + "\\Temp\\keep.tmp",
        "C:\\WinLink\\Temp\\keep.tmp",
        std::string(kAnn) + "AppData\\Roaming\\Mozilla\\Firefox\\Profiles\\a.default\\places.sqlite",
        std::string(kAnn) + "AppData\\Roaming\\Mozilla\\Firefox\\Profiles\\a.default\\key4.db",
        std::string(kAnn) + "AppData\\Roaming\\Mozilla\\Firefox\\Profiles\\a.default.bak\\cookies.sqlite"};
    // Where the categories clean: the Windows folders and ann's.
    std::vector<std::string> places{"C:\\Windows\\Temp", "C:\\Windows\\Minidump", "C:\\Windows\\Prefetch",
                                    "C:\\Windows\\Downloaded Installations"};
    for (const char* place :
         {"AppData\\Local\\Temp", "AppData\\Local\\Microsoft\\Windows\\Explorer",
          "AppData\\Local\\Downloaded Installations", "AppData\\Roaming\\Mozilla\\Firefox\\Profiles",
          "AppData\\Local\\Mozilla\\Firefox\\Profiles"}) {
        places.push_back(std::string(kAnn) + place);
    }
    for (const auto& [value, place] : kShellPlaces) places.push_back(std::string(kAnn) + place);
    for (const Misdirection& misdirection : cases) {
        SCOPED_TRACE(std::string(misdirection.bobValue) + " / " + misdirection.windowsDirectory);
        DiskWorld w(kLocalName);
        for (const auto& [value, place] : kShellPlaces) {
            w.pc.registry.Set_String(kHkeyUsers, std::string("S-1-5-21-8") + kShellBelowUser, value,
                                     misdirection.bobValue);
        }
        w.Set_Environment("S-1-5-21-8", misdirection.bobValue, misdirection.bobValue);
        if (*misdirection.windowsDirectory != '\0') w.pc.facts.windowsDirectory = misdirection.windowsDirectory;
        const std::string firefox = std::string(kAnn) + "AppData\\Roaming\\Mozilla\\Firefox\\Profiles\\";
        std::vector<std::string> cleaned{std::string(kAnn) +
                                         "AppData\\Local\\Mozilla\\Firefox\\Profiles\\a.default\\cache2\\e1"};
        for (const std::string& place : places) {
            if (place.find("Firefox") == std::string::npos) cleaned.push_back(place + "\\gone.tmp");
        }
        for (const char* profile : {"a.default", "b.default-release", "c.dev-edition-default"}) {
            cleaned.push_back(firefox + profile + "\\cookies.sqlite");
        }
        for (const char* file : {"downloads.sqlite", "logins.json", "signons.sqlite"}) {
            cleaned.push_back(firefox + "a.default\\" + file);
        }
        // The junctions first: files named through them land in their targets.
        for (const char* target : {"C:\\LinkTarget", "C:\\WinTarget"}) w.pc.files.Add_Folder(target);
        if (*misdirection.junction != '\0') w.pc.files.Add_Junction(misdirection.junction, "C:\\LinkTarget");
        w.pc.files.Add_Junction("C:\\WinLink", "C:\\WinTarget");
        for (const std::string& file : cleaned) w.pc.files.Add_File(file);
        for (const std::string& file : kept) w.pc.files.Add_File(file);
        for (const char* category : {"dA", "dB", "dC", "dD", "dE", "dF", "dG", "dH", "dI", "dJ",
                                     "iA", "iB", "iC", "xA", "xC", "xE", "xF", "xG", "xH", "xI"}) {
            w.world.Check_Category(category);
        }
        w.world.Scan_Without_Fix();
        for (const ListRow* row : w.world.Rows('c')) {
            const FileItem& item = row->problem->file;
            EXPECT_TRUE(std::any_of(places.begin(), places.end(), [&](const std::string& place) {
                return remote::Is_At_Or_Below(item.path, place);
            })) << item.path;
            EXPECT_TRUE(remote::Is_At_Or_Below(item.path, item.startFolder)) << item.path << " " << item.startFolder;
        }
        w.Fix_All();
        for (const std::string& file : kept) EXPECT_TRUE(w.Has(file)) << file;
        // The Windows folders are cleaned when the directory is C:\Windows, however written.
        const bool windowsKept = remote::Canonical_Path(w.pc.facts.windowsDirectory) != "C:\\Windows";
        for (const std::string& file : cleaned) {
            EXPECT_EQ(w.Has(file), windowsKept && file.starts_with("C:\\Windows\\")) << file;
        }
        const std::string log = w.world.Log();
        EXPECT_NE(log.find("user S-1-5-21-8, profile C:\\Users\\bob: "), std::string::npos);
        EXPECT_NE(log.find(misdirection.reason), std::string::npos) << log;
    }
}

// On a remote computer, where WMI shows a junction as an ordinary folder,
// with its administrative share listable and not: junctions a user can make
// in their own folders lead no row out of their Temp folder and no deletion
// into the folder they point at, and a short name in the value is made long
// by the share. Without the share the category does not run.
TEST(RemoteJunctions, NeitherWalkedNorDeleted) {
    const std::string local = std::string(kAnn) + "AppData\\Local";
    const std::string temp = local + "\\Temp";
    struct Case {
        const char* name;
        std::function<void(DiskWorld&)> arrange;
        bool rows;  // with the share listable
    };
    const std::vector<Case> cases = {
        {"plain", {}, true},
        {"a junction in Temp", [&](DiskWorld& w) { w.pc.files.Add_Junction(temp + "\\link", "C:\\Data"); }, true},
        {"Temp itself a junction", [&](DiskWorld& w) { w.pc.files.Add_Junction(temp, "C:\\Data"); }, false},
        {"a junction between the profile and Temp",
         [&](DiskWorld& w) {
             w.pc.files.Add_File("C:\\Data\\Temp\\x.tmp");
             w.pc.files.Add_Junction(local, "C:\\Data");
         },
         false},
        {"a short name in the value",
         [&](DiskWorld& w) {
             w.pc.files.Set_Short_Name(std::string(kAnn) + "AppData", "APPDAT~1");
             w.Set_Environment(kUser, std::string(kAnn) + "APPDAT~1\\Local", "");
         },
         true},
    };
    for (const Case& c : cases) {
        for (const bool shareListable : {true, false}) {
            SCOPED_TRACE(std::string(c.name) + (shareListable ? ", share listable" : ", no share"));
            DiskWorld w;
            w.pc.files.Add_File(temp + "\\t.tmp");
            w.pc.files.Add_File("C:\\Data\\secret.doc");
            if (c.arrange) c.arrange(w);
            if (!shareListable) w.pc.unlistableShares.insert("C:");
            (void)w.Scan("dB");
            const std::vector<const ListRow*> rows = w.world.Rows('c');
            EXPECT_EQ(!rows.empty(), c.rows && shareListable);
            for (const ListRow* row : rows)
                EXPECT_TRUE(remote::Is_At_Or_Below(row->problem->file.path, temp)) << row->problem->file.path;
            EXPECT_EQ(w.world.Header("dBPC1")->status == kShareUnavailableNote, !shareListable);
            w.Fix_All();
            EXPECT_TRUE(w.Has("C:\\Data\\secret.doc"));
        }
    }
}

// What the scan listed is changed before the fix: a junction made above it
// on the computer the program runs on, a listed folder swapped for a
// junction or a file replaced by another of the same name on a remote
// computer. Nothing is deleted, least of all through the junction.
TEST(FolderConfinement, AChangeMadeAfterTheScanStopsTheFix) {
    const std::string temp = std::string(kAnn) + "AppData\\Local\\Temp\\";
    struct Case {
        const char* computer;
        std::function<void(remote::SimFileSystem&)> change;
        const char* status;    // of the file's row
        const char* survivor;  // what the change put where the scan listed its file
        const char* logged;    // why, in the log
    };
    const std::vector<Case> cases = {
        {kLocalName,
         [&](remote::SimFileSystem& files) {
             files.Add_File("C:\\Elsewhere\\Temp\\sub\\t.tmp");
             files.Add_Junction(std::string(kAnn) + "AppData\\Local", "C:\\Elsewhere");
         },
         "a reparse point on the way", "C:\\Elsewhere\\Temp\\sub\\t.tmp",
         "t.tmp on WORKSTATION: a reparse point on the way"},
        {"PC1",
         [&](remote::SimFileSystem& files) {
             ASSERT_EQ(files.Delete_File(temp + "sub\\t.tmp"), 0U);
             ASSERT_EQ(files.Delete_Folder(temp + "sub"), 0U);
             files.Add_File("C:\\Elsewhere\\t.tmp");
             files.Add_Junction(temp + "sub", "C:\\Elsewhere");
         },
         "Other Errors", "C:\\Elsewhere\\t.tmp", "t.tmp on PC1: Other Errors (a reparse point on the way)"},
        {"PC1",
         [&](remote::SimFileSystem& files) {
             ASSERT_EQ(files.Delete_File(temp + "sub\\t.tmp"), 0U);
             files.Add_File(temp + "sub\\t.tmp");
         },
         "Other Errors", "", "t.tmp on PC1: Other Errors (another file has its name now)"},
        {kLocalName,
         [&](remote::SimFileSystem& files) {
             ASSERT_EQ(files.Delete_File(temp + "sub\\t.tmp"), 0U);
             files.Add_File(temp + "sub\\t.tmp");
         },
         "Other Errors", "", "t.tmp on WORKSTATION: Other Errors (another file has its name now)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.computer) + " " + c.survivor);
        DiskWorld w(c.computer);
        w.pc.files.Add_File(temp + "sub\\t.tmp");
        ASSERT_EQ(w.Texts("dB").size(), 2U);
        c.change(w.pc.files);
        w.world.Fix();
        EXPECT_TRUE(w.Has(temp + "sub\\t.tmp"));
        EXPECT_TRUE(*c.survivor == '\0' || w.Has(c.survivor)) << c.survivor;
        EXPECT_EQ(w.world.Rows('c')[0]->status, c.status);
        EXPECT_NE(w.world.Log().find(c.logged), std::string::npos) << w.world.Log();
    }
}

// The fix takes a shortcut only while its target is still missing.
TEST(InvalidShortcuts, OnlyATargetMissingFromAFixedDrive) {
    DiskWorld w;
    w.pc.disks.push_back({"E:", 2});
    const std::string recent = std::string(kAnn) + "AppData\\Roaming\\Microsoft\\Windows\\Recent\\";
    for (const auto& [name, target] : std::vector<std::pair<const char*, const char*>>{
             {"gone.lnk", "C:\\gone.exe"}, {"ok.lnk", "C:\\Windows"}, {"net.lnk", "\\\\s\\x"}, {"usb.lnk", "E:\\a"}}) {
        w.pc.files.Add_Shortcut(recent + name, target);
    }
    EXPECT_EQ(w.Scan("dC"), (std::vector<std::string>{"gone.lnk|C:\\gone.exe|3"}));
    w.pc.files.Add_File("C:\\gone.exe");  // installed again before the fix
    w.world.Fix();
    EXPECT_EQ(w.world.Rows('c')[0]->status, "Problem no longer present");
    EXPECT_TRUE(w.Has(recent + "gone.lnk"));
}

TEST(IEHistory, EveryTypedAddressAndFormValueIsARow) {
    DiskWorld w;
    const std::string ie = std::string(kUser) + "\\Software\\Microsoft\\Internet Explorer\\";
    w.pc.registry.Set_String(kHkeyUsers, ie + "TypedURLs", "url1", "http://a/");
    w.pc.registry.Set_String(kHkeyUsers, ie + "TypedURLs", "url2", "http://b/");
    w.pc.registry.Set_String(kHkeyUsers, ie + "IntelliForms\\Storage2", "f1", "");
    w.world.Check_Category("iE");
    w.world.Check_Category("iD");
    w.world.Scan();
    EXPECT_EQ(w.world.Problem_Texts(), (std::vector<std::string>{"url1", "url2", "f1"}));
    EXPECT_EQ(w.world.Rows('s')[0]->data, "http://a/");
    EXPECT_EQ(w.world.Rows('s')[0]->location, "HKEY_USERS\\" + ie + "TypedURLs");
}

// Both fixed drives are searched for each extension in any letter case, with
// a running count. Each folder where Windows, programs or users keep their
// own files, as this computer names it or by its usual name at a drive's
// root: the search finds a .tmp file beside it and none inside it; a key that
// names such folders and cannot be read keeps the search from running at all.
TEST(SystemwideSearch, BothDrivesButNeverWindowsProgramProfileOrRecycleFolders) {
    const std::string profiles = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
    for (const bool profilesReadable : {true, false}) {
        DiskWorld w;
        ASSERT_TRUE(Save_Settings(w.world.data.db, 0, ".tmp;.log;"));
        w.pc.disks.push_back({"D:", 3});
        w.pc.facts.windowsDirectory = "D:\\WinNT";
        const std::string programs = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
        w.pc.registry.Set_String(kHklm, programs, "ProgramFilesDir", "D:\\Apps");
        w.pc.registry.Set_String(kHklm, programs, "ProgramFilesDir (x86)", "d:\\apps32\\");
        w.pc.registry.Set_String(kHklm, profiles, "ProgramData", "%SystemDrive%\\Shared", remote::kRegExpandSz);
        Seed_Profile(w.pc, kUser, "D:\\Home\\ann");
        Seed_Profile(w.pc, "S-1-5-21-8", "C:\\x\\..\\Staff\\bob.", remote::kRegSz);
        if (!profilesReadable) w.pc.registry.Deny_Access(kHklm, profiles);
        for (const char* closed :
             {"C:\\Windows", "C:\\Program Files", "C:\\Program Files (x86)", "C:\\ProgramData", "C:\\Users",
              "C:\\Documents and Settings", "C:\\System Volume Information", "C:\\$Recycle.Bin", "D:\\RECYCLER",
              "D:\\Recycled", "D:\\WinNT", "D:\\Apps", "D:\\Apps32", "C:\\Shared", "D:\\Home\\ann", "C:\\Staff\\bob"}) {
            w.pc.files.Add_File(std::string(closed) + "\\sub\\in.tmp");
        }
        w.Add_Files("", {"C:\\Data\\a.tmp", "D:\\Home\\b.tmp", "C:\\Staff\\bobby\\c.tmp", "C:\\x\\d.LOG", "C:\\e.txt"});
        std::vector<std::string> counts;
        w.world.window.onPump = [&](int) {
            if (const ListRow* header = w.world.Header("wAPC1")) counts.push_back(header->status);
        };
        EXPECT_EQ(w.Scan("wA"), profilesReadable ? (std::vector<std::string>{"a.tmp|0 bytes|3", "c.tmp|0 bytes|3",
                                                                             "d.log|0 bytes|3", "b.tmp|0 bytes|3"})
                                                 : std::vector<std::string>{});
        EXPECT_EQ(std::ranges::count(counts, "3 Problems Found") > 0, profilesReadable);  // before drive D:
        EXPECT_EQ(w.world.Header("wAPC1")->status, profilesReadable ? "4 Problems Found" : "");
        EXPECT_EQ(w.world.Log().find("The systemwide search did not run on PC1") == std::string::npos,
                  profilesReadable);
    }
}

// A database, its journal and its log are one row, deleted database first: a
// database that cannot be deleted keeps its companions, a companion that
// cannot be deleted fails the row. A companion without its database is a row
// of its own, kept when its database is back at the fix.
TEST(DiskFix, ADatabaseAndItsJournalAndLogAreOneRowDeletedTogether) {
    DiskWorld w;
    const std::string db = std::string(kTemp) + "db\\";
    w.pc.files.Add_File(db + "a.sqlite", 1000);
    w.pc.files.Add_File(db + "A.SQLITE-journal", 536);
    for (const char* name :
         {"b.sqlite", "b.sqlite-journal", "c.sqlite", "c.sqlite-wal", "o.sqlite-shm", "p.sqlite-journal"}) {
        w.pc.files.Add_File(db + name);
    }
    w.pc.files.Lock(db + "b.sqlite-journal");
    w.pc.files.Lock(db + "c.sqlite");
    EXPECT_EQ(w.Scan("dG"), (std::vector<std::string>{"a.sqlite|1.50 KB|3", "b.sqlite|0 bytes|3", "c.sqlite|0 bytes|3",
                                                      "o.sqlite-shm|0 bytes|3", "p.sqlite-journal|0 bytes|3",
                                                      "c:\\windows\\temp\\db||4"}));
    w.pc.files.Add_File(db + "a.sqlite-wal");  // written since the scan: goes with its database
    w.pc.files.Add_File(db + "p.sqlite");      // back since the scan: its journal now belongs to it
    w.world.Fix();

    std::vector<std::string> outcomes;
    for (const ListRow* row : w.world.Rows('c')) outcomes.push_back(row->text + ": " + row->status);
    EXPECT_EQ(outcomes,
              (std::vector<std::string>{"a.sqlite: Problem fixed", "b.sqlite: Other Errors", "c.sqlite: Other Errors",
                                        "o.sqlite-shm: Problem fixed", "p.sqlite-journal: Problem no longer present",
                                        "c:\\windows\\temp\\db: Directory Not Empty"}));
    std::vector<std::string> left;
    for (const remote::FileEntry& entry : w.pc.files.List(db)) left.push_back(entry.path.substr(db.size()));
    EXPECT_EQ(left, (std::vector<std::string>{"b.sqlite-journal", "c.sqlite", "c.sqlite-wal", "p.sqlite",
                                              "p.sqlite-journal"}));
    EXPECT_NE(w.world.Log().find("Deleted: file c:\\windows\\temp\\db\\a.sqlite with "
                                 "c:\\windows\\temp\\db\\a.sqlite-journal, c:\\windows\\temp\\db\\a.sqlite-wal"),
              std::string::npos)
        << w.world.Log();
}

// Two users' browser data: each profile holds what each Chromium category
// lists (cookies in Network or, of older builds, in the profile) and what none
// may list, as do folders that are not profiles. A browser that runs (or may)
// for a user, before the scan or the fix, and policies that move the data keep
// that user's browser files; the fix deletes exactly what the scan listed.
struct BrowserSeed {
    const char* label;  // "ann Chrome"
    std::string folder;
    bool oldCookies = false;
    std::vector<std::string> listed{};  // deleted when cleaned
    std::vector<std::string> kept{};    // never deleted
    std::size_t rows = 0;
};

void Seed_Chromium(remote::SimFileSystem& files, BrowserSeed& seed) {
    const auto add = [&](std::vector<std::string>& into, std::initializer_list<const char*> names,
                         const std::string& in) {
        for (const char* name : names) into.push_back(in + "\\" + name);
    };
    for (const char* profile : {"Default", "Profile 1", "Guest Profile"}) {
        const std::string p = seed.folder + "\\" + profile;
        add(seed.listed,
            {"Cache\\Cache_Data\\data_0", "Code Cache\\js\\index", "GPUCache\\data_1", "Media Cache\\f_1", "History",
             "History-journal", "Visited Links", "Top Sites", "Top Sites-journal", "Shortcuts", "Shortcuts-journal",
             "Favicons", "Favicons-journal"},
            p);
        add(seed.listed, {"Cookies", "Cookies-journal"}, seed.oldCookies ? p : p + "\\Network");
        seed.rows += 4 + 2 + 5 + 1;  // cache files, cache folders, history databases, cookies
    }
    add(seed.listed, {"ShaderCache\\GPUCache\\data_0", "GrShaderCache\\data_1"}, seed.folder);
    seed.rows += 3;
    for (const char* folder : {"Default", "Profile 1", "Guest Profile", "System Profile", "Default.old"}) {
        add(seed.kept,
            {"Bookmarks", "Preferences", "Secure Preferences", "Login Data", "Login Data-journal", "Web Data",
             "Extensions\\abc\\1.0\\History", "Local Storage\\leveldb\\000003.log", "IndexedDB\\x.leveldb\\LOG",
             "History.bak", "Network\\Network Persistent State"},
            seed.folder + "\\" + folder);
    }
    add(seed.kept, {"System Profile\\History", "Default.old\\Cookies", "Local State", "Crashpad\\reports\\r.dmp"},
        seed.folder);
    for (const std::vector<std::string>* paths : {&seed.listed, &seed.kept}) {
        for (const std::string& path : *paths) files.Add_File(path);
    }
}

TEST(BrowserCategories, ExactlyTheListedFilesOfUsersWhoseBrowserIsClosed) {
    const std::string annLocal = std::string(kAnn) + "AppData\\Local";
    const std::string chromePolicy = "SOFTWARE\\Policies\\Google\\Chrome";
    struct Case {
        const char* name;
        std::function<void(DiskWorld&)> arrange;
        std::vector<std::string> cleaned;  // labels of the seeds the fix empties
        const char* logged = "";
        std::function<void(DiskWorld&)> beforeFix = {};
        std::vector<std::string> movedListed = {};  // files a policy's folder holds, deleted
    };
    const std::vector<std::string> all = {"ann Chrome", "ann Edge", "bob Chrome", "bob Brave", "ann Firefox"};
    const std::vector<Case> cases = {
        {"every browser closed", {}, all},
        {"Chrome runs for bob",
         [](DiskWorld& w) { w.pc.Add_Process("chrome.exe", 5000, "S-1-5-21-8"); },
         {"ann Chrome", "ann Edge", "bob Brave", "ann Firefox"},
         "Chrome runs for user S-1-5-21-8 on PC1"},
        {"Firefox runs for ann",
         [](DiskWorld& w) { w.pc.Add_Process("firefox.exe", 5000, kUser); },
         {"ann Chrome", "ann Edge", "bob Chrome", "bob Brave"},
         "Firefox runs for user S-1-5-21-7"},
        {"an Edge process whose owner cannot be read",
         [](DiskWorld& w) { w.pc.Add_Process("msedge.exe", 5000, ""); },
         {"ann Chrome", "bob Chrome", "bob Brave", "ann Firefox"},
         "Edge may run for user S-1-5-21-7"},
        {"the process table cannot be read",
         [](DiskWorld& w) {
             w.world.network.Add_Fault({.kind = remote::CallKind::Query, .computer = "", .match = "Win32_Process"});
         },
         {},
         "(its processes could not be read)"},
        {"Chrome started for ann between scan and fix",
         {},
         {"ann Edge", "bob Chrome", "bob Brave", "ann Firefox"},
         "Other Errors (chrome.exe runs for user S-1-5-21-7)",
         [](DiskWorld& w) { w.pc.Add_Process("chrome.exe", 5000, kUser); }},
        {"the process table fails between scan and fix",
         {},
         {},
         "Other Errors (the processes of msedge.exe could not be read)",
         [](DiskWorld& w) {
             w.world.network.Add_Fault({.kind = remote::CallKind::Query, .computer = "", .match = "Win32_Process"});
         }},
        {"a policy moves the cache below the known place",
         [&](DiskWorld& w) {
             w.pc.registry.Set_String(kHklm, chromePolicy, "DiskCacheDir",
                                      "${local_app_data}\\Google\\Chrome\\User Data\\Moved");
         },
         all,
         "",
         {},
         {annLocal + "\\Google\\Chrome\\User Data\\Moved\\Default\\Cache\\f_2"}},
        {"a user's policy moves the data out of the known places",
         [&](DiskWorld& w) {
             w.pc.registry.Set_String(kHkeyUsers, std::string(kUser) + "\\" + chromePolicy, "UserDataDir",
                                      "${profile}\\Documents");
         },
         {"ann Edge", "bob Chrome", "bob Brave", "ann Firefox"},
         "not where Windows keeps Chrome data"},
        {"a policy with a variable only the browser can expand",
         [&](DiskWorld& w) { w.pc.registry.Set_String(kHklm, chromePolicy, "UserDataDir", "%USERPROFILE%\\Chrome"); },
         {"ann Edge", "bob Brave", "ann Firefox"},
         "a variable that cannot be expanded"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DiskWorld w;
        w.Set_Environment("S-1-5-21-8", "C:\\Users\\bob\\AppData\\Local", "C:\\Users\\bob\\AppData\\Roaming");
        std::vector<BrowserSeed> seeds = {
            {"ann Chrome", annLocal + "\\Google\\Chrome\\User Data"},
            {"ann Edge", annLocal + "\\Microsoft\\Edge\\User Data", true},
            {"bob Chrome", "C:\\Users\\bob\\AppData\\Local\\Google\\Chrome\\User Data", true},
            {"bob Brave", "C:\\Users\\bob\\AppData\\Local\\BraveSoftware\\Brave-Browser\\User Data"}};
        for (BrowserSeed& seed : seeds) Seed_Chromium(w.pc.files, seed);
        const std::string firefox = std::string(kAnn) + "AppData\\Roaming\\Mozilla\\Firefox\\Profiles\\a.default\\";
        seeds.push_back({"ann Firefox", "", false, {firefox + "cookies.sqlite"}, {firefox + "places.sqlite"}, 1});
        for (const std::string& path : seeds.back().listed) w.pc.files.Add_File(path);
        w.pc.files.Add_File(seeds.back().kept.front());
        for (const std::string& path : c.movedListed) w.pc.files.Add_File(path);
        w.pc.files.Add_File("C:\\Users\\ann\\Documents\\Default\\History");
        if (c.arrange) c.arrange(w);

        for (const char* key : {"bA", "bB", "bC", "bD", "bE", "bF", "bG", "bH", "bI", "xA"})
            w.world.Check_Category(key);
        w.world.Scan_Without_Fix();
        const auto cleaned = [&](const BrowserSeed& seed) { return std::ranges::count(c.cleaned, seed.label) > 0; };
        std::size_t rows = c.movedListed.size();
        for (const BrowserSeed& seed : seeds) rows += c.beforeFix || cleaned(seed) ? seed.rows : 0;
        EXPECT_EQ(w.world.Rows('c').size(), rows);
        if (c.beforeFix) c.beforeFix(w);
        w.world.Fix();
        for (const BrowserSeed& seed : seeds) {
            for (const std::string& path : seed.listed) EXPECT_NE(w.Has(path), cleaned(seed)) << path;
            for (const std::string& path : seed.kept) EXPECT_TRUE(w.Has(path)) << path;
        }
        for (const std::string& path : c.movedListed) EXPECT_FALSE(w.Has(path)) << path;
        EXPECT_TRUE(w.Has("C:\\Users\\ann\\Documents\\Default\\History"));
        EXPECT_NE(w.world.Log().find(c.logged), std::string::npos) << w.world.Log();
    }
}

}  // namespace
}  // namespace corvane::scan::testing
