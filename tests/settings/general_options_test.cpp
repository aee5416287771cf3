#include "settings/general_options.h"

#include <gtest/gtest.h>

#include "db/app_tables.h"
#include "support/test_database.h"

namespace corvane {
namespace {

using testing::TestDatabase;

// Each option bit: what the installed database answers, and the safe answer
// given when the settings cannot be read (never fix or shut down unasked).
struct OptionBit {
    std::int32_t bit;
    bool installed;
    bool safe;
};
constexpr OptionBit kBits[] = {
    {GO_AUTOMATIC_FIXING, false, false}, {GO_REGISTRY_BACKUP, false, true}, {GO_RESTORE_POINT, true, true},
    {GO_SHUTDOWN, false, false},         {GO_SAFE_SCAN, true, true},        {GO_ABORT_FIXING, true, true},
};

TEST(GeneralOptions, InstalledDefaultsReadAfreshAtEveryTestAndSafeAnswersWhenUnreadable) {
    TestDatabase t;
    TestDatabase closed;
    closed.db.Close_Database();
    TestDatabase noRow;
    ASSERT_TRUE(noRow.Run_Sql("DELETE FROM SETTINGS_TBL"));
    // An options text that is no number would read as every bit clear.
    TestDatabase noNumber;
    ASSERT_TRUE(noNumber.Run_Sql("UPDATE SETTINGS_TBL SET GENERAL_OPTIONS='7 or 8'"));
    for (const OptionBit& row : kBits) {
        EXPECT_EQ(IsGeneralOptionSet(t.db, row.bit), row.installed) << row.bit;
        for (TestDatabase* unreadable : {&closed, &noRow, &noNumber}) {
            EXPECT_EQ(IsGeneralOptionSet(unreadable->db, row.bit), row.safe) << row.bit;
        }
    }
    EXPECT_NE(noNumber.Log_Text().find("E: 13: Type mismatch"), std::string::npos);
    // No connection: a message each time; a missing row: only the log.
    ASSERT_EQ(closed.messages.shown.size(), std::size(kBits));
    EXPECT_EQ(closed.messages.shown[0].text, "Error while reading Database!");
    EXPECT_EQ(closed.messages.shown[0].icon, MsgIcon::Critical);
    EXPECT_TRUE(noRow.messages.shown.empty());
    EXPECT_NE(noRow.Log_Text().find("E: 9: Subscript out of range"), std::string::npos);

    // The installed answers turned over, each read at once.
    ASSERT_TRUE(Save_Settings(t.db, GO_AUTOMATIC_FIXING | GO_REGISTRY_BACKUP | GO_SHUTDOWN, ""));
    for (const OptionBit& row : kBits) EXPECT_EQ(IsGeneralOptionSet(t.db, row.bit), !row.installed) << row.bit;
}

}  // namespace
}  // namespace corvane
