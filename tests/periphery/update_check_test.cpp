#include "periphery/update_check.h"

#include <gtest/gtest.h>

#include "app/runtime_error.h"
#include "support/fakes.h"
#include "support/window_fakes.h"

namespace corvane::periphery {
namespace {

using testing::FakeMessageBox;
using testing::FakeSettingsStore;
using testing::FakeShell;

struct VersionCase {
    const char* remote;
    const char* local;
    int order;  // -1 older, 0 same, 1 newer, 2 not a version
};

class VersionOrder : public ::testing::TestWithParam<VersionCase> {};

TEST_P(VersionOrder, ComparesPartsAsNumbers) {
    const VersionCase& c = GetParam();
    const auto remote = Parse_Version(c.remote);
    if (c.order == 2) {
        EXPECT_FALSE(remote.has_value());
        return;
    }
    ASSERT_TRUE(remote.has_value());
    const auto order = Compare_Versions(*remote, *Parse_Version(c.local));
    EXPECT_EQ(order, c.order < 0 ? std::strong_ordering::less
                     : c.order > 0 ? std::strong_ordering::greater : std::strong_ordering::equal);
}

INSTANTIATE_TEST_SUITE_P(Versions, VersionOrder, ::testing::Values(
    VersionCase{"2.10.0", "2.9.0", 1}, VersionCase{"1.10.0", "1.2.3", 1}, VersionCase{"2.9.0", "2.10.0", -1},
    VersionCase{"1.2.3\r\n", "1.2.3", 0}, VersionCase{" 1.2.3 ", "1.2.3", 0}, VersionCase{"1.2", "1.2.0", 0},
    VersionCase{"1.2.0.1", "1.2", 1}, VersionCase{"", "1.0", 2}, VersionCase{"<html>404</html>", "1.0", 2},
    VersionCase{"1..2", "1.0", 2}, VersionCase{"1.2.", "1.0", 2}, VersionCase{"v1.2", "1.0", 2},
    VersionCase{"1.2.3.4.5", "1.0", 2}, VersionCase{"99999999999", "1.0", 2}, VersionCase{"1.-2", "1.0", 2}));

class ScriptedHttp final : public IHttpClient {
public:
    HttpResponse Get(std::string_view url) override {
        urls.emplace_back(url);
        if (fail) throw RuntimeError(12029, "no connection");
        return answer;
    }
    HttpResponse answer{.status = 200, .body = "2.10.0"};
    bool fail = false;
    std::vector<std::string> urls;
};

TEST(CheckForUpdates, AsksTheConfiguredServerAndOffersTheConfiguredDownloadPage) {
    FakeSettingsStore settings;
    settings.SaveSetting("WebAddresses", "UpdateServer", "http://127.0.0.1:8080/cases/newer/");
    settings.SaveSetting("WebAddresses", "HomeSite", "https://mirror.example");
    ScriptedHttp http;
    FakeMessageBox messages;
    FakeShell shell;
    Check_For_Updates(http, messages, shell, Load_Web_Addresses(settings), "2.9.0");
    EXPECT_EQ(http.urls, (std::vector<std::string>{"http://127.0.0.1:8080/cases/newer/fns/genfns.php?fn=getver&pn=cvn&pv=2.9.0"}));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              "A new version (ver. 2.10.0) is available for download. Do you want to download the new version?");
    EXPECT_EQ(shell.opened, (std::vector<std::string>{"https://mirror.example/corvane/corvane-download.html?sr=cvn"}));

    FakeSettingsStore defaults;
    EXPECT_EQ(Load_Web_Addresses(defaults).Update_Address(), "https://www.corvane.example/fns/genfns.php");
}

TEST(CheckForUpdates, NoAnswerAndNoVersionAreFailuresNeverUpToDate) {
    struct Case {
        bool fail;
        HttpResponse answer;
    };
    for (const Case& c : {Case{true, {}}, Case{false, {404, "2.0"}}, Case{false, {200, ""}},
                          Case{false, {200, "<html><body>Server error</body></html>"}}}) {
        ScriptedHttp http;
        http.fail = c.fail;
        http.answer = c.answer;
        FakeMessageBox messages;
        FakeShell shell;
        FakeSettingsStore settings;
        Check_For_Updates(http, messages, shell, Load_Web_Addresses(settings), "1.0.1");
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, kUpdateFailedMessage) << c.answer.body;
        EXPECT_EQ(messages.shown[0].icon, MsgIcon::Exclamation);
        EXPECT_TRUE(shell.opened.empty());
    }
}

}  // namespace
}  // namespace corvane::periphery
