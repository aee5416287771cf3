// The disk-style categories on simulated computers: the walker's rows and
// their order, what it must never list (excepted folders, junctions, folders
// it could not list), Stop and Skip at depth, the per-user folders, invalid
// shortcuts, both Firefox profile generations, the systemwide search, and a
// fix that deletes exactly the listed files and folders, content first.
#include <gtest/gtest.h>

#include "fix/fix_environment.h"
#include "fix/fix_problems.h"
#include "remote/wmi_errors.h"
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
        world.data.messages.Queue_Answer(MsgResult::No);  // no fix at the end
        world.Scan();
        std::vector<std::string> rows;
        for (const ListRow* row : world.Rows('c')) rows.push_back(row->text + "|" + row->Sub(1).text + "|" + row->tag[0]);
        return rows;
    }
    ScanWorld world;
    remote::SimComputer& pc;
};

TEST(FolderWalker, FormatsSizesAndFolderPaths) {
    const std::vector<std::pair<double, std::string>> sizes = {
        {0, "0 bytes"},        {1000, "1000 bytes"},    {1023, "1023 bytes"},     {1024, "1.00 KB"},
        {1536, "1.50 KB"},     {1152, "1.13 KB"},       {1048576, "1.00 MB"},     {5.5 * 1073741824, "5.50 GB"}};
    for (const auto& [size, text] : sizes) EXPECT_EQ(Format_File_Size(size, false), text) << size;
    EXPECT_EQ(Format_File_Size(1536, true), "1.50 KB (1536 bytes)");
    EXPECT_EQ(Format_File_Size(1000, true), "1000 bytes");
    EXPECT_EQ(Wql_Folder("C:").path, "\\\\");
    EXPECT_EQ(Wql_Folder("C:\\it's\\").path, "\\\\it\\'s\\\\");
}

TEST(SystemwideSearch, ExtensionListForms) {
    const std::string both = "EXTENSION='tmp' OR EXTENSION='log'";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {".tmp;.log;", both}, {"tmp;log", both}, {"*.tmp; *.log", both}, {";;tmp;  ;log;", both},
        {"", ""},             {" ; ", ""},       {"a'b", "EXTENSION='a\\'b'"}};
    for (const auto& [list, condition] : cases) EXPECT_EQ(Extension_Condition(list), condition) << list;
}

TEST(FolderWalker, ContentBeforeFolderAndNothingItMustNotList) {
    DiskWorld w;
    auto& files = w.pc.files;
    files.Add_File(std::string(kTemp) + "a.log", 1000);
    files.Add_File(std::string(kTemp) + "b", 1536);
    files.Add_File(std::string(kTemp) + "sub\\inner.txt", 10);
    files.Add_File(std::string(kTemp) + "it's\\x.tmp", 1);
    files.Add_File(std::string(kTemp) + "kept\\y.tmp", 1);
    files.Add_File(std::string(kTemp) + "link\\z.tmp", 1);
    files.Mark_Reparse_Point(std::string(kTemp) + "link");
    files.Add_File(std::string(kTemp) + "outer\\locked\\w.tmp", 1);
    w.world.Add_Exception_Text("c:\\windows\\temp\\kept");
    w.world.network.Add_Fault({.kind = remote::CallKind::Query, .computer = "", .match = "\\\\locked\\\\",
                               .hresult = wmi::hresult::kWbemAccessDenied});

    EXPECT_EQ(w.Scan("dG"), (std::vector<std::string>{"x.tmp|1 bytes|3", "c:\\windows\\temp\\it's||4",
                                                       "inner.txt|10 bytes|3", "c:\\windows\\temp\\sub||4",
                                                       "a.log|1000 bytes|3", "b|1.50 KB|3"}));
    EXPECT_EQ(w.world.Header("dGPC1")->Sub(2).text, "6 Problems Found");
    EXPECT_NE(w.world.Log().find("1 folder(s) could not be listed"), std::string::npos);
}

TEST(FolderWalker, LostConnectionEndsTheComputerWithTheRowsFoundSoFar) {
    DiskWorld w;
    w.pc.files.Add_File(std::string(kTemp) + "a\\1.tmp");
    w.pc.files.Add_File(std::string(kTemp) + "b\\2.tmp");
    w.world.network.Add_Fault({.kind = remote::CallKind::Query, .computer = "", .match = "temp\\\\b\\\\"});
    EXPECT_EQ(w.Scan("dG"), (std::vector<std::string>{"1.tmp|0 bytes|3", "c:\\windows\\temp\\a||4"}));
    ASSERT_EQ(w.world.Rows('e').size(), 1u);
    EXPECT_EQ(w.world.Header("dGPC1")->Sub(2).text, "");
}

