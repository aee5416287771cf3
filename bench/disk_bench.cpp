// Prints what the folder walker costs on a large simulated computer: a
// Windows temp folder of 2,000 folders (three levels) holding 20,000 files,
// scanned by Windows Temp Files (every file and folder listed) and by the
// systemwide search (a tenth of the files match ".tmp"), through the whole
// scan path (driver, walker, exception test per entry on the installed
// database, recording network, WQL engine, providers, store). A second run
// with call recording on counts the queries. Columns: category, folders,
// files, rows, seconds, microseconds per entry, queries per folder.
#include <chrono>
#include <cstdio>
#include <string>

#include "db/app_tables.h"
#include "remote/sim/sim_network.h"
#include "remote/target_context.h"
#include "scan/cvnscan/console_window.h"
#include "scan/scan_driver.h"
#include "scan/scan_target.h"
#include "support/test_database.h"

namespace {

using namespace corvane;

constexpr int kFolders = 2000;
constexpr int kFilesPerFolder = 10;

void Seed(remote::SimComputer& pc) {
    for (int i = 0; i < kFolders; ++i) {
        const std::string folder = "C:\\Windows\\Temp\\a" + std::to_string(i % 20) + "\\b" + std::to_string(i % 200) +
                                   "\\c" + std::to_string(i);
        for (int f = 0; f < kFilesPerFolder; ++f) {
            pc.files.Add_File(folder + "\\file" + std::to_string(f) + (f == 0 ? ".tmp" : ".dat"), 1000 + f);
        }
    }
}

struct Run {
    double seconds = 0;
    std::int32_t rows = 0;
};

Run Scan_Once(testing::TestDatabase& data, remote::SimNetwork& network, const char* key, const char* name) {
    remote::RemotePorts ports{network, data.reporter, data.clock, network, network.Local(), network};
    remote::TargetContext context(ports);
    scan::ScanTarget target(context);
    scan::ConsoleWindow window("ADMINPC");
    CheckTree& computers = window.Computer_Tree();
    const NodeId root = computers.Add(kNoNode, "rR", "Computers", "Root");
    computers.Set_Checked_Only(computers.Add(root, "mBIGSERVER", "BIGSERVER", "Computer"), true);
    CheckTree& categories = window.Category_Tree();
    const NodeId group = categories.Add(kNoNode, "gD", "Disk Clean Up", "File");
    categories.Set_Checked_Only(categories.Add(group, key, name, "File"), true);
    scan::ScanDriver driver({window, data.db, data.reporter, target, true});
    const auto start = std::chrono::steady_clock::now();
    driver.mnuStartScan_Click();
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
            driver.Control().TotalProblems};
}

void Measure(const char* key, const char* name) {
    testing::TestDatabase data;
    (void)Save_Settings(data.db, 0, ".tmp;");
    remote::SimNetwork network("ADMINPC");
    network.recordCalls = false;
    remote::SimComputer& pc = network.Add_Computer("BIGSERVER");
    Seed(pc);
    const Run timed = Scan_Once(data, network, key, name);
    network.recordCalls = true;
    (void)Scan_Once(data, network, key, name);
    const int folders = kFolders + 220;  // with the two upper levels
    const double entries = folders + kFolders * kFilesPerFolder;
    std::printf("| %-22s | %6d | %6d | %6d | %7.2f | %8.1f | %5.2f |\n", name, folders, kFolders * kFilesPerFolder,
                timed.rows, timed.seconds, timed.seconds * 1e6 / entries,
                static_cast<double>(network.Count(remote::CallKind::Query)) / folders);
    std::fflush(stdout);
}

}  // namespace

int main() {
    std::printf("| category | folders | files | rows | seconds | us/entry | queries/folder |\n");
    std::printf("|---|---:|---:|---:|---:|---:|---:|\n");
    Measure("dG", "Windows Temp Files");
    Measure("wA", "Temporary Files");
    return 0;
}
