// Entry point of cvnscan.exe, the console scanner: the Windows ports, the
// database next to the program (or the one named by --database), the log
// "cvnscan.log" next to the program, the locator that serves the local
// computer natively and every other one through WMI, then the console run.
// DLLs load from the system directory only.
// Output is UTF-8; nothing here shows a window or waits for input.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "base/log.h"
#include "base/reporter.h"
#include "base/win32/clock_win32.h"
#include "base/win32/com_init.h"
#include "base/win32/data_protection_win32.h"
#include "base/win32/platform_win32.h"
#include "base/win32/system_library.h"
#include "base/win32/wide_text.h"
#include "console/console_window.h"
#include "console/cvnscan_run.h"
#include "console/cvnscan_undo.h"
#include "db/app_tables.h"
#include "db/database.h"
#include "db/password_codec.h"
#include "fix/fix_problems.h"
#include "remote/win32/com_runtime.h"
#include "remote/win32/com_worker_threads.h"
#include "remote/win32/windows_remote_ports.h"
#include "scan/scan_categories.h"
#include "scan/scan_target.h"
#include "settings/general_options.h"

namespace {

using namespace corvane;

int Run(const std::vector<std::string>& args) {
    const console::ParsedCommandLine parsed = console::Parse_Command_Line(args);
    if (!parsed.options) {
        std::cerr << "cvnscan: " << parsed.error << '\n' << console::Usage_Text();
        return console::kExitUsage;
    }
    const console::ConsoleOptions& options = *parsed.options;
    if (options.help) {
        std::cout << console::Usage_Text() << console::Category_List_Text();
        return console::kExitScanned;
    }
    std::string badKey;
    if (!console::Valid_Category_Keys(options.categories, badKey)) {
        std::cerr << "cvnscan: unknown category: " << badKey << '\n' << console::Usage_Text();
        return console::kExitUsage;
    }

    const win32::ComInit com;
    if (remote::win32::Com_Usable(com)) remote::win32::Initialize_Com_Security();

    win32::Win32Platform platform;
    win32::Win32Clock clock;
    console::ConsoleMessageBox messages(std::cerr, options.yes);
    Reporter reporter(messages);
    const std::string logPath = platform.Program_Folder() + "\\" + platform.Executable_Name() + ".log";
    clsLog log(logPath, clock);
    log.Start_Logging(logPath);
    reporter.Attach_Log(&log);

    std::string databasePath = options.databaseFile;
    if (databasePath.empty()) {
        databasePath = Find_Or_Create_Database(platform, reporter);
        if (databasePath.empty()) {
            std::cerr << "cvnscan: the database " << kDatabaseFileName << " is not next to the program\n";
            return console::kExitUsage;
        }
    } else if (::GetFileAttributesW(win32::Widen(databasePath).c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::cerr << "cvnscan: no database file " << databasePath << '\n';
        return console::kExitUsage;
    }
    Database db(reporter);
    win32::Win32DataProtection protection;
    PasswordCodec passwords(protection, reporter);
    db.Attach_Password_Codec(&passwords);
    if (!db.Open_Database(databasePath)) {
        std::cerr << "cvnscan: cannot open the database " << databasePath << '\n';
        return console::kExitUsage;
    }
    Migrate_Database(db, reporter);

    const std::string localName = platform.Computer_Name();
    remote::win32::WindowsRemotePorts remotePorts(localName, reporter, clock);
    if (!options.undoFile.empty()) {
        const int status = console::Run_Console_Undo(options, db, remotePorts.Ports(), std::cout, std::cerr);
        std::cout.flush();
        db.Close_Database();
        return status;
    }
    scan::ScanTarget target(remotePorts.Ports(), remote::kScanning);
    console::ConsoleWindow window(localName);

    bool stopRequested = false;
    remote::win32::ComWorkerThreads workerThreads(remotePorts.Local_Name());
    console::ConsoleEnvironment env{
        db, reporter, target, window, [&](IMainWindow& fixWindow, IProgressEvents& progress) {
            fix::FixEnvironment fixEnv{fixWindow,           progress,      db,
                                       remotePorts.Ports(), stopRequested, &Category_Recheck_Rules,
                                       options.undoBackup};
            fixEnv.computersAtOnce = options.parallel > 0 ? options.parallel : Get_Computers_At_Once(db);
            fixEnv.workerThreads = &workerThreads;
            fix::Start_Fixing(fixEnv, false);
        }};
    env.workerThreads = &workerThreads;
    const int status = console::Run_Console_Scan(options, env, std::cout, std::cerr);
    std::cout.flush();
    db.Close_Database();
    return status;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    corvane::win32::Restrict_Dll_Search_To_System();
    // Scheduled runs have nobody to answer: no critical-error or crash dialog may wait.
    (void)::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    ::SetConsoleOutputCP(CP_UTF8);
    // The results carry their own CR LF; nothing may be translated.
    (void)::_setmode(::_fileno(stdout), _O_BINARY);
    (void)::_setmode(::_fileno(stderr), _O_BINARY);
    try {
        std::vector<std::string> args;
        for (int i = 1; i < argc; ++i) args.push_back(corvane::win32::Narrow(argv[i]));
        return Run(args);
    } catch (const std::exception& error) {
        std::cerr << "cvnscan: " << error.what() << '\n';
        return corvane::console::kExitNotScanned;
    }
}
