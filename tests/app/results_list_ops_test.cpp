#include "base/ui/results_list_ops.h"
#include "app/results_list_exceptions.h"

#include <gtest/gtest.h>

#include "base/ui/results_list.h"
#include "db/app_tables.h"
#include "support/result_rows.h"
#include "support/test_database.h"

namespace corvane {
namespace {

using namespace corvane::testing;

class Rows : public ::testing::Test {
protected:
    Rows() {
        Add_Header_Row(list, "fA", "PC17", "[Help Files]");
        Add_Registry_Row(list, 0, "a.hlp", "SOFTWARE\\Microsoft\\Windows\\Help", "PC17");
        Add_Registry_Row(list, 1, "b.hlp", "SOFTWARE\\Microsoft\\Windows\\Help", "PC17");
        Add_Error_Row(list, "PC18", "Access Denied");
        Add_Header_Row(list, "dA", "PC17", "[Mini Dump Files]");
        Add_File_Row(list, 2, "C:\\Windows\\Minidump\\x.dmp", "PC17");
    }
    ResultsList list;
};

TEST_F(Rows, HeaderPropagationStopsAtTheNextNonProblemRowAndNeverTouchesErrorRows) {
    EXPECT_EQ(Set_Row_Checked(list, 0, false), 3u);
    EXPECT_FALSE(list.Row(1).checked);
    EXPECT_FALSE(list.Row(2).checked);
    EXPECT_TRUE(list.Row(3).checked);  // error row
    EXPECT_TRUE(list.Row(4).checked);  // next header
    EXPECT_TRUE(list.Row(5).checked);

    EXPECT_EQ(Set_Row_Checked(list, 1, true), 1u);  // a problem row changes only itself
    EXPECT_FALSE(list.Row(0).checked);
    EXPECT_FALSE(list.Row(2).checked);

    EXPECT_EQ(Set_Row_Checked(list, 3, false), 1u);  // an error row is not a header
    EXPECT_TRUE(list.Row(4).checked);
}

TEST_F(Rows, CountingSkipsHeadersErrorsFixedAndUncheckedRows) {
    EXPECT_EQ(Count_Unfixed_Problems(list), 3);
    EXPECT_EQ(Count_Checked_Unfixed_Problems(list), 3);
    list.Row(1).problem->fixed = true;
    list.Row(5).checked = false;
    EXPECT_EQ(Count_Unfixed_Problems(list), 2);
    EXPECT_EQ(Count_Checked_Unfixed_Problems(list), 1);
}

TEST(ClipboardText, AnEmptyLineBeforeEachHeaderAndEveryCellQuoted) {
    ResultsList list;
    EXPECT_EQ(Results_Clipboard_Text(list), "");
    Add_Header_Row(list, "fA", "PC17", "[Help Files]").status = "2 Problems Found";
    Add_Registry_Row(list, 0, "a.hlp", "SOFTWARE\\Help", "PC17");
    Add_Registry_Row(list, 1, "say \"hi\"", "SOFTWARE\\Help", "PC17");
    Add_Error_Row(list, "PC18", "Access Denied");
    EXPECT_EQ(Results_Clipboard_Text(list),
              "\r\n"
              "\"[Help Files]\",\"PC17\",\"2 Problems Found\",\"\"\r\n"
              "\"a.hlp\",\"\",\"The file does not exist\",\"HKEY_LOCAL_MACHINE\\SOFTWARE\\Help\"\r\n"
              "\"say \"\"hi\"\"\",\"\",\"The file does not exist\",\"HKEY_LOCAL_MACHINE\\SOFTWARE\\Help\"\r\n");
}

TEST_F(Rows, RegistryKeyOfRowAndOwnerComputer) {
    EXPECT_EQ(Registry_Key_Of_Row(list, 1), "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\Help");
    EXPECT_EQ(Registry_Key_Of_Row(list, 0), "");
    EXPECT_EQ(Registry_Key_Of_Row(list, 5), "");
    list.Row(1).problem->registry.root = 0x80000003u;
    EXPECT_EQ(Registry_Key_Of_Row(list, 1), "HKEY_USERS\\SOFTWARE\\Microsoft\\Windows\\Help");
    list.Row(1).problem->registry.root = 7;
    EXPECT_EQ(Registry_Key_Of_Row(list, 1), "\\SOFTWARE\\Microsoft\\Windows\\Help");
    EXPECT_TRUE(Row_Belongs_To(list, 2, "PC17"));
    EXPECT_FALSE(Row_Belongs_To(list, 2, "PC1"));
    EXPECT_FALSE(Row_Belongs_To(list, 0, "PC17"));
}

class ExceptionCommand : public ::testing::Test {
protected:
    std::vector<std::string> Stored() {
        return Query_Column(t.db, "SELECT REGISTRY_KEY FROM EXCEPTION_TBL WHERE EXCEPTION_TYPE=2 ORDER BY EXP_ID");
    }
    void Select_All() {
        for (std::size_t i = 0; i < list.Count(); ++i) list.Row(i).selected = true;
    }
    TestDatabase t;
    ResultsList list;
};

TEST_F(ExceptionCommand, ThreeSelectedRegistryRowsAreStoredAndRemovedOnceOnly) {
    const auto before = Stored();
    Add_Header_Row(list, "fA", "PC17", "[Help Files]");
    Add_Registry_Row(list, 0, "a.hlp", "SOFTWARE\\Help", "PC17");
    Add_Registry_Row(list, 1, "b.hlp", "SOFTWARE\\Help", "PC17");
    Add_Registry_Row(list, 2, "c.hlp", "SOFTWARE\\Help", "PC17");
    Select_All();
    EXPECT_EQ(Add_Selected_To_Exception_List(list, t.db, t.reporter), 3u);
    ASSERT_EQ(list.Count(), 1u);  // the header stays
    EXPECT_EQ(list.Row(0).key, "fAPC17");
    auto after = Stored();
    ASSERT_EQ(after.size(), before.size() + 3);
    EXPECT_EQ(after[before.size()], "HKEY_LOCAL_MACHINE\\SOFTWARE\\Help\\a.hlp");
    EXPECT_EQ(after.back(), "HKEY_LOCAL_MACHINE\\SOFTWARE\\Help\\c.hlp");
    ASSERT_EQ(t.messages.shown.size(), 1u);
    EXPECT_EQ(t.messages.shown[0].text, kAddToExceptionQuestion);

    // The same texts again: nothing new is stored and the rows stay.
    Add_Registry_Row(list, 3, "a.hlp", "SOFTWARE\\Help", "PC17");
    Add_Registry_Row(list, 4, "b.hlp", "SOFTWARE\\Help", "PC17");
    Select_All();
    EXPECT_EQ(Add_Selected_To_Exception_List(list, t.db, t.reporter), 0u);
    EXPECT_EQ(list.Count(), 3u);
    EXPECT_EQ(Stored().size(), after.size());
}

TEST_F(ExceptionCommand, OnlySelectedProblemRowsCountAndNoEndsTheCommand) {
    const auto before = Stored();
    Add_Header_Row(list, "dA", "PC17", "[Mini Dump Files]");
    Add_File_Row(list, 0, "C:\\dumps\\one.dmp", "PC17");
    Add_File_Row(list, 1, "C:\\dumps\\two.dmp", "PC17");
    Add_Error_Row(list, "PC18", "Access Denied");
    list.Row(0).selected = true;
    list.Row(2).selected = true;
    list.Row(3).selected = true;
    t.messages.Queue_Answer(MsgResult::No);
    EXPECT_EQ(Add_Selected_To_Exception_List(list, t.db, t.reporter), 0u);
    EXPECT_EQ(list.Count(), 4u);
    EXPECT_EQ(Add_Selected_To_Exception_List(list, t.db, t.reporter), 1u);
    EXPECT_EQ(list.Count(), 3u);
    EXPECT_EQ(list.Find("c1"), list.Count());
    EXPECT_EQ(Stored().back(), "C:\\dumps\\two.dmp");
    EXPECT_EQ(Stored().size(), before.size() + 1);
}

TEST_F(ExceptionCommand, TwoHundredFiftyFiveCharactersAreStoredTwoHundredFiftySixAreRefused) {
    const std::string key = "SOFTWARE\\";
    const std::string prefix = "HKEY_LOCAL_MACHINE\\" + key + "\\";
    const std::string fits(255 - prefix.size(), 'v');
    const std::string tooLong(256 - prefix.size(), 'w');
    Add_Registry_Row(list, 0, tooLong, key, "PC17");
    Add_Registry_Row(list, 1, fits, key, "PC17");
    Select_All();
    EXPECT_EQ(Add_Selected_To_Exception_List(list, t.db, t.reporter), 1u);
    ASSERT_EQ(list.Count(), 1u);
    EXPECT_EQ(list.Row(0).key, "s0");
    EXPECT_EQ(Stored().back(), prefix + fits);
    ASSERT_EQ(t.messages.shown.size(), 2u);
    EXPECT_EQ(t.messages.shown[1].text,
              "Maximum number of characters that can be added to the exception list is 255!\r\n\r\n"
              "Data not added to Exception list.");
}

TEST_F(ExceptionCommand, ADatabaseFailureStopsTheWalkAndKeepsTheRestOfTheRows) {
    Add_Registry_Row(list, 0, "a.hlp", "SOFTWARE\\Help", "PC17");
    Add_Registry_Row(list, 1, "b.hlp", "SOFTWARE\\Help", "PC17");
    Select_All();
    t.db.Close_Database();
    EXPECT_EQ(Add_Selected_To_Exception_List(list, t.db, t.reporter), 0u);
    EXPECT_EQ(list.Count(), 2u);
    ASSERT_EQ(t.messages.shown.size(), 2u);
    EXPECT_EQ(t.messages.shown[1].icon, MsgIcon::Critical);
}

}  // namespace
}  // namespace corvane
