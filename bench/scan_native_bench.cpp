// The registry entry categories on the computer the program runs on (the
// native store, as cvnscan.exe and the main window scan the local computer),
// side by side with a bare walk of the same keys by the system's own
// "reg query KEY /s". Seeds the local registry and C: with the same shapes
// as the simulated benchmark (a third of each obsolete; sizes times the
// scale given as the first argument, default 1), scans each category alone,
// prints seconds, microseconds per entry and the peak working set, and
// removes what it seeded. With "pair N" it times cvnscan.exe itself on two
// keys of N entries each against "reg query /s" of them instead. Run it in a throwaway Wine prefix
// (bench/scan_native_bench.sh) or a throwaway Windows machine.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/ui/progress_events.h"
#include "base/win32/clock_win32.h"
#include "base/win32/com_init.h"
#include "base/win32/wide_text.h"
#include "console/console_window.h"
#include "db/app_tables.h"
#include "remote/target_context.h"
#include "remote/win32/native_ports.h"
#include "remote/win32/windows_locator.h"
#include "scan/scan_driver.h"
#include "scan/scan_target.h"
#include "support/test_database.h"

namespace {

using namespace corvane;
using win32::Widen;

struct Category {
    const char* key;
    const char* name;
    const wchar_t* registryKey;
    int entries;
};

const Category kCategories[] = {
    {"fB", "Add/Remove Programs", L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall", 20000},
    {"fD", "Application Paths", L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths", 20000},
    {"fE", "Windows Fonts", L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts", 5000},
    {"fF", "Shared DLLs", L"Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs", 50000},
};

std::wstring Number(int i) {
    wchar_t buffer[16];
    std::swprintf(buffer, 16, L"%05d", i);
    return buffer;
}

void Set_String(const std::wstring& key, const std::wstring& name, const std::wstring& text) {
    HKEY handle = nullptr;
    if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr) !=
        ERROR_SUCCESS) {
        return;
    }
    ::RegSetValueExW(handle, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(handle);
}

void Set_Dword(const std::wstring& key, const std::wstring& name, DWORD number) {
    HKEY handle = nullptr;
    if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr) !=
        ERROR_SUCCESS) {
        return;
    }
    ::RegSetValueExW(handle, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    ::RegCloseKey(handle);
}

void Touch(const std::wstring& path) {
    const HANDLE file =
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
}

// Seeds the category and returns how to remove it again.
void Seed(const Category& category, int entries, bool remove) {
    const std::string key = category.key;
    const std::wstring root = category.registryKey;
    if (!remove) {
        ::CreateDirectoryW(L"C:\\CvnBench", nullptr);
        ::CreateDirectoryW(L"C:\\CvnBench\\Sources", nullptr);
        ::CreateDirectoryW(L"C:\\CvnBench\\Apps", nullptr);
        ::CreateDirectoryW(L"C:\\CvnBench\\Dlls", nullptr);
    }
    for (int i = 0; i < entries; ++i) {
        const bool obsolete = i % 3 == 0;
        const std::wstring n = Number(i);
        if (key == "fB") {
            const std::wstring entry = root + L"\\CvnBenchApp" + n;
            if (remove) {
                ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, entry.c_str());
                continue;
            }
            Set_String(entry, L"DisplayName", L"Application " + n);
            if (i % 3 == 2) continue;
            Set_String(entry, L"InstallSource", L"C:\\CvnBench\\Sources\\App" + n);
            if (!obsolete) ::CreateDirectoryW((L"C:\\CvnBench\\Sources\\App" + n).c_str(), nullptr);
        } else if (key == "fD") {
            const std::wstring entry = root + L"\\cvnbench" + n + L".exe";
            if (remove) {
                ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, entry.c_str());
                continue;
            }
            Set_String(entry, L"", L"C:\\CvnBench\\Apps\\app" + n + L".exe");
            Set_String(entry, L"Path", L"C:\\CvnBench\\Apps");
            if (!obsolete) Touch(L"C:\\CvnBench\\Apps\\app" + n + L".exe");
        } else if (key == "fE") {
            const std::wstring name = L"CvnBench Font " + n + L" (TrueType)";
            const std::wstring file = L"cvnbench" + n + L".ttf";
            if (remove) {
                ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, root.c_str(), name.c_str());
                ::DeleteFileW((L"C:\\windows\\Fonts\\" + file).c_str());
                continue;
            }
            Set_String(root, name, file);
            if (!obsolete) Touch(L"C:\\windows\\Fonts\\" + file);
        } else {
            const std::wstring name = L"C:\\CvnBench\\Dlls\\lib" + n + L".dll";
            if (remove) {
                ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, root.c_str(), name.c_str());
                continue;
            }
            Set_Dword(root, name, 1);
            if (!obsolete) Touch(name);
        }
    }
}

