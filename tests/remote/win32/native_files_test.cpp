// The native store's files and folders on Wine's C: drive, through the store
// and through CIM_DataFile, Win32_Directory and Win32_ShortcutFile served by
// the query engine.
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "app/text.h"
#include "remote/store_services.h"
#include "remote/win32/native_store.h"
#include "remote/win32/unique_handles.h"
#include "win32_test_support.h"

namespace corvane::remote::win32 {
namespace {

using wmi::PropertyBag;
using wmi::Variant;

std::string Wql_Text(std::string_view text) { return Replace_All(Replace_All(text, "\\", "\\\\"), "'", "\\'"); }

class NativeFiles : public testing::ScratchFolderTest {
protected:
    NativeStore store_;
    wmi::ServicesPtr cimv2_ = Make_Store_Services(store_, "root\\cimv2");
};

TEST_F(NativeFiles, ListsOneFolderByDriveAndPath) {
    Make_File("a.txt", "12345");
    Make_File("b.log");
    Make_Folder("sub");
    Make_File("sub\\inner.txt");

    std::vector<FileEntry> entries;
    ASSERT_EQ(kStatusOk, store_.List_Folder(Folder(), entries));
    ASSERT_EQ(3u, entries.size());
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.path < b.path; });
    EXPECT_EQ(Path("a.txt"), entries[0].path);
    EXPECT_EQ(5u, entries[0].size);
    EXPECT_FALSE(entries[0].isFolder);
    EXPECT_FALSE(entries[0].fileType.empty());
    EXPECT_TRUE(entries[2].isFolder);
    EXPECT_GE(entries[0].created.year, 2020);

    // The program's folder listing: Drive and Path of Win32_Directory / CIM_DataFile.
    const std::string folder = Folder();
    const std::string rest = folder.substr(2) + "\\";
    const auto files = cimv2_->ExecQuery("Select FileName,Extension From CIM_DataFile Where Drive='" + folder.substr(0, 2) +
                                         "' and Path='" + Wql_Text(rest) + "'");
    std::vector<std::string> names;
    for (const auto& file : files) names.push_back(file->Get("FileName").As_String() + "." + file->Get("Extension").As_String());
    std::sort(names.begin(), names.end());
    EXPECT_EQ((std::vector<std::string>{"a.txt", "b.log"}), names);

    const auto folders = cimv2_->ExecQuery("Select Name From Win32_Directory Where Drive='" + folder.substr(0, 2) +
                                           "' and Path='" + Wql_Text(rest) + "'");
    ASSERT_EQ(1u, folders.size());
    EXPECT_EQ(Lower_Ascii(Path("sub")), folders[0]->Get("Name").As_String());

    EXPECT_EQ(kStatusNotFound, store_.List_Folder(Path("Missing"), entries) & ~1u) << "2 or 3";
    EXPECT_TRUE(entries.empty());
}

TEST_F(NativeFiles, FindsOneEntryByItsName) {
    Make_File("Report.TXT");
    const auto entry = store_.Find_Entry(Lower_Ascii(Path("Report.TXT")));
    ASSERT_TRUE(entry.has_value());
    EXPECT_TRUE(entry->path.ends_with("Report.TXT")) << "the stored spelling of the name";
    EXPECT_FALSE(store_.Find_Entry(Path("Report.txt.bak")).has_value());
    EXPECT_FALSE(store_.Find_Entry(Path("*.TXT")).has_value()) << "no wildcard matching";

    const auto root = store_.Find_Entry("C:");
    ASSERT_TRUE(root.has_value());
    EXPECT_TRUE(root->isFolder);
    const auto folder = store_.Find_Entry(Folder() + "\\");
    ASSERT_TRUE(folder.has_value());
    EXPECT_TRUE(folder->isFolder);

    EXPECT_EQ(1u, cimv2_->ExecQuery("Select name from CIM_Datafile where name='" + Wql_Text(Path("report.txt")) + "'").size());
    EXPECT_EQ(1u, cimv2_->ExecQuery("Select Name from Win32_Directory Where name='" + Wql_Text(Folder()) + "'").size());
    EXPECT_EQ(0u, cimv2_->ExecQuery("Select Name from Win32_Directory Where name='" + Wql_Text(Path("report.txt")) + "'").size());
}

