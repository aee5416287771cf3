#include "computers/network_browse.h"

#include <gtest/gtest.h>

#include <map>

#include "support/fakes.h"

namespace corvane::computers {
namespace {

using Strings = std::vector<std::string>;

struct BrowseCase {
    const char* name;
    NetServerList domains;
    std::map<std::string, NetServerList> computers;
    Strings managed;
    std::vector<MsgResult> answers;
    int cancelAtPump;  // the Cancel button is pressed during this pump (1 = before the first domain); 0 never
    Strings added;
    Strings messages;
};

struct FakeNetwork final : INetworkBrowser {
    explicit FakeNetwork(const BrowseCase& reported) : reported(reported) {}
    NetServerList List_Domains() override { return reported.domains; }
    NetServerList List_Computers(std::string_view domain) override {
        return reported.computers.at(std::string(domain));
    }
    const BrowseCase& reported;
};

class NetworkBrowseCases : public ::testing::TestWithParam<BrowseCase> {};

TEST_P(NetworkBrowseCases, AddsWhatTheBrowserReportsAndNobodyManagesYet) {
    const BrowseCase& c = GetParam();
    FakeNetwork network(c);
    testing::FakeMessageBox messages;
    for (const MsgResult answer : c.answers) messages.Queue_Answer(answer);
    NetworkBrowse browse(network, messages);
    int pumps = 0;
    BrowseProgress last{.value = -1};
    const NetworkBrowse::Hooks hooks{.doEvents =
                                         [&] {
                                             if (++pumps == c.cancelAtPump) browse.Cancel();
                                         },
                                     .showProgress = [&](const BrowseProgress& progress) { last = progress; }};

    EXPECT_EQ(browse.Browse(c.managed, hooks), c.added);
    Strings shown;
    for (const auto& message : messages.shown) {
        shown.push_back(message.text + (message.buttons == MsgButtons::OkCancel ? " [OK/Cancel]" : " [OK]"));
    }
    EXPECT_EQ(shown, c.messages);
    EXPECT_EQ(last.value, last.maximum) << "the bar ends full";
    // The flag is cleared at the end: the next browse asks every domain again.
    if (c.cancelAtPump > 0) {
        EXPECT_EQ(browse.Browse(c.managed, {}).size(), c.added.size() + 1);
    }
}

// name, domains, computers per domain, managed, answers, cancelAtPump, added, messages
// clang-format off
const BrowseCase kCases[] = {
    {"DomainsInOrderSkippingManagedAndRepeatedNamesIgnoringCase", {0, {"WORK", "CORP"}},
     {{"WORK", {0, {"PC1", "pc2", "PC3", ""}}}, {"CORP", {0, {"PC2", "SRV"}}}}, {"pc1"}, {}, 0,
     {"pc2", "PC3", "SRV"}, {}},
    {"NoDomainsNoMessage", {0, {}}, {}, {}, {}, 0, {}, {}},
    {"DomainsThatCannotBeListedSayWhy", {6118, {}}, {}, {}, {}, 0, {}, {"No browser servers found. [OK]"}},
    {"DomainListFailureWithoutTextIsSilent", {53, {}}, {}, {}, {}, 0, {}, {}},
    {"FailingDomainWithTextAsksAndOkGoesOnWithoutItsPartialEntries", {0, {"A", "B"}},
     {{"A", {5, {"X"}}}, {"B", {0, {"Y"}}}}, {}, {MsgResult::Ok}, 0, {"Y"}, {"A: Access is denied. [OK/Cancel]"}},
    {"FailureWithoutTextIsSilent", {0, {"A", "B"}}, {{"A", {53, {"X"}}}, {"B", {0, {"Y"}}}}, {}, {}, 0, {"Y"}, {}},
    {"CancelInTheMessageEndsTheBrowse", {0, {"A", "B"}}, {{"A", {6118, {}}}, {"B", {0, {"Y"}}}},
     {}, {MsgResult::Cancel}, 0, {}, {"A: No browser servers found. [OK/Cancel]"}},
    {"CancelDuringTheFirstDomainKeepsItsComputers", {0, {"A", "B"}}, {{"A", {0, {"X"}}}, {"B", {0, {"Y"}}}},
     {}, {}, 2, {"X"}, {}},
};
// clang-format on
INSTANTIATE_TEST_SUITE_P(Network, NetworkBrowseCases, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace corvane::computers
