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

TEST(GeneralOptions, MissingRowIsLoggedWithoutAMessageAndAnswersSafely) {
    TestDatabase t;
    ASSERT_TRUE(t.Run_Sql("DELETE FROM SETTINGS_TBL"));
    EXPECT_FALSE(IsGeneralOptionSet(t.db, GO_AUTOMATIC_FIXING));
    EXPECT_TRUE(IsGeneralOptionSet(t.db, GO_ABORT_FIXING));
    EXPECT_TRUE(t.messages.shown.empty());
    const std::string log = t.Log_Text();
    EXPECT_NE(log.find("E: 9: Subscript out of range"), std::string::npos);
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
