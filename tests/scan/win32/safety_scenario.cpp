// The console scan and fix of Application Paths and User Temp on the local
// computer under Wine, in a prefix the calling script prepared (C:\CvnLoop
// cannot be listed, C:\CvnSafe\app.exe exists, the user's Temp holds the
// files of the swap, the wineserver keeps running). Seeds three entries: one
// whose program sits in the folder that cannot be listed, one whose valid
// path is stored without a terminating zero, and one whose program is missing
// and is "reinstalled" between scan and fix. Only the last may be listed, and
// the fix must delete none of them. Between scan and fix the script swaps
// files of Temp on the host side (see safety_wine_test.sh), which checks what
// survived. Prints what failed; exit status 0 when all held.
#include <windows.h>

#include <iostream>
#include <sstream>
#include <string>

#include "base/log.h"
#include "base/reporter.h"
#include "base/ui/results_list.h"
#include "base/win32/clock_win32.h"
#include "base/win32/com_init.h"
#include "base/win32/platform_win32.h"
#include "base/win32/unique_any.h"
#include "console/console_window.h"
#include "console/cvnscan_run.h"
#include "db/database.h"
#include "fix/fix_problems.h"
#include "remote/share_walk.h"
#include "remote/target_context.h"
#include "remote/win32/windows_remote_ports.h"
#include "scan/scan_categories.h"
#include "scan/scan_target.h"

