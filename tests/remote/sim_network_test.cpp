// The faults of the simulated network, which give the fault matrix its eyes:
// once, or from the Nth matching call on.
#include "remote/sim/sim_network.h"

#include <gtest/gtest.h>

#include "base/runtime_error.h"

namespace corvane::remote {
namespace {

TEST(SimNetwork, FaultsOnceOrFromTheNthCallOn) {
    SimNetwork network;
    network.Add_Computer("PC1");
    auto services = network.ConnectServer("PC1", "root\\cimv2", "", {}, 0);
    network.Add_Fault({CallKind::Query, "PC1", "win32_process", 0x80010108u, 3, false});
    network.Add_Fault({std::nullopt, "", "LogicalDisk", 0x800706BFu, 2, true});
    const std::string processes = "Select Name From Win32_Process";
    const std::string disks = "Select Name From Win32_LogicalDisk";
    EXPECT_NO_THROW((void)services->ExecQuery(processes));
    EXPECT_NO_THROW((void)services->ExecQuery(processes));
    EXPECT_THROW((void)services->ExecQuery(processes), RuntimeError);
    EXPECT_THROW((void)services->ExecQuery(processes), RuntimeError);
    EXPECT_NO_THROW((void)services->ExecQuery(disks));
    EXPECT_THROW((void)services->ExecQuery(disks), RuntimeError);
    EXPECT_NO_THROW((void)services->ExecQuery(disks));
    EXPECT_EQ(network.Count(CallKind::Query, "Win32_Process"), 4u);  // failing calls are recorded too
    network.Clear_Faults();
    EXPECT_NO_THROW((void)services->ExecQuery(processes));
}

}  // namespace
}  // namespace corvane::remote
