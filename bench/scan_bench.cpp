// Prints what the registry entry categories cost on a large simulated remote
// computer: 20,000 entries in each of the five (help files, uninstall
// entries, application paths, fonts, shared DLL values), a third of each
// obsolete (uninstall entries also with only the obsolete third holding an
// InstallSource); and ActiveX/COM at
// two sizes (50,000 class IDs, 20,000 interfaces and 30,000 programmatic IDs,
// and a fifth of that) so that its growth shows. Each category runs
// in a child process of its own, in safe mode (existence tests through the
// management service) and in fast mode (administrative share listings),
// through the whole scan path (driver, category routine, exception tests on
// the installed database, connection routines, recording network, WQL
// engine, providers, store). A second run with call recording on counts the
// calls. Columns: category, mode, entries, problems, seconds, microseconds
// per entry, calls per entry (registry methods, WQL queries, share
// listings), the existence queries or listings in all (one per folder, not
// per file), resident memory after building the computer and the peak after
// the scan. Linux only (fork, getrusage).
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "base/reporter.h"
#include "db/app_tables.h"
#include "db/database.h"
#include "remote/sim/sim_network.h"
#include "support/fakes.h"
#include "support/temp_folder.h"
#include "support/test_database.h"
#include "timed_scan.h"

namespace {

using namespace corvane;
using remote::CallKind;

constexpr std::uint32_t kHklm = 0x80000002u;

struct Category {
    const char* key;
    const char* name;
    int entries;
    bool fewSources = false;      // uninstall entries: only the obsolete third has an InstallSource
    const char* label = nullptr;  // the row's name when not the category's
};

constexpr Category kCategories[] = {
    {"fA", "Help Files", 20000},
    {"fB", "Add/Remove Programs", 20000},
    {"fB", "Add/Remove Programs", 20000, true, "Add/Remove Programs, few sources"},
    {"fD", "Application Paths", 20000},
    {"fE", "Windows Fonts", 20000},
    {"fF", "Shared DLLs", 20000},
    // Half class IDs, a fifth interfaces, three tenths programmatic IDs.
    {"fC", "ActiveX/COM", 20000},
    {"fC", "ActiveX/COM", 100000},
};

std::string Number(int i) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%05d", i);
    return buffer;
}

// COM registrations: 1,000 type libraries and AppIds; class IDs with an
// AppId, an in-process server out of 5,000 DLLs and a type library; each
// interface with a type library, each programmatic ID with a class ID. A
// third of every reference names something missing.
void Seed_Com(remote::SimComputer& pc, int entries) {
    const std::string classes = "SOFTWARE\\CLASSES\\";
    for (int i = 0; i < 1000; ++i) {
        pc.registry.Create_Key(kHklm, classes + "TypeLib\\{T" + Number(i) + "}");
        pc.registry.Create_Key(kHklm, classes + "AppId\\{A" + Number(i) + "}");
    }
    for (int i = 0; i < 5000; ++i) {
        if (i % 3 != 1) pc.files.Add_File("C:\\Dlls\\com" + Number(i) + ".dll", 1000);
    }
    const auto reference = [](char kind, int i) {
        return "{" + std::string(1, kind) + Number(i % 3 == 1 ? 90000 + i : i % 1000) + "}";
    };
    for (int i = 0; i < entries / 2; ++i) {
        const std::string key = classes + "CLSID\\{C" + Number(i) + "}";
        pc.registry.Set_String(kHklm, key, "AppId", reference('A', i));
        pc.registry.Set_String(kHklm, key + "\\InProcServer32", "", "C:\\Dlls\\com" + Number(i % 5000) + ".dll");
        pc.registry.Set_String(kHklm, key + "\\TypeLib", "", reference('T', i));
    }
    for (int i = 0; i < entries / 5; ++i) {
        pc.registry.Set_String(kHklm, classes + "Interface\\{I" + Number(i) + "}\\TypeLib", "", reference('T', i));
    }
    for (int i = 0; i < entries * 3 / 10; ++i) {
        const int classId = i % 3 == 1 ? 90000 + i : i % (entries / 2);
        pc.registry.Set_String(kHklm, classes + "Prog" + Number(i) + "\\CLSID", "", "{C" + Number(classId) + "}");
    }
}

