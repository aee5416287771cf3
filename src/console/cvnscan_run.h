// The console scanner's run: builds the computer and category trees from the
// options, runs the same scan driver as the main window (unattended: no
// automatic fixing, no shutdown, no fix question), fixes every listed problem
// when asked, and writes the results list in its clipboard text form, error
// rows and totals on the error stream. Returns the exit status.
#pragma once

#include <functional>
#include <ostream>
#include <string>

#include "console/console_window.h"
#include "console/cvnscan_options.h"
#include "scan/scan_target.h"

namespace corvane {
class Database;
class IMainWindow;
class IProgressEvents;
class IWorkerThreads;
class Reporter;
}  // namespace corvane

namespace corvane::console {

// The fixing routine in manual mode over the window's results list, telling
// its progress to `progress`.
using ConsoleFix = std::function<void(IMainWindow& window, IProgressEvents& progress)>;

struct ConsoleEnvironment {
    Database& db;        // open
    Reporter& reporter;  // log lines; its message box answers the questions
    scan::ScanTarget& target;
    ConsoleWindow& window;
    ConsoleFix fix;  // empty: --fix is refused
    // What each worker thread enters first (COM on Windows); null: nothing.
    IWorkerThreads* workerThreads = nullptr;
};

[[nodiscard]] int Run_Console_Scan(const ConsoleOptions& options, ConsoleEnvironment& env, std::ostream& out,
                                   std::ostream& err);

// True when every key names a node of the category tree (or is "all");
// otherwise badKey is the first that does not.
[[nodiscard]] bool Valid_Category_Keys(const std::vector<std::string>& keys, std::string& badKey);

// The category tree as --help lists it: each group's text, then each of its
// categories' key and text, indented by depth.
[[nodiscard]] std::string Category_List_Text();

// Checks the category nodes named by the keys ("all" or none: every node).
// False with the unknown key in badKey.
[[nodiscard]] bool Check_Categories(ConsoleWindow& window, const std::vector<std::string>& keys, std::string& badKey);

}  // namespace corvane::console
