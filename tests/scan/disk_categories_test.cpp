// The disk-style categories on simulated computers: the walker's rows and
// their order, what it must never list (excepted folders, junctions, folders
// it could not list), Stop and Skip at depth, the per-user folders, invalid
// shortcuts, the systemwide search, and a fix that deletes exactly the listed
// files and folders, content first. Firefox profiles are scanned under Wine.
#include <gtest/gtest.h>

#include "scan/folder_walker.h"
#include "scan/systemwide_search.h"
#include "scan_world.h"

namespace corvane::scan::testing {
namespace {

using remote::kHkeyUsers;
constexpr const char* kUser = "S-1-5-21-7";
constexpr const char* kShell = "S-1-5-21-7\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kTemp = "C:\\Windows\\Temp\\";

struct DiskWorld {
    DiskWorld() : pc(world.Add_Computer("PC1")) {
        world.Add_Node("PC1");
        world.Set_Options(0);
        const std::string volatileKey = std::string(kUser) + "\\Volatile Environment";
        pc.registry.Set_String(kHkeyUsers, volatileKey, "LOCALAPPDATA", "C:\\Users\\ann\\AppData\\Local");
        pc.registry.Set_String(kHkeyUsers, volatileKey, "APPDATA", "C:\\Users\\ann\\AppData\\Roaming");
        pc.registry.Set_String(kHkeyUsers, "S-1-5-21-8\\Volatile Environment", "TEMP", "C:\\x");
        // A second profile sharing the first one's Recent folder: listed once.
        pc.registry.Set_String(kHkeyUsers, std::string(kShell).replace(9, 1, "8"), "Recent", "C:\\USERS\\ann\\Recent");
        for (const char* value : {"Recent", "History", "Cookies", "Cache", "CD Burning"}) {
            pc.registry.Set_String(kHkeyUsers, kShell, value, std::string("C:\\Users\\ann\\") + value);
        }
    }
    // "text|detail|fix digit" of every file or folder row, in list order.
    std::vector<std::string> Scan(const char* category) {
        world.Check_Category(category);
        world.Scan_Without_Fix();
        std::vector<std::string> rows;
        for (const ListRow* row : world.Rows('c')) {
            rows.push_back(row->text + "|" + row->Sub(1).text + "|" + row->tag[0]);
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
    ScanWorld world;
    remote::SimComputer& pc;
};

TEST(FolderWalker, FormatsSizesAndFolderPaths) {
    const std::vector<std::pair<double, std::string>> sizes = {
        {0, "0 bytes"},    {1000, "1000 bytes"}, {1023, "1023 bytes"}, {1024, "1.00 KB"},
        {1536, "1.50 KB"}, {1152, "1.13 KB"},    {1048576, "1.00 MB"}, {5.5 * 1073741824, "5.50 GB"}};
    for (const auto& [size, text] : sizes) EXPECT_EQ(Format_File_Size(size, false), text) << size;
    EXPECT_EQ(Format_File_Size(1536, true), "1.50 KB (1536 bytes)");
    EXPECT_EQ(Format_File_Size(1000, true), "1000 bytes");
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
    w.Add_Files(kTemp, {"it's\\x.tmp", "kept\\y.tmp", "link\\z.tmp", "outer\\locked\\w.tmp"});
    w.pc.files.Mark_Reparse_Point(std::string(kTemp) + "link");
    w.world.Add_Exception_Text("c:\\windows\\temp\\kept");
    w.pc.files.Deny_Listing(std::string(kTemp) + "outer\\locked");
    EXPECT_EQ(w.Scan("dG"),
              (std::vector<std::string>{"x.tmp|0 bytes|3", "c:\\windows\\temp\\it's||4", "inner.txt|10 bytes|3",
                                        "c:\\windows\\temp\\sub||4", "a.log|1000 bytes|3", "b|1.50 KB|3"}));
    EXPECT_EQ(w.world.Header("dGPC1")->Sub(2).text, "6 Problems Found");
    EXPECT_NE(w.world.Log().find("1 folder(s) could not be listed"), std::string::npos);
}

TEST(FolderWalker, LostConnectionEndsTheComputerWithTheRowsFoundSoFar) {
    DiskWorld w;
    w.Add_Files(kTemp, {"a\\1.tmp", "b\\2.tmp"});
    w.world.network.Add_Fault({.kind = remote::CallKind::Query, .computer = "", .match = "temp\\\\b\\\\"});
    EXPECT_EQ(w.Texts("dG"), (std::vector<std::string>{"1.tmp", "c:\\windows\\temp\\a"}));
    ASSERT_EQ(w.world.Rows('e').size(), 1u);
    EXPECT_EQ(w.world.Header("dGPC1")->Sub(2).text, "");
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
            stop ? w.world.driver.mnuStopScan_Click() : w.world.driver.lblSkip_Click();
        };
        EXPECT_EQ(w.Texts("dG"), stop ? (std::vector<std::string>{"f1", d1 + "\\d2", "g1", d1, "top1"})
                                      : (std::vector<std::string>{"f1", d1 + "\\d2", "g1", "g2", d1, "top1", "top2"}));
    }
}

TEST(UserFolders, EachCategoryWalksItsFolders) {
    // Downloaded Temp Files ("dF"): a whole drive named by the value is never walked.
    const std::vector<std::pair<const char*, std::vector<std::string>>> cases = {
        {"dA", {"m.dmp"}}, {"dB", {"t.tmp"}},   {"dD", {"burn.tmp"}}, {"dE", {"t"}},
        {"dF", {}},        {"dH", {"doc.lnk"}}, {"dI", {"p.pf"}},     {"dJ", {"u.msi", "w.msi"}},
        {"iA", {"h.dat"}}, {"iB", {"c.txt"}},   {"iC", {"i.tmp"}}};
    for (const auto& [category, expected] : cases) {
        DiskWorld w;
        w.Add_Files("C:\\Users\\ann\\",
                    {"AppData\\Local\\Temp\\t.tmp", "AppData\\Local\\Microsoft\\Windows\\Explorer\\t",
                     "AppData\\Local\\Downloaded Installations\\u.msi", "Recent\\doc.lnk", "History\\h.dat",
                     "Cookies\\c.txt", "Cache\\i.tmp", "CD Burning\\burn.tmp"});
        w.Add_Files("C:\\", {"Windows\\Downloaded Installations\\w.msi", "Windows\\Minidump\\m.dmp",
                             "Windows\\Prefetch\\p.pf", "other\\stay.tmp"});
        w.pc.registry.Set_String(kHkeyUsers, kShell, "{374DE290-123F-4565-9164-39C4925E467B}", "C:\\");
        EXPECT_EQ(w.Texts(category), expected) << category;
    }
}

TEST(InvalidShortcuts, OnlyATargetMissingFromAFixedDrive) {
    DiskWorld w;
    w.pc.disks.push_back({"E:", 2});
    const std::string recent = "C:\\Users\\ann\\Recent\\";
    for (const auto& [name, target] : std::vector<std::pair<const char*, const char*>>{
             {"gone.lnk", "C:\\gone.exe"}, {"ok.lnk", "C:\\Windows"}, {"net.lnk", "\\\\s\\x"}, {"usb.lnk", "E:\\a"}}) {
        w.pc.files.Add_Shortcut(recent + name, target);
    }
    EXPECT_EQ(w.Scan("dC"), (std::vector<std::string>{"gone.lnk|C:\\gone.exe|3"}));
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
    EXPECT_EQ(w.world.Rows('s')[0]->Sub(1).text, "http://a/");
    EXPECT_EQ(w.world.Rows('s')[0]->Sub(3).text, "HKEY_USERS\\" + ie + "TypedURLs");
}

TEST(SystemwideSearch, TwoFixedDrivesWithARunningCount) {
    DiskWorld w;
    w.pc.disks.push_back({"D:", 3});
    ASSERT_TRUE(Save_Settings(w.world.data.db, 0, ".tmp;.log;"));
    w.Add_Files("", {"C:\\a.tmp", "C:\\x\\b.LOG", "C:\\c.txt", "D:\\d.tmp"});
    std::vector<std::string> counts;
    w.world.window.onPump = [&](int) {
        if (const ListRow* header = w.world.Header("wAPC1")) counts.push_back(header->Sub(2).text);
    };
    EXPECT_EQ(w.Scan("wA"), (std::vector<std::string>{"b.log|0 bytes|3", "a.tmp|0 bytes|3", "d.tmp|0 bytes|3"}));
    EXPECT_NE(std::find(counts.begin(), counts.end(), "2 Problems Found"), counts.end());
    EXPECT_EQ(w.world.Header("wAPC1")->Sub(2).text, "3 Problems Found");
}

// Each folder where Windows, programs or users keep their own files, as this
// computer names it or by its usual name at a drive's root: the search finds
// a .tmp file beside it and none inside it; a key that names such folders and
// cannot be read keeps the search from running at all.
TEST(SystemwideSearch, NeverEntersWindowsProgramProfileOrRecycleFolders) {
    const std::string profiles = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
    for (const bool profilesReadable : {true, false}) {
        DiskWorld w;
        w.pc.disks.push_back({"D:", 3});
        w.pc.facts.windowsDirectory = "D:\\WinNT";
        const std::string programs = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
        w.pc.registry.Set_String(kHklm, programs, "ProgramFilesDir", "D:\\Apps");
        w.pc.registry.Set_String(kHklm, programs, "ProgramFilesDir (x86)", "d:\\apps32\\");
        w.pc.registry.Set_String(kHklm, profiles, "ProgramData", "%SystemDrive%\\Shared", remote::kRegExpandSz);
        w.pc.registry.Set_String(kHklm, profiles + "\\" + kUser, "ProfileImagePath", "D:\\Home\\ann",
                                 remote::kRegExpandSz);
        w.pc.registry.Set_String(kHklm, profiles + "\\S-1-5-21-8", "ProfileImagePath", "C:\\x\\..\\Staff\\bob.");
        if (!profilesReadable) w.pc.registry.Deny_Access(kHklm, profiles);
        for (const char* closed :
             {"C:\\Windows", "C:\\Program Files", "C:\\Program Files (x86)", "C:\\ProgramData", "C:\\Users",
              "C:\\Documents and Settings", "C:\\System Volume Information", "C:\\$Recycle.Bin", "D:\\RECYCLER",
              "D:\\Recycled", "D:\\WinNT", "D:\\Apps", "D:\\Apps32", "C:\\Shared", "D:\\Home\\ann", "C:\\Staff\\bob"}) {
            w.pc.files.Add_File(std::string(closed) + "\\sub\\in.tmp");
        }
        w.Add_Files("", {"C:\\Data\\a.tmp", "D:\\Home\\b.tmp", "C:\\Staff\\bobby\\c.tmp"});
        EXPECT_EQ(w.Texts("wA"), profilesReadable ? (std::vector<std::string>{"a.tmp", "c.tmp", "b.tmp"})
                                                  : std::vector<std::string>{});
        EXPECT_EQ(w.world.Log().find("The systemwide search did not run on PC1") == std::string::npos,
                  profilesReadable);
    }
}

// A database, its journal and its log are one row that a fix deletes whole,
// the database first: a database that cannot be deleted keeps its companions,
// a companion that cannot be deleted fails the row. A companion without its
// database (in an unfiltered listing) is a row of its own, kept when its
// database is back at the fix.
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
    for (const ListRow* row : w.world.Rows('c')) outcomes.push_back(row->text + ": " + row->Sub(2).text);
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

TEST(DiskFix, DeletesExactlyTheListedRowsContentFirst) {
    DiskWorld w;
    w.Add_Files(kTemp, {"sub\\inner.txt", "open\\busy.tmp", "a.log"});
    w.pc.files.Lock(std::string(kTemp) + "open\\busy.tmp");
    ASSERT_EQ(w.Scan("dG").size(), 5u);
    w.world.Fix();

    std::vector<std::string> outcomes;
    for (const ListRow* row : w.world.Rows('c')) outcomes.push_back(row->text + ": " + row->Sub(2).text);
    EXPECT_EQ(outcomes,
              (std::vector<std::string>{"busy.tmp: Other Errors", "c:\\windows\\temp\\open: Directory Not Empty",
                                        "inner.txt: Problem fixed", "c:\\windows\\temp\\sub: Problem fixed",
                                        "a.log: Problem fixed"}));
    EXPECT_TRUE(w.pc.files.Find(std::string(kTemp) + "open\\busy.tmp").has_value());
    EXPECT_FALSE(w.pc.files.Find(std::string(kTemp) + "sub").has_value());
    EXPECT_NE(w.world.Log().find("Deleted: folder c:\\windows\\temp\\sub"), std::string::npos) << w.world.Log();
}

}  // namespace
}  // namespace corvane::scan::testing