TEST_F(NativeFiles, DeletesRenamesAndCompressesThroughTheMethods) {
    Make_File("doomed.tmp");
    Make_File("old name.txt");
    Make_File("taken.txt");
    Make_Folder("Full");
    Make_File("Full\\keep.txt");
    Make_Folder("Empty");

    for (const auto& file : cimv2_->ExecQuery("Select * from CIM_DataFile where Name='" + Wql_Text(Path("doomed.tmp")) + "'")) {
        EXPECT_EQ(0, file->Exec_Method("Delete", {}).at("ReturnValue").As_Int32());
    }
    EXPECT_FALSE(Exists("doomed.tmp"));

    const auto full = cimv2_->ExecQuery("Select * From Win32_Directory Where Name ='" + Wql_Text(Path("Full")) + "'");
    ASSERT_EQ(1u, full.size());
    EXPECT_EQ(14, full[0]->Exec_Method("Delete", {}).at("ReturnValue").As_Int32()) << "Directory Not Empty";
    EXPECT_TRUE(Exists("Full\\keep.txt"));
    EXPECT_EQ(kStatusOk, store_.Delete_Folder(Path("Empty") + "\\"));
    EXPECT_FALSE(Exists("Empty"));

    EXPECT_EQ(kStatusOk, store_.Rename_File(Path("old name.txt"), Path("new name.txt")));
    EXPECT_TRUE(Exists("new name.txt"));
    EXPECT_EQ(kStatusAlreadyExists, store_.Rename_File(Path("new name.txt"), Path("taken.txt")));
    EXPECT_TRUE(Exists("new name.txt"));

    // Compression may be unsupported by the file system; the file stays either way.
    const std::uint32_t compressed = store_.Compress_File(Path("taken.txt"));
    EXPECT_TRUE(Exists("taken.txt")) << "status " << compressed;
    EXPECT_NE(kStatusOk, store_.Delete_File(Path("nothing.here")));
}

TEST_F(NativeFiles, ReadsTheTargetOfAShortcut) {
    Make_File("target.exe");
    com_ptr<IShellLinkW> link;
    ASSERT_TRUE(SUCCEEDED(
        CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put_void())));
    ASSERT_TRUE(SUCCEEDED(link->SetPath(Widen(Path("target.exe")).c_str())));
    const auto file = link.try_query<IPersistFile>();
    ASSERT_TRUE(file);
    ASSERT_TRUE(SUCCEEDED(file->Save(Widen(Path("app.lnk")).c_str(), TRUE)));

    EXPECT_TRUE(Equals_Ignore_Case(Path("target.exe"), store_.Shortcut_Target(Path("app.lnk"))));
    EXPECT_EQ("", store_.Shortcut_Target(Path("a.txt"))) << "not a shortcut";

    const auto shortcuts =
        cimv2_->ExecQuery("Select Target From Win32_ShortcutFile Where Name='" + Wql_Text(Path("app.lnk")) + "'");
    ASSERT_EQ(1u, shortcuts.size());
    EXPECT_TRUE(Equals_Ignore_Case(Path("target.exe"), shortcuts[0]->Get("Target").As_String()));
}

TEST(NormalizeFolderPath, KeepsOnlyADriveRootsBackslash) {
    EXPECT_EQ("C:\\", Normalize_Folder_Path("C:"));
    EXPECT_EQ("C:\\", Normalize_Folder_Path("C:\\"));
    EXPECT_EQ("c:\\windows\\temp", Normalize_Folder_Path("c:\\windows\\temp\\"));
    EXPECT_EQ("c:\\windows", Normalize_Folder_Path("c:\\windows"));
}

}  // namespace
}  // namespace corvane::remote::win32