void Seed(remote::SimComputer& pc, const Category& category) {
    const std::string key = category.key;
    if (key == "fC") {
        Seed_Com(pc, category.entries);
        return;
    }
    for (int i = 0; i < category.entries; ++i) {
        const bool obsolete = i % 3 == 0;
        const std::string n = Number(i);
        if (key == "fA") {
            pc.registry.Set_String(kHklm, "Software\\Microsoft\\Windows\\Help", "help" + n + ".hlp", "C:\\Help");
            if (!obsolete) pc.files.Add_File("C:\\Help\\help" + n + ".hlp", 1000);
        } else if (key == "fB") {
            const std::string entry = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\App" + n;
            pc.registry.Set_String(kHklm, entry, "DisplayName", "Application " + n);
            if (i % 3 == 2 || (category.fewSources && !obsolete)) continue;  // no install source at all
            pc.registry.Set_String(kHklm, entry, "InstallSource", "C:\\Sources\\App" + n);
            if (!obsolete) pc.files.Add_Folder("C:\\Sources\\App" + n);
        } else if (key == "fD") {
            const std::string entry = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\app" + n + ".exe";
            pc.registry.Set_String(kHklm, entry, "", "C:\\Apps\\app" + n + ".exe");
            pc.registry.Set_String(kHklm, entry, "Path", "C:\\Apps");
            if (!obsolete) pc.files.Add_File("C:\\Apps\\app" + n + ".exe", 1000);
        } else if (key == "fE") {
            pc.registry.Set_String(kHklm, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts",
                                   "Font " + n + " (TrueType)", "font" + n + ".ttf");
            if (!obsolete) pc.files.Add_File("C:\\Windows\\Fonts\\font" + n + ".ttf", 1000);
        } else {
            pc.registry.Set_Dword(kHklm, "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs",
                                  "C:\\Dlls\\lib" + n + ".dll", 1);
            if (!obsolete) pc.files.Add_File("C:\\Dlls\\lib" + n + ".dll", 1000);
        }
    }
    pc.files.Add_Folder("C:\\Apps");
}

double Resident_Megabytes() {
    std::FILE* status = std::fopen("/proc/self/statm", "r");
    long pages = 0;
    long resident = 0;
    if (status != nullptr) {
        if (std::fscanf(status, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(status);
    }
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

double Peak_Megabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Only the one category's node, under a group.
bench::TimedScan Scan_Once(testing::TestDatabase& data, remote::SimNetwork& network, const Category& category) {
    return bench::Time_One_Scan(data, network, "gR", "Registry Clean Up", "Registry", category.key, category.name);
}

void Run_Category(const Category& category, bool safe) {
    testing::TestDatabase data;
    (void)Save_Settings(data.db, safe ? 32 : 0, ".tmp;");
    remote::SimNetwork network("ADMINPC");
    network.recordCalls = false;
    remote::SimComputer& pc = network.Add_Computer("BIGSERVER");
    pc.facts.addressWidth = 32;
    Seed(pc, category);
    const double built = Resident_Megabytes();

    const bench::TimedScan timed = Scan_Once(data, network, category);
    const double peak = Peak_Megabytes();

    network.recordCalls = true;
    (void)Scan_Once(data, network, category);
    const double entries = category.entries;
    const double methods = static_cast<double>(network.Count(CallKind::Method)) / entries;
    const double queries = static_cast<double>(network.Count(CallKind::Query)) / entries;
    const double listings = static_cast<double>(network.Count(CallKind::ShareListing)) / entries;
    const std::size_t existence = network.Count(safe ? CallKind::Query : CallKind::ShareListing);

    std::printf("| %-32s | %-4s | %7d | %7d | %7.2f | %8.1f | %5.2f / %5.2f / %5.2f | %6zu | %7.1f | %7.1f |\n",
                category.label != nullptr ? category.label : category.name, safe ? "safe" : "fast", category.entries,
                timed.problems, timed.seconds, timed.seconds * 1e6 / entries, methods, queries, listings, existence,
                built, peak);
    std::fflush(stdout);
}

}  // namespace

// With a category key as argument ("fC"), only that category runs.
int main(int argc, char** argv) {
    const std::string only = argc > 1 ? argv[1] : "";
    std::printf(
        "| category | mode | entries | problems | seconds | us/entry | calls/entry: methods / queries / listings | "
        "queries or listings in all | RSS built MB | peak MB |\n");
    std::printf("|---|---|---:|---:|---:|---:|---|---:|---:|---:|\n");
    std::fflush(stdout);
    for (const Category& category : kCategories) {
        if (!only.empty() && only != category.key) continue;
        for (const bool safe : {true, false}) {
            const pid_t child = fork();
            if (child == 0) {
                Run_Category(category, safe);
                std::fflush(stdout);
                _exit(0);
            }
            int status = 0;
            waitpid(child, &status, 0);
            if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) std::printf("| %s: the run failed |\n", category.name);
        }
    }
    return 0;
}
