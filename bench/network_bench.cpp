// Prints what scanning many computers at once gains on a simulated network:
// 32 computers, each with 2,000 registry entries (help files, half of them
// missing) and 500 files in its Windows temp folder, every call answered
// after 1 ms (a sleep, as a network would), and 2 computers that never
// answer (each costs the time limit, 2 s here), scanned by Help Files and
// Windows Temp Files through the whole scan path (driver, workers, category
// routines, exception tests on the installed database, network, WQL engine,
// providers, store). Figures: the time with one computer at a time, with 8
// at a time, and last the ratio of the time at 8 to the ideal, the larger of
// the slowest computer's time (a dead one counts its limit) and the time at 1
// divided by 8. Linux.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "base/ui/progress_events.h"
#include "console/console_window.h"
#include "db/app_tables.h"
#include "remote/sim/sim_network.h"
#include "remote/target_context.h"
#include "scan/scan_driver.h"
#include "scan/scan_target.h"
#include "support/test_database.h"

namespace {

using namespace corvane;
using Clock = std::chrono::steady_clock;

constexpr int kComputers = 32;
constexpr int kRegistryEntries = 2000;
constexpr int kFiles = 500;
constexpr int kFilesPerFolder = 20;
constexpr std::uint32_t kHklm = 0x80000002u;
constexpr int kDeadComputers = 2;
constexpr std::chrono::milliseconds kLatency{1};
constexpr std::chrono::milliseconds kCallLimit{2000};

std::string Name(int i) { return "PC" + std::to_string(100 + i); }
std::string Dead_Name(int i) { return "DEAD" + std::to_string(i); }

void Seed(remote::SimComputer& pc) {
    pc.facts.addressWidth = 32;
    for (int i = 0; i < kRegistryEntries; ++i) {
        const std::string folder = i % 2 == 0 ? "C:\\Help" : "C:\\Gone";
        pc.registry.Set_String(kHklm, "Software\\Microsoft\\Windows\\Help", "h" + std::to_string(i) + ".hlp", folder);
    }
    pc.files.Add_File("C:\\Help\\keep.txt", 1);
    for (int i = 0; i < kRegistryEntries; i += 2) pc.files.Add_File("C:\\Help\\h" + std::to_string(i) + ".hlp", 1);
    for (int i = 0; i < kFiles; ++i) {
        pc.files.Add_File(
            "C:\\Windows\\Temp\\d" + std::to_string(i / kFilesPerFolder) + "\\f" + std::to_string(i) + ".dat", 100);
    }
}

// The slowest computer of a scan one at a time, from its start and end events.
class ComputerTimes final : public IProgressEvents {
public:
    void Computer_Started(std::string_view) override { start_ = Clock::now(); }
    void Computer_Ended() override {
        slowest = std::max(slowest, std::chrono::duration<double>(Clock::now() - start_).count());
    }
    double slowest = 0;

private:
    Clock::time_point start_;
};

double Scan(testing::TestDatabase& data, remote::SimNetwork& network, int atOnce, ComputerTimes& times) {
    remote::RemotePorts ports{network, data.reporter, data.clock, network,   network.Local(),
                              network, nullptr,       nullptr,    kCallLimit};
    scan::ScanTarget target(ports, remote::kScanning);
    console::ConsoleWindow window("ADMINPC");
    CheckTree& computers = window.Computer_Tree();
    const NodeId root = computers.Add(kNoNode, "rR", "Computers", "Root");
    for (int i = 0; i < kComputers; ++i) {
        computers.Set_Checked_Only(computers.Add(root, "m" + Name(i), Name(i), "Computer"), true);
        // The dead ones among the first, so that one at a time waits for them early.
        if (i < kDeadComputers) {
            computers.Set_Checked_Only(computers.Add(root, "m" + Dead_Name(i), Dead_Name(i), "Computer"), true);
        }
    }
    CheckTree& categories = window.Category_Tree();
    const NodeId registry = categories.Add(kNoNode, "gR", "Registry", "Registry");
    categories.Set_Checked_Only(categories.Add(registry, "fA", "Help Files", "Registry"), true);
    const NodeId disk = categories.Add(kNoNode, "gD", "Disk Clean Up", "File");
    categories.Set_Checked_Only(categories.Add(disk, "dG", "Windows Temp Files", "File"), true);
    scan::ScanDriver driver({window, times, data.db, data.reporter, target, nullptr, atOnce});
    const auto start = Clock::now();
    driver.Start();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (driver.Unscanned_Computers() != kDeadComputers || window.Results().Count() == 0) {
        std::printf("(the scan failed)\n");
    }
    return seconds;
}

}  // namespace

int main() {
    testing::TestDatabase data;
    remote::SimNetwork network("ADMINPC");
    network.recordCalls = false;
    for (int i = 0; i < kComputers; ++i) Seed(network.Add_Computer(Name(i)));
    for (int i = 0; i < kDeadComputers; ++i) {
        (void)network.Add_Computer(Dead_Name(i));
        network.Add_Fault({.kind = {}, .computer = Dead_Name(i), .match = "", .hangs = true});
    }
    network.duringCall = [](const remote::CallRecord&) { std::this_thread::sleep_for(kLatency); };

    std::printf("%d computers, each %d registry entries and %d files, %lld ms per call\n", kComputers, kRegistryEntries,
                kFiles, static_cast<long long>(kLatency.count()));
    std::printf("and %d computers that never answer, with a time limit of %lld ms per call\n", kDeadComputers,
                static_cast<long long>(kCallLimit.count()));
    std::fflush(stdout);
    ComputerTimes one;
    const double atOne = Scan(data, network, 1, one);
    std::printf("1 at a time: %.2f s (slowest computer %.2f s)\n", atOne, one.slowest);
    std::fflush(stdout);
    ComputerTimes eight;
    const double atEight = Scan(data, network, 8, eight);
    std::printf("8 at a time: %.2f s\n", atEight);
    const double ideal = std::max({one.slowest, atOne / 8, std::chrono::duration<double>(kCallLimit).count()});
    std::printf("ratio to the ideal (%.2f s): %.2f\n", ideal, atEight / ideal);
    return 0;
}
