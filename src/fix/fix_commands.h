// The two ways into the fixing routine besides the end-of-scan question:
// the main window's Fix command (manual mode), and the automatic-mode step
// that the scan driver runs after each computer (fix, clear the list, and
// shut a remote computer down when that option is set).
#pragma once

#include <string>

#include "base/secret.h"
#include "fix/fix_environment.h"

namespace corvane::fix {

inline constexpr const char* kFixQuestion = "Are you sure you want to fix the checked problems?";

// mnuFixProblems: with at least one checked, un-fixed problem row, asks
// kFixQuestion and, unless the answer is No, logs "Fix Mode: Manual" and
// fixes with the panel hidden afterwards. With none, nothing happens.
// Returns true when fixing ran.
bool mnuFixProblems_Click(FixEnvironment& env);

// The computer just scanned, as the scan driver knew it (the fix opens it in a
// session of its own).
struct ScannedComputer {
    std::string computerName;  // as listed
    std::string userName;
    Secret password;
    std::string targetName;  // Win32_ComputerSystem.Name
    bool isRemote = false;   // TargetContext::IsRemote of the scan
};

struct AutoFixResult {
    bool fixed = false;     // the fixing routine ran
    bool stopped = false;   // Stop was requested: the driver leaves its computer loop
    bool shutDown = false;  // the computer accepted Win32Shutdown
};

// The automatic-mode step after one computer's scan (the caller has checked
// that automatic fixing is set):
// 1. Stop already requested: nothing is done (stopped).
// 2. With checked, un-fixed rows: logs "Fix Mode: Auto", fixes with the panel
//    kept, then clears the results list. When Stop was pressed during the
//    fix, the list keeps its rows (the record of what was and was not fixed)
//    and nothing more happens.
// 3. When the shutdown option is set and the computer is not the one the
//    program runs on (remote for the scan, and its name differs from the
//    local name in any letter case): Win32Shutdown with flags 5 through a
//    fresh "CIMV2" connection, and the log line "Shutdown Computer: " + name.
AutoFixResult Fix_After_Scan(FixEnvironment& env, const ScannedComputer& computer);

}  // namespace corvane::fix
