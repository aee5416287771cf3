#include "periphery/update_check.h"

#include <gtest/gtest.h>

#include "base/open_url.h"
#include "base/reporter.h"
#include "support/fakes.h"
#include "support/test_database.h"
#include "support/window_fakes.h"

namespace corvane::periphery {
namespace {

TEST(UpdateCheck, VersionsAreComparedAsNumbersAfterTrimming) {
    const struct {
        const char* remote;
        const char* local;
        int order;  // against local: -1, 0, 1; 2 when remote is not a version
    } cases[] = {
        {"2.10.0", "2.9.0", 1},         {"1.10.0", "1.2.3", 1},    {"2.9.0", "2.10.0", -1}, {"1.2.3\r\n", "1.2.3", 0},
        {" 1.2.3 ", "1.2.3", 0},        {"1.2", "1.2.0", 0},       {"1.2.0.1", "1.2", 1},   {"", "1.0", 2},
        {"<html>404</html>", "1.0", 2}, {"1..2", "1.0", 2},        {"1.2.", "1.0", 2},      {"v1.2", "1.0", 2},
        {"1.2.3.4.5", "1.0", 2},        {"99999999999", "1.0", 2}, {"1.-2", "1.0", 2}};
    for (const auto& c : cases) {
        const auto remote = Parse_Version(c.remote);
        ASSERT_EQ(remote.has_value(), c.order != 2) << c.remote;
        if (remote) {
            EXPECT_EQ(Compare_Versions(*remote, *Parse_Version(c.local)), c.order <=> 0) << c.remote;
        }
    }
}

// A per-user setting reaches the shell only as an http or https address;
// anything else reads as the default and leaves one warning in the log.
TEST(WebAddresses, OnlyWebAddressesFromTheSettingsReachTheShell) {
    constexpr const char* kDefault = "https://www.corvane.example/";
    const struct {
        const char* stored;
        const char* homeSite;  // as loaded
    } cases[] = {
        {"https://mirror.example/corvane", "https://mirror.example/corvane/"},
        {"HTTP://Mirror.Example:8080/", "HTTP://Mirror.Example:8080/"},
        {"http://[::1]/a?b=c&d=%20", "http://[::1]/a?b=c&d=%20/"},
        {"", kDefault},  // not set
        {"file:///C:/Windows/System32/calc.exe", nullptr},
        {"C:\\Windows\\System32\\calc.exe", nullptr},
        {"\\\\server\\share\\run.exe", nullptr},
        {"ms-settings:", nullptr},
        {"javascript:alert(1)", nullptr},
        {"http:", nullptr},
        {"https:///path", nullptr},
        {"https://host/\" --flag\"", nullptr},
        {"https://host/a b", nullptr},
        {"https://host/\r\nx", nullptr},
        {"https://h\xC3\xB6st/", nullptr},
        {" https://host/", nullptr},
    };  // null: refused, the default is used
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        testing::TestDatabase t;  // for its reporter and log
        testing::FakeSettingsStore settings;
        for (const char* key : {"UpdateServer", "HomeSite", "Help"})
            settings.SaveSetting("WebAddresses", key, c.stored);

        const WebAddresses addresses = Load_Web_Addresses(settings, t.reporter);
        const bool refused = c.homeSite == nullptr;
        EXPECT_EQ(addresses.homeSite, refused ? kDefault : c.homeSite);
        const std::string logged = t.Log_Text();
        std::size_t warnings = 0;
        for (auto at = logged.find("W: "); at != std::string::npos; at = logged.find("W: ", at + 1)) ++warnings;
        EXPECT_EQ(warnings, refused ? 3u : 0u) << logged;  // one per setting
        testing::FakeShell shell;
        for (const std::string& page : {addresses.homeSite, addresses.Faq_Page(), addresses.Download_Page()}) {
            EXPECT_GT(Open_Web_Address(shell, page), 32);
        }
        EXPECT_EQ(Open_Web_Address(shell, c.stored), Is_Web_Address(c.stored) ? 42 : 0);
    }
}

}  // namespace
}  // namespace corvane::periphery
