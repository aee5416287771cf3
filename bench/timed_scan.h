// One timed scan of one category on the simulated computer "BIGSERVER",
// through the whole scan path (driver, category routine, exception test on
// the installed database, network, WQL engine, providers, store), as the
// simulated-computer benchmarks run it.
#pragma once

#include <chrono>
#include <cstdint>

#include "base/ui/progress_events.h"
#include "console/console_window.h"
#include "remote/sim/sim_network.h"
#include "remote/target_context.h"
#include "scan/scan_driver.h"
#include "scan/scan_target.h"
#include "support/test_database.h"

namespace corvane::bench {

struct TimedScan {
    double seconds = 0;
    std::int32_t problems = 0;
};

// The category's node (key, name) is the only one checked, under a group
// node (groupKey, groupName) with the icon both share.
inline TimedScan Time_One_Scan(testing::TestDatabase& data, remote::SimNetwork& network, const char* groupKey,
                               const char* groupName, const char* icon, const char* key, const char* name) {
    remote::RemotePorts ports{network, data.reporter, data.clock, network, network.Local(), network};
    scan::ScanTarget target(ports, remote::kScanning);
    console::ConsoleWindow window("ADMINPC");
    CheckTree& computers = window.Computer_Tree();
    const NodeId root = computers.Add(kNoNode, "rR", "Computers", "Root");
    computers.Set_Checked_Only(computers.Add(root, "mBIGSERVER", "BIGSERVER", "Computer"), true);
    CheckTree& categories = window.Category_Tree();
    const NodeId group = categories.Add(kNoNode, groupKey, groupName, icon);
    categories.Set_Checked_Only(categories.Add(group, key, name, icon), true);
    IProgressEvents progress;
    scan::ScanDriver driver({window, progress, data.db, data.reporter, target});
    const auto start = std::chrono::steady_clock::now();
    driver.Start();
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
            driver.Control().TotalProblems};
}

}  // namespace corvane::bench