TEST(FolderWalker, SkipLeavesOneFolderAndStopEndsEveryLevel) {
    for (const bool stop : {false, true}) {
        DiskWorld w;
        for (const char* file : {"d1\\d2\\f1", "d1\\d2\\f2", "d1\\d2\\f3", "d1\\g1", "d1\\g2", "top1", "top2"}) {
            w.pc.files.Add_File(std::string(kTemp) + file);
        }
        w.world.window.Set_Pump_Hook([&] {
            if (w.world.Rows('c').size() != 1 || w.world.driver.Control().SkipRequested) return;
            if (stop && !w.world.driver.Control().StopRequested) w.world.driver.mnuStopScan_Click();
            if (!stop) w.world.driver.lblSkip_Click();
            w.world.window.Set_Pump_Hook({});
        });
        std::vector<std::string> texts;
        for (const std::string& row : w.Scan("dG")) texts.push_back(row.substr(0, row.find('|')));
        const std::vector<std::string> skipped = {"f1", "c:\\windows\\temp\\d1\\d2", "g1", "g2",
                                                  "c:\\windows\\temp\\d1", "top1", "top2"};
        const std::vector<std::string> stopped = {"f1", "c:\\windows\\temp\\d1\\d2", "g1", "c:\\windows\\temp\\d1",
                                                  "top1"};
        EXPECT_EQ(texts, stop ? stopped : skipped);
    }
}

struct UserFolderCase {
    const char* category;
    std::vector<std::string> expected;
};

class UserFolders : public ::testing::TestWithParam<UserFolderCase> {};

