// The update check through WinHTTP against the local update server that
// update_check_wine_test.sh starts (ports in the environment).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "periphery/update_check.h"
#include "periphery/win32/winhttp_client.h"
#include "support/fakes.h"

namespace corvane::periphery::win32 {
namespace {

struct ServerCase {
    const char* path;  // on the local server; "closed" is a port where nothing listens
    MsgIcon icon;      // Question: newer, Information: up to date, Exclamation: the check failed
};

class UpdateCheckAgainstServer : public ::testing::TestWithParam<ServerCase> {};

TEST_P(UpdateCheckAgainstServer, TellsNewerUpToDateOrFailed) {
    const ServerCase& c = GetParam();
    const bool closed = std::string(c.path) == "closed";
    const char* port = std::getenv(closed ? "CORVANE_TEST_CLOSED_PORT" : "CORVANE_TEST_HTTP_PORT");
    ASSERT_NE(port, nullptr) << "run through update_check_wine_test.sh";
    const WebAddresses addresses{.updateServer = "http://127.0.0.1:" + std::string(port) + "/" + c.path,
                                 .homeSite = "http://127.0.0.1/",
                                 .help = "http://127.0.0.1/"};
    WinHttpClient http;
    testing::FakeMessageBox messages;
    testing::FakeShell shell;
    Check_For_Updates(http, messages, shell, addresses, "2.9.0");

    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].icon, c.icon) << messages.shown[0].text;
    if (c.icon == MsgIcon::Question) {
        EXPECT_EQ(messages.shown[0].text,
                  "A new version (ver. 2.10.0) is available for download. Do you want to download the new version?");
        EXPECT_EQ(shell.opened, (std::vector<std::string>{addresses.Download_Page()}));
    } else {
        EXPECT_TRUE(shell.opened.empty());
    }
    if (c.icon == MsgIcon::Information) {
        EXPECT_EQ(messages.shown[0].text, "You are running the most recent version (ver. 2.9.0) of Corvane!");
    }
    if (c.icon == MsgIcon::Exclamation) {
        EXPECT_EQ(messages.shown[0].text, kUpdateFailedMessage);
    }
}

INSTANTIATE_TEST_SUITE_P(Answers, UpdateCheckAgainstServer, ::testing::Values(
    ServerCase{"newer", MsgIcon::Question}, ServerCase{"same", MsgIcon::Information},
    ServerCase{"same-newline", MsgIcon::Information}, ServerCase{"older", MsgIcon::Information},
    ServerCase{"empty", MsgIcon::Exclamation}, ServerCase{"html", MsgIcon::Exclamation},
    ServerCase{"missing", MsgIcon::Exclamation}, ServerCase{"closed", MsgIcon::Exclamation}));

}  // namespace
}  // namespace corvane::periphery::win32
