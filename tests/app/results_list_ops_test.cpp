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

// The rows' keys, in list order.
std::vector<std::string> Keys(const ResultsList& list) {
    std::vector<std::string> keys;
    for (std::size_t i = 0; i < list.Count(); ++i) keys.push_back(list.Row(i).key);
    return keys;
}

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
    // One mark per row: 1 checked, 0 not.
    std::string Checks() const {
        std::string marks;
        for (std::size_t i = 0; i < list.Count(); ++i) marks += list.Row(i).checked ? '1' : '0';
        return marks;
    }
    ResultsList list;
};

TEST_F(Rows, HeaderPropagationStopsAtTheNextNonProblemRowAndNeverTouchesErrorRows) {
    EXPECT_EQ(Set_Row_Checked(list, 0, false), 3u);
    EXPECT_EQ(Checks(), "000111");                  // the error row and the next header keep theirs
    EXPECT_EQ(Set_Row_Checked(list, 1, true), 1u);  // a problem row changes only itself
    EXPECT_EQ(Checks(), "010111");
    EXPECT_EQ(Set_Row_Checked(list, 3, false), 1u);  // an error row is not a header
    EXPECT_EQ(Checks(), "010011");
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
    EXPECT_TRUE(Row_Belongs_To(list, 2, "PC17"));
    EXPECT_FALSE(Row_Belongs_To(list, 2, "PC1"));
    EXPECT_FALSE(Row_Belongs_To(list, 0, "PC17"));
}

class ExceptionCommand : public ::testing::Test {
protected:
    // The list's exceptions in the order stored (a fresh database has none).
    std::vector<std::string> Stored() {
        return Query_Column(t.db, "SELECT REGISTRY_KEY FROM EXCEPTION_TBL WHERE EXCEPTION_TYPE=2 ORDER BY EXP_ID");
    }
    void Select_All() {
        for (std::size_t i = 0; i < list.Count(); ++i) list.Row(i).selected = true;
    }
    TestDatabase t;
    ResultsList list;
};

TEST_F(ExceptionCommand, SelectedProblemRowsAreStoredOnceAndLeaveTheListAfterOneQuestion) {
    Add_Header_Row(list, "fA", "PC17", "[Help Files]");
    Add_Registry_Row(list, 0, "a.hlp", "SOFTWARE\\Help", "PC17");
    Add_Registry_Row(list, 1, "b.hlp", "SOFTWARE\\Help", "PC17");
    Add_Registry_Row(list, 2, "b.hlp", "SOFTWARE\\Help", "PC17");  // the same text again: stays
    Add_Error_Row(list, "PC18", "Access Denied");
    Add_File_Row(list, 3, "C:\\dumps\\one.dmp", "PC17");
    list.Row(1).selected = true;
    t.messages.Queue_Answer(MsgResult::No);  // No ends the command
    EXPECT_EQ(Add_Selected_To_Exception_List(list, t.db, t.reporter), 0u);
    EXPECT_EQ(list.Count(), 6u);

    Select_All();
    list.Row(1).selected = false;
    EXPECT_EQ(Add_Selected_To_Exception_List(list, t.db, t.reporter), 2u);
    EXPECT_EQ(Keys(list), (std::vector<std::string>{"fAPC17", "s0", "s2", "ePC18"}));
    EXPECT_EQ(Stored(), (std::vector<std::string>{"HKEY_LOCAL_MACHINE\\SOFTWARE\\Help\\b.hlp", "C:\\dumps\\one.dmp"}));
    ASSERT_EQ(t.messages.shown.size(), 2u);
    EXPECT_EQ(t.messages.shown[1].text, kAddToExceptionQuestion);
}

TEST_F(ExceptionCommand, TwoHundredFiftyFiveCharactersAreStoredTwoHundredFiftySixAreRefused) {
    const std::string key = "SOFTWARE\\";
    const std::string prefix = "HKEY_LOCAL_MACHINE\\" + key + "\\";
    const std::string fits(255 - prefix.size(), 'v');
    Add_Registry_Row(list, 0, std::string(256 - prefix.size(), 'w'), key, "PC17");
    Add_Registry_Row(list, 1, fits, key, "PC17");
    Select_All();
    EXPECT_EQ(Add_Selected_To_Exception_List(list, t.db, t.reporter), 1u);
    EXPECT_EQ(Keys(list), std::vector<std::string>{"s0"});
    EXPECT_EQ(Stored(), std::vector<std::string>{prefix + fits});
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
