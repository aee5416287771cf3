#include "remote/wmi_connection.h"

#include "remote/call_limit_setting.h"
#include "remote/store_services.h"
#include "remote_fixture.h"
#include "support/window_fakes.h"

namespace corvane::testing {
namespace {

class ConnectionTest : public RemoteFixture {};

TEST_F(ConnectionTest, ConnectsWithContextCredentialsAndReadsTheFacts) {
    server.facts.version = "5.1.2600";
    server.facts.addressWidth = 32;
    server.disks = {{"C:", 3}, {"A:", 2}, {"D:", 3}};
    EXPECT_EQ(Connect("192.168.1.20"), remote::OpenOutcome::Opened);
    EXPECT_EQ(network.calls[0].flags, 128);  // never waits without end
    EXPECT_EQ(context.TargetName, "SERVER1");
    EXPECT_EQ(context.OSVersion, "5.1.2600");
    EXPECT_EQ(context.AddressWidth, 32);
    EXPECT_EQ(context.FixedDrives, (std::vector<std::string>{"C:", "D:"}));
}

TEST_F(ConnectionTest, FailuresBecomeErrorTextsAndLogLines) {
    server.refusedNamespaces.insert("ROOT\\DEFAULT");
    const struct {
        const char* computer;
        const char* password;
        const char* nameSpace;
        const char* error;
    } cases[] = {
        {"SERVER1", "wrong", "cimv2", "-2147024891: Access is denied."},
        {"NOSUCHPC", "secret", "cimv2", "-2147023174: The RPC server is unavailable."},
        {"SERVER1", "secret", "default", "-2147217394: Invalid namespace"},
        // The local computer takes the caller's own identity only.
        {"WORKSTATION", "secret", "cimv2", "-2147217308: User credentials cannot be used for local connections"},
    };
    for (const auto& c : cases) {
        Start(c.computer, "admin", c.password);
        std::string errorText;
        EXPECT_EQ(remote::WMI_Connect(context, c.nameSpace, errorText), nullptr) << c.error;
        EXPECT_EQ(errorText, c.error);
        EXPECT_NE(Log_Text().find(std::string("E: ") + c.error), std::string::npos) << c.error;
    }
    EXPECT_TRUE(messages.shown.empty());
    Start("SERVER1");
    std::string errorText = "old";
    EXPECT_NE(remote::WMI_Connect(context, "cimv2", errorText), nullptr);
    EXPECT_EQ(errorText, "");
}

TEST_F(ConnectionTest, IsRemoteIsDecidedByTheBackendNotByName) {
    network.Local().aliases = {"LOCALHOST", "127.0.0.1"};
    (void)Connect("LOCALHOST", "", "");
    EXPECT_EQ(context.TargetName, "WORKSTATION");
    EXPECT_FALSE(context.IsRemote);

    // A clone answering with the console's own name is still another computer.
    server.facts.computerName = "WORKSTATION";
    (void)Connect("SERVER1");
    EXPECT_EQ(context.TargetName, "WORKSTATION");
    EXPECT_TRUE(context.IsRemote);
}

TEST_F(ConnectionTest, StartComputerClearsThePreviousFacts) {
    (void)Connect("SERVER1");
    context.Start_Computer("OTHER");
    EXPECT_EQ(context.ComputerName, "OTHER");
    EXPECT_TRUE(context.UserName.empty());
    EXPECT_TRUE(context.TargetName.empty());
    EXPECT_TRUE(context.FixedDrives.empty());
    EXPECT_EQ(context.AddressWidth, 0);
    EXPECT_TRUE(context.Fast_Tests_Trusted());
}

TEST(CallLimitSetting, WholeSecondsFromOneToAnHourElseTheDefault) {
    using std::chrono::seconds;
    const std::pair<const char*, seconds> rows[] = {
        {nullptr, seconds(60)},  {"5", seconds(5)},     {" 120 ", seconds(120)},
        {"3600", seconds(3600)}, {"3601", seconds(60)}, {"0", seconds(60)},
        {"-5", seconds(60)},     {"2.5", seconds(60)},  {"abc", seconds(60)}};
    for (const auto& [text, expected] : rows) {
        corvane::testing::FakeSettingsStore store;
        if (text != nullptr) store.SaveSetting("Connection", "CallTimeLimit", text);
        EXPECT_EQ(remote::Load_Call_Limit(store), expected) << (text != nullptr ? text : "(none)");
    }
}

// From XP on a connection waits at most the longest time WMI allows.
TEST(ConnectFlags, FromXpOnAConnectionNeverWaitsWithoutEnd) {
    const std::pair<remote::OsVersionNumbers, std::int32_t> rows[] = {
        {{1, 4, 10}, 0},  {{2, 4, 0}, 0},   {{2, 5, 0}, 0},    {{2, 5, 1}, 128},
        {{2, 5, 2}, 128}, {{2, 6, 3}, 128}, {{2, 10, 0}, 128}, {{3, 5, 1}, 0}};
    for (const auto& [version, flags] : rows) {
        EXPECT_EQ(remote::Connect_Flags(version), flags) << version.major << "." << version.minor;
    }
}

// Where each name goes: windows_locator_test.
TEST(LocatorChooser, LocalNamesAreTheComputersNameLoopbackAndItsAddresses) {
    for (const char* name :
         {"WORKSTATION", "workstation", "LOCALHOST", "loopback", ".", "127.0.0.1", "127.1.2.3", "::1"}) {
        EXPECT_TRUE(remote::Is_Local_Server_Name(name, "WorkStation")) << name;
    }
    for (const char* name : {"SERVER1", "192.168.1.2", "127.0.0", "WORKSTATION2", "127.0.0.x"}) {
        EXPECT_FALSE(remote::Is_Local_Server_Name(name, "WorkStation")) << name;
    }
}

}  // namespace
}  // namespace corvane::testing
