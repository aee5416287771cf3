#include "settings/general_options.h"

#include <gtest/gtest.h>

#include "db/app_tables.h"
#include "support/test_database.h"

namespace corvane {
namespace {

using testing::TestDatabase;

TEST(GeneralOptions, BitsAreReadAfreshAtEveryTest) {
    TestDatabase t;
    ASSERT_TRUE(Save_Settings(t.db, GO_AUTOMATIC_FIXING | GO_SHUTDOWN, ""));
    EXPECT_TRUE(IsGeneralOptionSet(t.db, GO_AUTOMATIC_FIXING));
    EXPECT_FALSE(IsGeneralOptionSet(t.db, GO_SAFE_SCAN));
    ASSERT_TRUE(Save_Settings(t.db, GO_SAFE_SCAN, ""));
    EXPECT_FALSE(IsGeneralOptionSet(t.db, GO_AUTOMATIC_FIXING));
    EXPECT_TRUE(IsGeneralOptionSet(t.db, GO_SAFE_SCAN));
}

TEST(GeneralOptions, SetOptionBitKeepsUnknownBits) {
    std::int32_t mask = 16 | 128;
    Set_Option_Bit(mask, GO_AUTOMATIC_FIXING, true);
    Set_Option_Bit(mask, GO_SAFE_SCAN, false);
    Set_Option_Bit(mask, GO_RESTORE_POINT, true);
    EXPECT_EQ(mask, 16 | 128 | 1 | 4);
    Set_Option_Bit(mask, GO_AUTOMATIC_FIXING, false);
    EXPECT_EQ(mask, 16 | 128 | 4);
}

TEST(GeneralOptions, NoConnectionShowsTheMessageAndAnswersSafely) {
    TestDatabase t;
    t.db.Close_Database();
    EXPECT_FALSE(IsGeneralOptionSet(t.db, GO_AUTOMATIC_FIXING));
    EXPECT_FALSE(IsGeneralOptionSet(t.db, GO_SHUTDOWN));
    EXPECT_TRUE(IsGeneralOptionSet(t.db, GO_RESTORE_POINT));
    EXPECT_TRUE(IsGeneralOptionSet(t.db, GO_SAFE_SCAN));
    EXPECT_TRUE(IsGeneralOptionSet(t.db, GO_ABORT_FIXING));
    ASSERT_EQ(t.messages.shown.size(), 5u);
    EXPECT_EQ(t.messages.shown[0].text, "Error while reading Database!");
    EXPECT_EQ(t.messages.shown[0].icon, MsgIcon::Critical);
}

// A missing row, or one whose options text is no number (all bits would read
// as clear: automatic fixing off but also no restore point and fast scans),
// answers every bit with its safe value and logs why.
TEST(GeneralOptions, UnreadableRowIsLoggedWithoutAMessageAndAnswersSafely) {
    for (const auto& [sql, logged] :
         {std::pair{"DELETE FROM SETTINGS_TBL", "E: 9: Subscript out of range"},
          std::pair{"UPDATE SETTINGS_TBL SET GENERAL_OPTIONS='lots'", "E: 13: Type mismatch"},
          std::pair{"UPDATE SETTINGS_TBL SET GENERAL_OPTIONS='7 or 8'", "E: 13: Type mismatch"}}) {
        TestDatabase t;
        ASSERT_TRUE(t.Run_Sql(sql));
        EXPECT_FALSE(IsGeneralOptionSet(t.db, GO_AUTOMATIC_FIXING)) << sql;
        EXPECT_FALSE(IsGeneralOptionSet(t.db, GO_SHUTDOWN)) << sql;
        EXPECT_TRUE(IsGeneralOptionSet(t.db, GO_ABORT_FIXING)) << sql;
        EXPECT_TRUE(IsGeneralOptionSet(t.db, GO_RESTORE_POINT)) << sql;
        EXPECT_TRUE(IsGeneralOptionSet(t.db, GO_SAFE_SCAN)) << sql;
        EXPECT_TRUE(t.messages.shown.empty()) << sql;
        EXPECT_NE(t.Log_Text().find(logged), std::string::npos) << sql;
    }
}

TEST(GeneralOptions, InstalledDefaultsAreTheSafeOnes) {
    TestDatabase t;
    EXPECT_FALSE(IsGeneralOptionSet(t.db, GO_AUTOMATIC_FIXING));
    EXPECT_TRUE(IsGeneralOptionSet(t.db, GO_SAFE_SCAN));
    EXPECT_TRUE(IsGeneralOptionSet(t.db, GO_RESTORE_POINT));
    EXPECT_TRUE(IsGeneralOptionSet(t.db, GO_ABORT_FIXING));
    EXPECT_FALSE(IsGeneralOptionSet(t.db, GO_SHUTDOWN));
}

}  // namespace
}  // namespace corvane
