// The Win32 ports: one local registry value read natively for the
// string-value read, and directory listings for the fast existence tests.
#include <gtest/gtest.h>

#include <filesystem>

#include "remote/local_registry.h"
#include "remote/share_walk.h"
#include "remote/win32/native_ports.h"
#include "win32_test_support.h"

namespace corvane::remote::win32 {
namespace {

using testing::kCurrentUser;
using wmi::Variant;

class LocalValue : public testing::ScratchKeyTest {
protected:
    Variant Read(std::string_view name, const Variant& defaultValue = {}) {
        return Query_Local_Value(registry_, kCurrentUser, Full(""), name, defaultValue);
    }
    NativeLocalRegistry registry_;
};

// The port hands over the stored bytes and type (their decoding is portable
// and tested on every build); a value past the first buffer is read whole.
TEST_F(LocalValue, ReadsTheStoredBytesOrGivesTheDefault) {
    Write_Text("", "Text", L"C:\\Windows\\notepad.exe");
    Write_Dword("", "Number", 0xFFFFFFFFu);
    Write_Text("", "Long", std::wstring(1500, L'y'));
    EXPECT_EQ("C:\\Windows\\notepad.exe", Read("Text").As_String());
    EXPECT_EQ(-1, Read("Number").As_Int32());
    EXPECT_EQ(1500u, Read("Long").As_String().size());

    EXPECT_TRUE(Read("Absent").Is_Empty());
    EXPECT_EQ("fallback", Read("Absent", Variant("fallback")).As_String());
    EXPECT_EQ("fallback",
              Query_Local_Value(registry_, kCurrentUser, Full("NoSuchKey"), "Text", Variant("fallback")).As_String());
}

// A key kept open between two reads answers as a fresh opening would, also
// once deleted, or deleted and made again, in between.
TEST_F(LocalValue, AKeptKeyReadsWhatAFreshOpeningWould) {
    registry_.Keep_Last_Key(true);
    Write_Text("", "Text", L"one");
    EXPECT_EQ("one", Read("Text").As_String());
    Remove();
    Write_Text("", "Text", L"made again");
    EXPECT_EQ("made again", Read("Text").As_String());
    Remove();
    EXPECT_TRUE(Read("Text").Is_Empty());
}

class ShareListing : public testing::ScratchFolderTest {
protected:
    NativeShareLister lister_;
};

TEST_F(ShareListing, FindsFilesAndFoldersByTheMask) {
    Make_File("plain.dll");
    Make_File("secret.dat");
    SetFileAttributesW(Widen(Path("secret.dat")).c_str(), FILE_ATTRIBUTE_HIDDEN);
    Make_Folder("Folder");

    EXPECT_EQ(ListingResult::Found, lister_.Find(Path("plain.dll"), kListFiles));
    EXPECT_EQ(ListingResult::Found, lister_.Find(Path("secret.dat"), kListFiles));
    EXPECT_EQ(ListingResult::NotFound, lister_.Find(Path("secret.dat"), 0)) << "hidden needs its attribute bit";
    EXPECT_EQ(ListingResult::NotFound, lister_.Find(Path("Folder"), kListFiles));
    EXPECT_EQ(ListingResult::Found, lister_.Find(Path("Folder"), kListEverything));
    EXPECT_EQ(ListingResult::Found, lister_.Find(Path("Folder") + "\\", kListEverything));
    EXPECT_EQ(ListingResult::Found, lister_.Find("C:\\", kListEverything));
}

TEST_F(ShareListing, TellsAMissingFileFromAnUnavailableShare) {
    EXPECT_EQ(ListingResult::NotFound, lister_.Find(Path("absent.dll"), kListFiles));
    EXPECT_EQ(ListingResult::NotFound, lister_.Find(Path("NoFolder\\absent.dll"), kListFiles));
    // Wine has no administrative shares: never "missing", always "unavailable".
    NativeLocalSystem local;
    EXPECT_EQ(ListingResult::Unavailable,
              lister_.Find("\\\\" + local.Computer_Name() + "\\C$\\Windows\\notepad.exe", kListFiles));
    EXPECT_EQ(ListingResult::Unavailable, lister_.Find("\\\\localhost\\C$\\", kListEverything));
    EXPECT_EQ(ListingResult::Unavailable, lister_.Find("Q:\\nothing.txt", kListFiles));
    // Wine answers "file not found" for these; the server does not exist.
    EXPECT_EQ(ListingResult::Unavailable, lister_.Find("\\\\NOSUCHHOST\\C$\\", kListEverything));
    EXPECT_EQ(ListingResult::Unavailable, lister_.Find("\\\\NOSUCHHOST\\C$\\Temp\\", kListEverything));
}

// The checked deletion through a handle on real files: only the entry seen
// (its identity), only below its start folder, a folder only when empty.
TEST_F(ShareListing, DeletesThroughAHandleOnlyTheEntryItSaw) {
    enum class Change { None, Replace, Remove };  // after the identity was read
    struct Case {
        const char* name;
        const char* entry;
        Change change;
        DeleteOutcome outcome;
    };
    const Case cases[] = {
        {"unchanged file", "Sub\\a.tmp", Change::None, DeleteOutcome::Deleted},
        {"empty folder", "Sub\\Empty", Change::None, DeleteOutcome::Deleted},
        {"folder with content", "Sub", Change::None, DeleteOutcome::NotEmpty},
        {"replaced by another file", "Sub\\a.tmp", Change::Replace, DeleteOutcome::IdentityDiffers},
        {"already gone", "Sub\\a.tmp", Change::Remove, DeleteOutcome::Gone},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Make_Folder("Sub");
        Make_Folder("Sub\\Empty");
        Make_File("Sub\\a.tmp");
        ListedEntry seen;
        ASSERT_EQ(ListingResult::Found, lister_.Entry_Of(Path(c.entry), seen));
        ASSERT_TRUE(seen.identity.known);
        // The other file exists before the first goes: under Wine a file ID is
        // the host's inode number, which a file made after a deletion may reuse.
        if (c.change == Change::Replace) Make_File("Sub\\b.tmp");
        if (c.change != Change::None) {
            ASSERT_TRUE(DeleteFileW(Widen(Path("Sub\\a.tmp")).c_str()));
        }
        if (c.change == Change::Replace) {
            ASSERT_TRUE(MoveFileW(Widen(Path("Sub\\b.tmp")).c_str(), Widen(Path("Sub\\a.tmp")).c_str()));
        }
        const DeleteResult result = lister_.Delete_Checked(Path(c.entry), Path("Sub"), seen.identity);
        EXPECT_EQ(c.outcome, result.outcome) << Delete_Outcome_Text(result);
        EXPECT_EQ(c.outcome == DeleteOutcome::Deleted || c.outcome == DeleteOutcome::Gone, !Exists(c.entry));
        std::filesystem::remove_all(folder_.Path() / "Sub");
    }
    Make_File("outside.tmp");
    ListedEntry outside;
    ASSERT_EQ(ListingResult::Found, lister_.Entry_Of(Path("outside.tmp"), outside));
    EXPECT_EQ(DeleteOutcome::OutsideStart,
              lister_.Delete_Checked(Path("outside.tmp"), Path("Sub"), outside.identity).outcome);
}

TEST(ListingRoot, IsTheShareOrTheDrive) {
    EXPECT_EQ("\\\\PC07\\C$\\", Listing_Root("\\\\PC07\\C$\\Windows\\x.dll"));
    EXPECT_EQ("\\\\PC07\\C$\\", Listing_Root("\\\\PC07\\C$"));
    EXPECT_EQ("C:\\", Listing_Root("C:\\Temp"));
    EXPECT_EQ("", Listing_Root("relative\\x"));
}

}  // namespace
}  // namespace corvane::remote::win32
