// Start-up and shutdown with the real Windows platform and clock under Wine;
// only the message box records instead of showing, so nothing blocks.
#include <gtest/gtest.h>

#include "app/application.h"
#include "base/file_path.h"
#include "base/win32/clock_win32.h"
#include "base/win32/platform_win32.h"
#include "base/win32/unique_any.h"
#include "db/database.h"
#include "support/fakes.h"
#include "support/temp_folder.h"
#include "support/test_database.h"

namespace corvane::win32 {
namespace {

using namespace corvane::testing;

// True when a mutex of that name exists (created here and closed again).
bool Mutex_Exists(const wchar_t* name) {
    unique_handle probe(::CreateMutexW(nullptr, FALSE, name));
    return ::GetLastError() == ERROR_ALREADY_EXISTS;
}

class Win32StartUp : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(Mutex_Exists(L"HNCorvane")) << "another Corvane runs in this Wine prefix";
        // The database must not be found in the system directory either.
        ASSERT_FALSE(platform.Normal_File_Exists(platform.System_Directory() + "\\" + kDatabaseFileName));
    }
    std::string Log() { return Read_File(platform.Program_Folder() + "\\app_win32_tests.log"); }

    TempFolder folder;
    Win32Platform platform{Path_Utf8(folder.Path())};
    Win32Clock clock;
    FakeMessageBox messages;
};

TEST_F(Win32StartUp, AnotherCopyHoldingTheMutexEndsMainSilently) {
    unique_handle otherCopy(::CreateMutexW(nullptr, FALSE, L"HNCorvane"));
    ASSERT_TRUE(otherCopy);
    {
        Application app(platform, clock, messages);
        bool shown = false;
        EXPECT_EQ(app.Main([&](Application&) { shown = true; }), Application::StartResult::AlreadyRunning);
        EXPECT_FALSE(shown);
    }
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "app_win32_tests.log"));
    otherCopy.reset();
    EXPECT_FALSE(Mutex_Exists(L"HNCorvane"));  // the second copy closed its own handle
}

TEST_F(Win32StartUp, MissingDatabaseGivesItsMessageAndOnlyTheStartBlock) {
    {
        Application app(platform, clock, messages);
        EXPECT_EQ(app.Main([](Application&) { FAIL(); }), Application::StartResult::DatabaseMissing);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text,
                  "Necessary file to run the program is not found! Please re-install the program.");
        EXPECT_EQ(messages.shown[0].icon, MsgIcon::Critical);
        EXPECT_EQ(messages.shown[0].title, "Corvane");
        EXPECT_EQ(::GetThreadLocale(), 1033u);
    }
    const std::string log = Log();
    const std::string expectedStart = std::string(100, '-') + "\r\nI: Started";
    EXPECT_EQ(log.substr(0, expectedStart.size()), expectedStart);
    EXPECT_NE(log.find("I: Path: " + platform.Program_Folder() + "\\app_win32_tests.exe "), std::string::npos);
    EXPECT_NE(log.find("I: " + Get_Version_String() + " "), std::string::npos);
    EXPECT_EQ(log.find("Stopped"), std::string::npos);
    EXPECT_EQ(log.find(std::string(100, '+')), std::string::npos);
}

TEST_F(Win32StartUp, NormalRunOpensTheDatabaseAndEndsInOrder) {
    Create_Installed_Database(folder.File(kDatabaseFileName));
    Application app(platform, clock, messages);
    EXPECT_EQ(app.Main([](Application& a) { a.Reports().Log_Event("window shown"); }),
              Application::StartResult::WindowShown);
    EXPECT_TRUE(app.Db().Is_Open());
    EXPECT_TRUE(Mutex_Exists(L"HNCorvane"));
    app.End_Program();
    EXPECT_FALSE(Mutex_Exists(L"HNCorvane"));
    EXPECT_FALSE(app.Db().Is_Open());
    EXPECT_TRUE(messages.shown.empty());
    const std::string log = Log();
    const auto started = log.find("I: Started");
    const auto shown = log.find("I: window shown");
    const auto stopped = log.find("I: Stopped");
    ASSERT_NE(stopped, std::string::npos);
    EXPECT_LT(started, shown);
    EXPECT_LT(shown, stopped);
    const std::string end = std::string(100, '+') + "\r\n";
    EXPECT_EQ(log.substr(log.size() - end.size()), end);
}

}  // namespace
}  // namespace corvane::win32