TEST_P(UserFolders, EachCategoryWalksItsFolders) {
    DiskWorld w;
    auto& files = w.pc.files;
    const std::string local = "C:\\Users\\ann\\AppData\\Local\\";
    for (const std::string& file :
         {local + "Temp\\t.tmp", local + "Microsoft\\Windows\\Explorer\\thumbcache.db",
          local + "Downloaded Installations\\u.msi", std::string("C:\\Windows\\Downloaded Installations\\w.msi"),
          std::string("C:\\Windows\\Minidump\\m.dmp"), std::string("C:\\Windows\\Prefetch\\p.pf"),
          std::string("C:\\Users\\ann\\Recent\\doc.lnk"), std::string("C:\\Users\\ann\\History\\h.dat"),
          std::string("C:\\Users\\ann\\Cookies\\c.txt"), std::string("C:\\Users\\ann\\Cache\\i.tmp"),
          std::string("C:\\Users\\ann\\CD Burning\\burn.tmp"), std::string("C:\\other\\stay.tmp")}) {
        files.Add_File(file);
    }
    w.pc.registry.Set_String(kHkeyUsers, kShell, "{374DE290-123F-4565-9164-39C4925E467B}", "C:\\");
    std::vector<std::string> texts;
    for (const std::string& row : w.Scan(GetParam().category)) texts.push_back(row.substr(0, row.find('|')));
    EXPECT_EQ(texts, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Categories, UserFolders,
    ::testing::Values(UserFolderCase{"dA", {"m.dmp"}}, UserFolderCase{"dB", {"t.tmp"}},
                      UserFolderCase{"dD", {"burn.tmp"}}, UserFolderCase{"dE", {"thumbcache.db"}},
                      UserFolderCase{"dF", {}},  // a whole drive named by the value is never walked
                      UserFolderCase{"dH", {"doc.lnk"}}, UserFolderCase{"dI", {"p.pf"}},
                      UserFolderCase{"dJ", {"u.msi", "w.msi"}}, UserFolderCase{"iA", {"h.dat"}},
                      UserFolderCase{"iB", {"c.txt"}}, UserFolderCase{"iC", {"i.tmp"}}));

TEST(InvalidShortcuts, OnlyATargetMissingFromAFixedDrive) {
    DiskWorld w;
    w.pc.disks.push_back({"E:", 2});
    const std::string recent = "C:\\Users\\ann\\Recent\\";
    w.pc.files.Add_Shortcut(recent + "gone.lnk", "C:\\gone.exe");
    w.pc.files.Add_Shortcut(recent + "ok.lnk", "C:\\Windows");
    w.pc.files.Add_Shortcut(recent + "net.lnk", "\\\\srv\\x.exe");
    w.pc.files.Add_Shortcut(recent + "usb.lnk", "E:\\a.exe");
    EXPECT_EQ(w.Scan("dC"), (std::vector<std::string>{"gone.lnk|C:\\gone.exe|3"}));
}

TEST(Firefox, ProfilesOfBothGenerationsAndTheirDataFiles) {
    const std::string roaming = "C:\\Users\\ann\\AppData\\Roaming\\Mozilla\\Firefox\\Profiles\\";
    const std::string local = "C:\\Users\\ann\\AppData\\Local\\Mozilla\\Firefox\\Profiles\\";
    const std::vector<std::pair<const char*, std::vector<std::string>>> cases = {
        {"xA", {"cookies.sqlite", "cookies.sqlite-wal", "cookies.sqlite"}},
        {"xC", {"y", "x", "c:\\users\\ann\\appdata\\local\\mozilla\\firefox\\profiles\\b.default-release\\cache2\\"
                          "entries"}},
        {"xE", {"places.sqlite"}},
        {"xG", {"key4.db", "logins.json", "signons.sqlite"}},
        {"xH", {"search.json.mozlz4"}},
        {"xI", {"content-prefs.sqlite", "permissions.sqlite"}}};
    for (const auto& [category, expected] : cases) {
        DiskWorld w;
        for (const std::string& file :
             {roaming + "a.default\\cookies.sqlite", roaming + "a.default\\storage\\s.sqlite",
              roaming + "b.default-release\\cookies.sqlite", roaming + "b.default-release\\cookies.sqlite-wal",
              roaming + "b.default-release\\places.sqlite", roaming + "b.default-release\\key4.db",
              roaming + "b.default-release\\logins.json", roaming + "a.default\\signons.sqlite",
              roaming + "b.default-release\\search.json.mozlz4", roaming + "b.default-release\\permissions.sqlite",
              roaming + "b.default-release\\content-prefs.sqlite", roaming + "old.backup\\cookies.sqlite",
              local + "a.default\\Cache\\y", local + "b.default-release\\cache2\\entries\\x",
              local + "b.default-release\\startupCache\\keep"}) {
            w.pc.files.Add_File(file);
        }
        std::vector<std::string> texts;
        for (const std::string& row : w.Scan(category)) texts.push_back(row.substr(0, row.find('|')));
        std::vector<std::string> sorted = texts;
        std::vector<std::string> wanted = expected;
        std::sort(sorted.begin(), sorted.end());
        std::sort(wanted.begin(), wanted.end());
        EXPECT_EQ(sorted, wanted) << category;
    }
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
    for (const char* file : {"C:\\a.tmp", "C:\\x\\b.LOG", "C:\\c.txt", "D:\\d.tmp"}) w.pc.files.Add_File(file);
    std::vector<std::string> counts;
    w.world.window.Set_Pump_Hook([&] {
        if (const ListRow* header = w.world.Header("wAPC1")) counts.push_back(header->Sub(2).text);
    });
    EXPECT_EQ(w.Scan("wA"), (std::vector<std::string>{"b.log|0 bytes|3", "a.tmp|0 bytes|3", "d.tmp|0 bytes|3"}));
    EXPECT_NE(std::find(counts.begin(), counts.end(), "2 Problems Found"), counts.end());
    EXPECT_EQ(w.world.Header("wAPC1")->Sub(2).text, "3 Problems Found");
}

TEST(DiskFix, DeletesExactlyTheListedRowsContentFirst) {
    DiskWorld w;
    for (const char* file : {"sub\\inner.txt", "open\\busy.tmp", "a.log"}) w.pc.files.Add_File(std::string(kTemp) + file);
    w.pc.files.Add_File("C:\\Windows\\keep.txt");
    w.pc.files.Lock(std::string(kTemp) + "open\\busy.tmp");
    ASSERT_EQ(w.Scan("dG").size(), 5u);
    bool stop = false;
    fix::FixEnvironment env{w.world.window, w.world.data.db, w.world.context, stop};
    fix::Start_Fixing(env, false);

    std::vector<std::string> outcomes;
    for (const ListRow* row : w.world.Rows('c')) outcomes.push_back(row->text + ": " + row->Sub(2).text);
    EXPECT_EQ(outcomes, (std::vector<std::string>{"busy.tmp: Sharing Violation",
                                                  "c:\\windows\\temp\\open: Directory Not Empty",
                                                  "inner.txt: Problem fixed", "c:\\windows\\temp\\sub: Problem fixed",
                                                  "a.log: Problem fixed"}));
    std::vector<remote::FileEntry> left;
    (void)w.pc.List_Folder(kTemp, left);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_TRUE(w.pc.files.Find(std::string(kTemp) + "open\\busy.tmp").has_value());
    EXPECT_TRUE(w.pc.files.Find("C:\\Windows\\keep.txt").has_value());
    EXPECT_NE(w.world.Log().find("Deleted: folder c:\\windows\\temp\\sub"), std::string::npos) << w.world.Log();
}

}  // namespace
}  // namespace corvane::scan::testing
