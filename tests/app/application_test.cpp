#include "app/application.h"

#include <gtest/gtest.h>

#include <set>

#include "base/file_path.h"
#include "base/text.h"
#include "db/password_codec.h"
#include "db/scramble.h"
#include "support/fakes.h"
#include "support/test_database.h"

namespace corvane {
namespace {

using namespace corvane::testing;

class StartUp : public ::testing::Test {
protected:
    StartUp() {
        // On Windows these are real folders; on the host the "\"-joined names
        // become files inside the scratch folder, which is as good for these tests.
        std::filesystem::create_directories(folder.Path() / "prog");
        std::filesystem::create_directories(folder.Path() / "sys");
        platform.programFolder = Path_Utf8(folder.Path() / "prog");
        platform.systemDirectory = Path_Utf8(folder.Path() / "sys");
    }
    std::string Log() const { return Read_File(platform.programFolder + "\\Corvane.log"); }

    TempFolder folder;
    FakePlatform platform;
    FakeClock clock;
    FakeMessageBox messages;
    Application app{platform, clock, messages};
    // The database beside the program, and the pristine copy it is made from.
    std::string database = Path_Utf8(folder.Path() / "prog") + "\\nwcvninfo.dll";
    std::string pristine = Path_Utf8(folder.Path() / "prog") + "\\nwcvninfo.default";
};

TEST_F(StartUp, SecondCopyEndsSilently) {
    platform.heldMutexes.insert("HNCorvane");
    bool shown = false;
    EXPECT_EQ(app.Main([&](Application&) { shown = true; }), Application::StartResult::AlreadyRunning);
    EXPECT_FALSE(shown);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(platform.mutexReleases, 1);
    EXPECT_EQ(Log(), "");
}

TEST_F(StartUp, MissingDatabaseShowsItsMessageAndLeavesOnlyTheStartBlock) {
    EXPECT_EQ(app.Main([](Application&) { FAIL(); }), Application::StartResult::DatabaseMissing);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, kDatabaseMissingMessage);
    EXPECT_EQ(messages.shown[0].icon, MsgIcon::Critical);
    const std::string log = Log();
    EXPECT_TRUE(log.starts_with(std::string(100, '-') + "\r\nI: Started "));
    EXPECT_NE(log.find("I: Path: " + platform.programFolder + "\\Corvane.exe "), std::string::npos);
    EXPECT_NE(log.find("I: " + Get_Version_String() + " "), std::string::npos);
    EXPECT_EQ(log.find("Stopped"), std::string::npos);
}

// Where the database is taken from: the program folder, then the system
// directory, and only when neither holds one a copy of the pristine database
// next to the program, which never replaces a database.
TEST_F(StartUp, DatabaseIsFoundInOrderAndMadeFromThePristineCopyOnlyWhenMissing) {
    const std::string inSystem = platform.systemDirectory + "\\nwcvninfo.dll";
    Create_Installed_Database(pristine);
    const struct {
        std::set<std::string> existing;
        std::string found;
        bool created;
    } cases[] = {{{database, inSystem, pristine}, database, false},
                 {{inSystem, pristine}, inSystem, false},
                 {{database}, database, false},
                 {{pristine}, database, true},
                 {{}, "", false}};
    Reporter reporter(messages);
    for (const auto& c : cases) {
        std::filesystem::remove(Utf8_Path(database));
        platform.existingFiles = c.existing;
        EXPECT_EQ(Find_Or_Create_Database(platform, reporter), c.found) << c.existing.size();
        EXPECT_EQ(std::filesystem::exists(Utf8_Path(database)), c.created) << c.existing.size();
    }
    // A copy the platform refuses (a database appeared meanwhile) gives none.
    Write_File(database, "live");
    platform.existingFiles = {pristine};
    EXPECT_EQ(Find_Or_Create_Database(platform, reporter), "");
}

// A first start: the database made from the pristine copy, the passwords an
// older version left scrambled in it protected as soon as it opens (not at
// the computer's next save), then the start and stop blocks of the log in order.
TEST_F(StartUp, FirstRunMakesTheDatabaseProtectsOlderPasswordsAndLogsStartAndStopInOrder) {
    Create_Installed_Database(pristine);
    {
        Reporter quiet(messages);
        Database older(quiet);
        ASSERT_TRUE(older.Open_Database(pristine));
        ASSERT_TRUE(Run_Sql(older, "INSERT INTO COMPUTER_TBL (CMP_NAME,CMP_USERNAME,CMP_PASSWORD) VALUES('PC','','" +
                                       Double_Quotes_Sql(Scramble_Text("pw")) + "')"));
    }
    platform.existingFiles = {pristine};
    FakeDataProtection protection;
    PasswordCodec passwords(protection, app.Reports());
    app.Db().Attach_Password_Codec(&passwords);
    int unloads = 0;
    app.Set_Unload_All_Forms([&] { ++unloads; });
    EXPECT_EQ(app.Main([](Application& a) { a.Reports().Log_Event("window shown"); }),
              Application::StartResult::WindowShown);
    app.End_Program();
    EXPECT_EQ(unloads, 1);
    EXPECT_FALSE(app.Db().Is_Open());
    EXPECT_EQ(platform.mutexReleases, 1);
    const std::string log = Log();
    EXPECT_NE(log.find("I: Database created from " + pristine + ": " + database), std::string::npos);
    const auto started = log.find("I: Started");
    const auto protectedNow = log.find("I: 1 stored passwords of an older version are now protected.");
    const auto shown = log.find("I: window shown");
    const auto stopped = log.find("I: Stopped");
    ASSERT_NE(stopped, std::string::npos);
    EXPECT_LT(started, protectedNow);
    EXPECT_LT(protectedNow, shown);
    EXPECT_LT(shown, stopped);
    EXPECT_TRUE(log.ends_with(std::string(100, '+') + "\r\n"));
    EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace corvane
