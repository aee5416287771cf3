// The scan's hold on the local registry: the key read last stays open for
// the next read during a computer's scan, and never into the fix that
// follows it.
#include "scan/scan_target.h"

#include <gtest/gtest.h>

#include <vector>

#include "scan/registry_entry_categories.h"
#include "scan_world.h"
#include "settings/general_options.h"

namespace corvane::scan::testing {
namespace {

TEST(ScanTarget, TheLocalRegistryKeepsAKeyDuringTheScanOnly) {
    ScanWorld world;
    remote::SimComputer& local = world.network.Local();
    local.registry.Set_String(kHklm, std::string(kAppPathsKey) + "\\gone.exe", "", "C:\\Gone\\gone.exe");
    world.Add_Node(kLocalName);
    world.Check_Category("fD");
    world.Set_Options(GO_AUTOMATIC_FIXING);
    std::vector<bool> kept;
    world.window.Set_Pump_Hook([&] { kept.push_back(local.keepsLastKey); });
    world.Scan();
    std::vector<std::string> left;
    (void)local.registry.Enum_Keys(kHklm, kAppPathsKey, left);
    ASSERT_TRUE(left.empty()) << "found and fixed";
    EXPECT_TRUE(kept.front()) << "during the scan";
    EXPECT_FALSE(kept.back()) << "during the fix";
    EXPECT_FALSE(local.keepsLastKey);
}

}  // namespace
}  // namespace corvane::scan::testing
