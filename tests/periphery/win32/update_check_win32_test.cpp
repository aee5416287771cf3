// The update check through WinHTTP against update_server.py's local server (ports in the environment).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "base/reporter.h"
#include "periphery/update_check.h"
#include "periphery/win32/winhttp_client.h"
#include "support/fakes.h"
#include "support/window_fakes.h"

namespace corvane::periphery::win32 {
namespace {

struct ServerCase {
    const char* path;     // on the local server; "closed" is a port where nothing listens
    const char* message;  // the one message shown
};

constexpr const char* kNewer =
    "A new version (ver. 2.10.0) is available for download. Do you want to download the new version?";
constexpr const char* kUpToDate = "You are running the most recent version (ver. 2.9.0) of Corvane!";

class UpdateCheckAgainstServer : public ::testing::TestWithParam<ServerCase> {};

TEST_P(UpdateCheckAgainstServer, TellsNewerUpToDateOrFailed) {
    const ServerCase& c = GetParam();
    const char* port =
        std::getenv(std::string(c.path) == "closed" ? "CORVANE_TEST_CLOSED_PORT" : "CORVANE_TEST_HTTP_PORT");
    ASSERT_NE(port, nullptr) << "run through update_server.py";
    testing::FakeSettingsStore settings;  // the server as an administrator would set it
    settings.SaveSetting("WebAddresses", "UpdateServer", "http://127.0.0.1:" + std::string(port) + "/" + c.path + "/");
    testing::FakeMessageBox messages;
    const WebAddresses addresses = Load_Web_Addresses(settings, Reporter(messages));
    WinHttpClient http;
    testing::FakeShell shell;
    Check_For_Updates(http, messages, shell, addresses, "2.9.0");

    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, c.message);
    EXPECT_EQ(shell.opened,
              c.message == kNewer ? std::vector<std::string>{addresses.Download_Page()} : std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Answers, UpdateCheckAgainstServer,
                         ::testing::Values(ServerCase{"newer", kNewer}, ServerCase{"same", kUpToDate},
                                           ServerCase{"older", kUpToDate},
                                           ServerCase{"empty", kUpdateFailedMessage.data()},
                                           ServerCase{"missing", kUpdateFailedMessage.data()},
                                           ServerCase{"closed", kUpdateFailedMessage.data()}));

}  // namespace
}  // namespace corvane::periphery::win32