double Peak_Megabytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters)) return 0;
    return static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

// Runs a command line with its output thrown away and waits for it; seconds,
// or -1 when it could not be started or (when success is required) did not
// end with exit code 0.
double Run_Seconds(std::wstring command, bool requireSuccess = true) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    const HANDLE nul = ::CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = nul;
    startup.hStdError = nul;
    startup.hStdInput = nullptr;
    PROCESS_INFORMATION process{};
    const auto start = std::chrono::steady_clock::now();
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                          &process)) {
        ::CloseHandle(nul);
        return -1;
    }
    ::WaitForSingleObject(process.hProcess, INFINITE);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    DWORD exitCode = 1;
    if (requireSuccess && (!::GetExitCodeProcess(process.hProcess, &exitCode) || exitCode != 0)) seconds = -1;
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    ::CloseHandle(nul);
    return seconds;
}

// "reg query HKLM\<key> /s" with its output thrown away; seconds. A key the
// prefix does not have makes reg fail: that too is what walking it costs.
double Reg_Query_Seconds(const Category& category) {
    return Run_Seconds(L"reg.exe query \"HKLM\\" + std::wstring(category.registryKey) + L"\" /s", false);
}

struct PairTimes {
    double scan = 0;
    double walk = 0;
};

// The best of three runs of each (the machine is shared; the least disturbed
// run is the closest to the cost itself).
PairTimes Time_Pair(const Category& paths, const Category& dlls) {
    PairTimes best{1e9, 1e9};
    for (int run = 0; run < 3; ++run) {
        const double scan =
            Run_Seconds(L"C:\\CvnBench\\cvnscan.exe --category fD --category fF --database C:\\CvnBench\\scan.db");
        const double walk = Reg_Query_Seconds(paths) + Reg_Query_Seconds(dlls);
        if (scan < 0 || walk < 0) return {-1, -1};
        best = {std::min(best.scan, scan), std::min(best.walk, walk)};
    }
    return best;
}

