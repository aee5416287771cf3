#include "app/scan_and_fix.h"

#include <string>

#include "base/log.h"
#include "base/reporter.h"
#include "base/ui/main_window_port.h"
#include "fix/fix_commands.h"
#include "fix/fix_problems.h"
#include "remote/target_context.h"
#include "scan/scan_categories.h"
#include "scan/scan_target.h"
#include "settings/general_options.h"

namespace corvane {

fix::FixEnvironment ScanAndFix::Fix_Environment() {
    fix::FixEnvironment env{
        window_, progress_, db_, target_.Context().Ports(), driver_.Stop_Flag(), &Category_Recheck_Rules};
    env.computersAtOnce = driver_.Computers_At_Once();
    env.workerThreads = driver_.Worker_Threads();
    return env;
}

void ScanAndFix::Fix_Problems() {
    if (driver_.Is_Running()) return;
    fix::FixEnvironment env = Fix_Environment();
    (void)fix::mnuFixProblems_Click(env);
}

bool ScanAndFix::After_Computer(const scan::ComputerScanned& computer) {
    if (!IsGeneralOptionSet(db_, GO_AUTOMATIC_FIXING)) return true;
    // What the scan knew of the computer, for its shutdown after the fix.
    const fix::ScannedComputer scanned{computer.computerName, computer.userName, computer.password, computer.targetName,
                                       computer.isRemote};
    fix::FixEnvironment env = Fix_Environment();
    env.computersAtOnce = 1;  // the list holds this computer's rows only
    return !fix::Fix_After_Scan(env, scanned).stopped;
}

void ScanAndFix::After_Scan() {
    const scan::ScanControl& control = driver_.Control();
    if (IsGeneralOptionSet(db_, GO_AUTOMATIC_FIXING) || control.StopRequested || control.TotalProblems <= 0) return;
    const std::string question = "Successfully completed scanning. " + std::to_string(control.TotalProblems) +
                                 " Problems Found.\r\n\r\nDo you want to fix the problems now?";
    if (reporter_.Messages().Show(question, MsgButtons::YesNo, MsgIcon::Question) != MsgResult::Yes) return;
    reporter_.Log_Event("Fix Mode: Manual", LOG_INFO, true);
    fix::FixEnvironment env = Fix_Environment();
    fix::Start_Fixing(env, false);
}

}  // namespace corvane
