// Prints what the folder walker costs on a large simulated computer: a
// Windows temp folder of 2,000 folders (three levels) holding 20,000 files,
// scanned by Windows Temp Files (every file and folder listed) and by the
// systemwide search (a tenth of the files match ".tmp"), through the whole
// scan path (driver, walker, exception test per entry on the installed
// database, recording network, WQL engine, providers, store). A second run
// with call recording on counts the queries. Columns: category, folders,
// files, rows, seconds, microseconds per entry, queries per folder.
#include <cstdio>
#include <string>

#include "db/app_tables.h"
#include "remote/sim/sim_network.h"
#include "support/test_database.h"
#include "timed_scan.h"

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

bench::TimedScan Scan_Once(testing::TestDatabase& data, remote::SimNetwork& network, const char* key,
                           const char* name) {
    return bench::Time_One_Scan(data, network, "gD", "Disk Clean Up", "File", key, name);
}

void Measure(const char* key, const char* name) {
    testing::TestDatabase data;
    (void)Save_Settings(data.db, 0, ".tmp;");
    remote::SimNetwork network("ADMINPC");
    network.recordCalls = false;
    remote::SimComputer& pc = network.Add_Computer("BIGSERVER");
    Seed(pc);
    const bench::TimedScan timed = Scan_Once(data, network, key, name);
    network.recordCalls = true;
    (void)Scan_Once(data, network, key, name);
    const int folders = kFolders + 220;  // with the two upper levels
    const double entries = folders + kFolders * kFilesPerFolder;
    std::printf("| %-22s | %6d | %6d | %6d | %7.2f | %8.1f | %5.2f |\n", name, folders, kFolders * kFilesPerFolder,
                timed.problems, timed.seconds, timed.seconds * 1e6 / entries,
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