namespace {

using namespace corvane;

const std::wstring kAppPaths = L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";

int failures = 0;

void Expect(bool condition, const std::string& what) {
    if (condition) return;
    std::cout << "FAILED: " << what << '\n';
    ++failures;
}

// The entry's default value; counted bytes only, so that a string can be
// stored without its terminating zero. RegSetValueExW adds a zero the caller
// left out when the next character in memory is one, hence the "#" after it.
bool Seed(const std::wstring& entry, const std::wstring& path, bool terminate) {
    win32::unique_hkey key;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, (kAppPaths + entry).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        key.put(), nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const std::wstring stored = terminate ? path : path + L"#";
    const DWORD bytes = static_cast<DWORD>((path.size() + (terminate ? 1 : 0)) * sizeof(wchar_t));
    return RegSetValueExW(key.get(), L"", 0, REG_SZ, reinterpret_cast<const BYTE*>(stored.c_str()), bytes) ==
           ERROR_SUCCESS;
}

// Asks the calling script to change the user's Temp on the host side and
// waits until it has: C:\CvnSwap.request, answered by C:\CvnSwap.done.
void Swap_On_The_Host() {
    CloseHandle(
        CreateFileW(L"C:\\CvnSwap.request", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    for (int waited = 0; waited < 600; ++waited) {
        if (GetFileAttributesW(L"C:\\CvnSwap.done") != INVALID_FILE_ATTRIBUTES) return;
        Sleep(100);
    }
    Expect(false, "the script did not swap the files of Temp");
}

bool Entry_Exists(const std::wstring& entry) {
    win32::unique_hkey key;
    return RegOpenKeyExW(HKEY_LOCAL_MACHINE, (kAppPaths + entry).c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

// C:\CvnLinked is a host symbolic link to C:\CvnLinkTarget, which holds
// keep.txt: the checked deletion opens without following it and deletes
// nothing through it, neither the file behind it nor the link.
void Check_Deletion_Through_A_Link() {
    remote::win32::NativeShareLister lister;
    remote::ListedEntry link;
    Expect(lister.Entry_Of("C:\\CvnLinked", link) == remote::ListingResult::Found && link.Is_Reparse_Point(),
           "the link is not reported as a reparse point");
    remote::ListedEntry kept;
    Expect(lister.Entry_Of("C:\\CvnLinkTarget\\keep.txt", kept) == remote::ListingResult::Found,
           "the link's target file is missing");
    const auto through = lister.Delete_Checked("C:\\CvnLinked\\keep.txt", "C:\\CvnLinked", kept.identity);
    Expect(through.outcome == remote::DeleteOutcome::ReparsePoint,
           "a deletion through the link: " + remote::Delete_Outcome_Text(through));
    const auto itself = lister.Delete_Checked("C:\\CvnLinked", "C:\\CvnLinked", link.identity);
    Expect(itself.outcome == remote::DeleteOutcome::ReparsePoint,
           "a deletion of the link: " + remote::Delete_Outcome_Text(itself));
    Expect(GetFileAttributesW(L"C:\\CvnLinkTarget\\keep.txt") != INVALID_FILE_ATTRIBUTES,
           "the file behind the link was deleted");
}

int Run() {
    if (!Seed(L"CvnSafe-Hidden.exe", L"C:\\CvnLoop\\hidden.exe", true) ||
        !Seed(L"CvnSafe-NoZero.exe", L"C:\\CvnSafe\\app.exe", false) ||
        !Seed(L"CvnSafe-Back.exe", L"C:\\CvnBack\\back.exe", true)) {
        std::cout << "FAILED: seeding the registry\n";
        return 1;
    }
    const win32::ComInit com;
    win32::Win32Platform platform;
    win32::Win32Clock clock;
    console::ConsoleMessageBox messages(std::cerr, true);
    Reporter reporter(messages);
    const std::string logPath = platform.Program_Folder() + "\\safety.log";
    clsLog log(logPath, clock);
    log.Start_Logging(logPath);
    reporter.Attach_Log(&log);
    Database db(reporter);
    if (!db.Open_Database(platform.Program_Folder() + "\\nwcvninfo.dll")) return 1;
    const remote::win32::WindowsRemotePorts windows(platform.Computer_Name(), reporter, clock);
    const remote::RemotePorts& ports = windows.Ports();
    scan::ScanTarget target(ports, remote::kScanning);
    console::ConsoleWindow window(windows.Local_Name());

    bool stopRequested = false;
    std::string listedBeforeFix;
    console::ConsoleEnvironment env{
        db, reporter, target, window, [&](IMainWindow& fixWindow, IProgressEvents& progress) {
            for (std::size_t i = 0; i < fixWindow.Results().Count(); ++i) {
                listedBeforeFix += fixWindow.Results().Row(i).text + "\n";
            }
            // The software is installed again between scan and fix.
            CreateDirectoryW(L"C:\\CvnBack", nullptr);
            CloseHandle(CreateFileW(L"C:\\CvnBack\\back.exe", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
            Swap_On_The_Host();
            fix::FixEnvironment fixEnv{fixWindow, progress, db, ports, stopRequested, &Category_Recheck_Rules};
            fix::Start_Fixing(fixEnv, false);
        }};
    console::ConsoleOptions options;
    options.categories = {"fD", "dB"};
    options.fix = true;
    options.yes = true;
    std::ostringstream out;
    std::ostringstream err;
    (void)console::Run_Console_Scan(options, env, out, err);
    db.Close_Database();

    Expect(listedBeforeFix.find("C:\\CvnBack\\back.exe") != std::string::npos, "the missing program is listed");
    Expect(listedBeforeFix.find("hidden.exe") == std::string::npos, "an entry in an unlistable folder is listed");
    Expect(listedBeforeFix.find("CvnSafe\\app") == std::string::npos, "a string without its zero is listed");
    const std::string results = out.str();
    Expect(results.find("Problem no longer present") != std::string::npos, "the reinstalled program's row");
    for (const wchar_t* entry : {L"CvnSafe-Hidden.exe", L"CvnSafe-NoZero.exe", L"CvnSafe-Back.exe"}) {
        Expect(Entry_Exists(entry), "an entry was deleted");
    }
    Check_Deletion_Through_A_Link();
    std::cout << "listed before the fix:\n" << listedBeforeFix << "results:\n" << results << err.str();
    return failures == 0 ? 0 : 1;
}

}  // namespace

int main() {
    try {
        return Run();
    } catch (const std::exception& error) {
        std::cout << "FAILED: " << error.what() << '\n';
        return 1;
    }
}
