#include "periphery/update_check.h"

#include <gtest/gtest.h>

#include "support/fakes.h"
#include "support/window_fakes.h"

namespace corvane::periphery {
namespace {

TEST(UpdateCheck, VersionsAreComparedAsNumbersAfterTrimming) {
    const struct {
        const char* remote;
        const char* local;
        int order;  // against local: -1, 0, 1; 2 when remote is not a version
    } cases[] = {{"2.10.0", "2.9.0", 1}, {"1.10.0", "1.2.3", 1}, {"2.9.0", "2.10.0", -1}, {"1.2.3\r\n", "1.2.3", 0},
                 {" 1.2.3 ", "1.2.3", 0}, {"1.2", "1.2.0", 0}, {"1.2.0.1", "1.2", 1}, {"", "1.0", 2},
                 {"<html>404</html>", "1.0", 2}, {"1..2", "1.0", 2}, {"1.2.", "1.0", 2}, {"v1.2", "1.0", 2},
                 {"1.2.3.4.5", "1.0", 2}, {"99999999999", "1.0", 2}, {"1.-2", "1.0", 2}};
    for (const auto& c : cases) {
        const auto remote = Parse_Version(c.remote);
        ASSERT_EQ(remote.has_value(), c.order != 2) << c.remote;
        if (remote) {
            EXPECT_EQ(Compare_Versions(*remote, *Parse_Version(c.local)), c.order <=> 0) << c.remote;
        }
    }
}

class ScriptedHttp final : public IHttpClient {
public:
    HttpResponse Get(std::string_view url) override {
        urls.emplace_back(url);
        return {.status = 200, .body = "2.10.0"};
    }
    std::vector<std::string> urls;
};

TEST(UpdateCheck, AsksTheConfiguredServerAndOffersTheConfiguredDownloadPage) {
    testing::FakeSettingsStore settings;
    settings.SaveSetting("WebAddresses", "UpdateServer", "http://127.0.0.1:8080/cases/newer/");
    settings.SaveSetting("WebAddresses", "HomeSite", "https://mirror.example");
    ScriptedHttp http;
    testing::FakeMessageBox messages;
    testing::FakeShell shell;
    Check_For_Updates(http, messages, shell, Load_Web_Addresses(settings), "2.9.0");
    EXPECT_EQ(http.urls,
              (std::vector<std::string>{"http://127.0.0.1:8080/cases/newer/fns/genfns.php?fn=getver&pn=cvn&pv=2.9.0"}));
    EXPECT_EQ(shell.opened, (std::vector<std::string>{"https://mirror.example/corvane/corvane-download.html?sr=cvn"}));

    testing::FakeSettingsStore defaults;
    EXPECT_EQ(Load_Web_Addresses(defaults).Update_Address(), "https://www.corvane.example/fns/genfns.php");
}

}  // namespace
}  // namespace corvane::periphery