// What a new user tries: "cvnscan --category fD --category fF" (the program
// next to this one, output thrown away) against "reg query /s" of the same
// two keys, first as the prefix has them (what starting either costs), then
// with the given number of entries in each key (a third obsolete, the files
// of the rest in one folder per key). The last column leaves the start-up
// out: what the entries themselves cost, scan against walk.
int Run_Pair(int entries) {
    const Category& paths = kCategories[1];
    const Category& dlls = kCategories[3];
    const PairTimes bare = Time_Pair(paths, dlls);
    Seed(paths, entries, false);
    Seed(dlls, entries, false);
    const PairTimes seeded = Time_Pair(paths, dlls);
    // Where the time goes: each category alone against the walk of its key.
    // The local computer always scans in fast mode, so the scan-mode option
    // makes no difference here.
    std::vector<std::string> alone;
    for (const Category* category : {&paths, &dlls}) {
        const double scan = Run_Seconds(L"C:\\CvnBench\\cvnscan.exe --category " + Widen(category->key) +
                                        L" --database C:\\CvnBench\\scan.db");
        const double walk = Reg_Query_Seconds(*category);
        char row[160];
        std::snprintf(row, sizeof row, "| %d, %s alone | %.2f | %.2f | %.2f | |\n", entries, category->name, scan, walk,
                      walk > 0 ? scan / walk : 0.0);
        alone.emplace_back(row);
    }
    Seed(paths, entries, true);
    Seed(dlls, entries, true);
    if (bare.scan < 0 || seeded.scan < 0) {
        std::printf("| %d | cvnscan or reg query failed |\n", entries);
        return 1;
    }
    const auto ratio = [](double scan, double walk) { return walk > 0 ? scan / walk : 0.0; };
    std::printf("| 0 (start-up) | %.2f | %.2f | %.2f | |\n", bare.scan, bare.walk, ratio(bare.scan, bare.walk));
    std::printf("| %d | %.2f | %.2f | %.2f | %.2f |\n", entries, seeded.scan, seeded.walk,
                ratio(seeded.scan, seeded.walk), ratio(seeded.scan - bare.scan, seeded.walk - bare.walk));
    for (const std::string& row : alone) std::printf("%s", row.c_str());
    std::fflush(stdout);
    return 0;
}

}  // namespace

// Arguments: the scale (default 1); or "pair" and the entries per key.
int main(int argc, char** argv) {
    if (argc > 2 && std::string(argv[1]) == "pair") {
        std::printf(
            "| entries per key | cvnscan seconds | reg query /s seconds | ratio | ratio less start-up |\n"
            "|---:|---:|---:|---:|---:|\n");
        return Run_Pair(std::atoi(argv[2]));
    }
    const double scale = argc > 1 ? std::atof(argv[1]) : 1.0;
    const corvane::win32::ComInit com;
    corvane::win32::Win32Clock clock;
    testing::TestDatabase data;
    (void)Save_Settings(data.db, 0, ".tmp;");

    remote::win32::NativeLocalSystem localSystem;
    remote::win32::NativeLocalRegistry localRegistry;
    remote::win32::NativeShareLister shares;
    const std::string localName = localSystem.Computer_Name();
    remote::win32::WindowsLocator locator(localName);
    const remote::RemotePorts ports{locator, data.reporter, clock, shares, localRegistry, localSystem};

    std::printf(
        "| category | entries | problems | scan seconds | us/entry | reg query /s seconds | peak working set MB |\n");
    std::printf("|---|---:|---:|---:|---:|---:|---:|\n");
    for (const Category& category : kCategories) {
        const int entries = static_cast<int>(category.entries * scale);
        Seed(category, entries, false);

        scan::ScanTarget target(ports, remote::kScanning);
        console::ConsoleWindow window(localName);
        CheckTree& computers = window.Computer_Tree();
        const NodeId root = computers.Add(kNoNode, "rR", "Computers", "Root");
        computers.Set_Checked_Only(computers.Add(root, "m" + localName, localName, "Computer"), true);
        CheckTree& categories = window.Category_Tree();
        const NodeId group = categories.Add(kNoNode, "gR", "Registry Clean Up", "Registry");
        categories.Set_Checked_Only(categories.Add(group, category.key, category.name, "Registry"), true);
        IProgressEvents progress;
        scan::ScanDriver driver({window, progress, data.db, data.reporter, target});

        const auto start = std::chrono::steady_clock::now();
        driver.Start();
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const double walk = Reg_Query_Seconds(category);
        std::printf("| %s | %d | %d | %.2f | %.1f | %.2f | %.1f |\n", category.name, entries,
                    driver.Control().TotalProblems, seconds, seconds * 1e6 / (entries > 0 ? entries : 1), walk,
                    Peak_Megabytes());
        std::fflush(stdout);
        Seed(category, entries, true);
    }
    return 0;
}
