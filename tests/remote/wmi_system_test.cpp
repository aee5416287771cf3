#include "remote/wmi_system.h"

#include <chrono>
#include <memory>

#include "remote/wmi_errors.h"
#include "remote_fixture.h"
#include "support/expect_error.h"

namespace corvane::testing {
namespace {

using remote::CallKind;

class CountingBar final : public remote::IProgressStep {
public:
    void Do_Progress() override { ++steps; }
    int steps = 0;
};

class SystemTest : public RemoteFixture {
protected:
    SystemTest() : RemoteFixture(true) {}
};

TEST_F(SystemTest, CreateProcessAlwaysPausesTwoSeconds) {
    std::uint32_t processId = 0;
    EXPECT_TRUE(remote::WMI_Create_Process(Cimv2(), clock, "notepad.exe C:\\x.txt", processId));
    EXPECT_NE(processId, 0u);
    EXPECT_EQ(clock.sleptMilliseconds, 2000u);
    EXPECT_EQ(server.startedCommands, std::vector<std::string>{"notepad.exe C:\\x.txt"});

    std::uint32_t untouched = 5;
    EXPECT_FALSE(remote::WMI_Create_Process(Cimv2(), clock, "missing.exe", untouched));
    EXPECT_EQ(untouched, 5u);
    network.Add_Fault({CallKind::Method, "", "Create", 0x800706BEu, 1, true});
    EXPECT_FALSE(remote::WMI_Create_Process(Cimv2(), clock, "notepad.exe", untouched));
    EXPECT_EQ(clock.sleptMilliseconds, 6000u);
}

TEST_F(SystemTest, WaitEndsWhenTheProcessEndsOrAPollFails) {
    server.processLifetimePolls = 3;
    std::uint32_t id = 0;
    ASSERT_TRUE(remote::WMI_Create_Process(Cimv2(), clock, "cmd.exe /q /c md \"C:\\New\"", id));
    double remaining = 120.0;
    CountingBar bar;
    remote::Wait_For_Process(Cimv2(), clock, reporter, id, remaining, &bar);
    EXPECT_EQ(bar.steps, 3);
    EXPECT_NEAR(remaining, 119.7, 1e-9);
    remote::Wait_For_Process(Cimv2(), clock, reporter, id, remaining, nullptr);
    EXPECT_NEAR(remaining, 119.7, 1e-9);
    // A failed poll ends the wait with a log line.
    network.Add_Fault({CallKind::Query, "", "Win32_Process", 0x800706BAu, 1, false});
    remote::Wait_For_Process(Cimv2(), clock, reporter, 1234, remaining, nullptr);
    EXPECT_NE(Log_Text().find("E: -2147023174: The RPC server is unavailable."), std::string::npos);
    EXPECT_TRUE(messages.shown.empty());
}

// What a restore point is asked with; its answers reach the user through the
// backup and fix commands.
TEST_F(SystemTest, RestorePointsAreAskedForByTypeAndEvent) {
    clock.now = {2009, 4, 7, 15, 2, 9};
    std::int32_t code = -1;
    EXPECT_TRUE(remote::WMI_Create_Restore_Point(session.Root_Default(), clock, code));
    EXPECT_EQ(code, 0);
    const auto& call = network.calls.back();
    EXPECT_EQ(call.in.at("Description").As_String(), "CVNRestorePoint(2009-04-07)(15-02-09)");
    EXPECT_EQ(call.in.at("RestorePointType").As_Int32(), 12);
    EXPECT_EQ(call.in.at("EventType").As_Int32(), 100);

    server.systemRestore = false;
    EXPECT_FALSE(remote::WMI_Create_Restore_Point(session.Root_Default(), clock, code));
    EXPECT_EQ(code, static_cast<std::int32_t>(0x80041010u));
}

// A computer slower than the time limit times out, except while it creates
// a restore point, which may take minutes.
TEST_F(SystemTest, CreatingARestorePointWaitsLongerThanOtherCalls) {
    const auto calls = std::make_shared<wmi::CallControl>(std::chrono::milliseconds(20));
    const auto root = network.ConnectServer("SERVER1", "root\\default", "admin", Secret("secret"), 0, calls);
    server.latency = std::chrono::milliseconds(100);
    std::int32_t code = -1;
    EXPECT_TRUE(remote::WMI_Create_Restore_Point(*root, clock, code));
    EXPECT_TRUE(Raises([&] { (void)root->Get("StdRegProv"); }, Hresult_Number(wmi::hresult::kTimedOut)));
}

}  // namespace
}  // namespace corvane::testing
