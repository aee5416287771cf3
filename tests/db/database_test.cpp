#include "db/database.h"

#include <gtest/gtest.h>

#include "base/runtime_error.h"
#include "support/test_database.h"

namespace corvane {
namespace {

using testing::TestDatabase;

// Column names in row 0, then each row's text; a result without rows leaves
// nothing of the table it was given.
TEST(ExecuteQuery, RowsGiveNamesThenTextAndNoRowsNoDimensions) {
    TestDatabase t;
    std::string sql = "SELECT SETTINGS_ID, GENERAL_OPTIONS, EXTN FROM SETTINGS_TBL";
    ResultTable table;
    std::int32_t rows = -1;
    ASSERT_TRUE(t.db.Execute_Query(sql, table, rows, true));
    EXPECT_EQ(rows, 1);
    ASSERT_EQ(table.Row_Count(), 2u);
    EXPECT_EQ(table.Cell(0, 1), "GENERAL_OPTIONS");
    EXPECT_EQ(table.Cell(1, 0) + "|" + table.Cell(1, 2), "1|.tmp;");

    sql = "SELECT * FROM COMPUTER_TBL";
    ASSERT_TRUE(t.db.Execute_Query(sql, table, rows, true));
    EXPECT_EQ(rows, 0);
    EXPECT_FALSE(table.Has_Dimensions());
    EXPECT_THROW((void)table.Cell(0, 0), RuntimeError);
}

TEST(ExecuteQuery, FailingStatementIsReportedOnceAndLogged) {
    TestDatabase t;
    std::string sql = "SELEKT 1";
    ResultTable table;
    std::int32_t rows = 5;
    EXPECT_FALSE(t.db.Execute_Query(sql, table, rows, true));
    EXPECT_EQ(rows, 5);
    ASSERT_EQ(t.messages.shown.size(), 1u);
    EXPECT_NE(t.messages.shown[0].text.find("syntax error"), std::string::npos);
    EXPECT_EQ(t.messages.shown[0].icon, MsgIcon::Critical);
    const std::string log = t.Log_Text();
    EXPECT_EQ(log.find("E: "), 0u);
    EXPECT_EQ(log.find("E: ", 1), std::string::npos);
    EXPECT_NE(log.find(t.messages.shown[0].text), std::string::npos);
}

// Without a connection everything fails silently; only a database file that
// is missing is said.
TEST(OpenDatabase, WithoutConnectionNothingRunsAndAMissingFileIsSaid) {
    TestDatabase t;
    EXPECT_TRUE(t.db.Compact_Database());
    t.db.Close_Database();
    std::string sql = "SELECT 1";
    ResultTable table;
    std::int32_t rows = 3;
    EXPECT_FALSE(t.db.Execute_Query(sql, table, rows, true));
    EXPECT_FALSE(t.db.Compact_Database());
    EXPECT_EQ(rows, 3);
    EXPECT_FALSE(t.db.Open_Database(""));
    EXPECT_TRUE(t.messages.shown.empty());
    EXPECT_EQ(t.Log_Text(), "");
    EXPECT_FALSE(t.db.Open_Database(t.folder.File("nowhere/none.dll")));
    EXPECT_EQ(t.messages.shown.size(), 1u);
    EXPECT_FALSE(t.db.Is_Open());
}

}  // namespace
}  // namespace corvane
