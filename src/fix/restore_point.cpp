#include "fix/restore_point.h"

#include <string>

#include "base/log.h"
#include "base/reporter.h"
#include "fix/fix_settings.h"
#include "remote/restore_point_check.h"
#include "remote/target_context.h"
#include "remote/wmi_system.h"
#include "settings/general_options.h"

namespace corvane::fix {

namespace {

bool Ask_To_Continue(Reporter& reporter, const std::string& message) {
    return reporter.Messages().Show(message + "\r\n\r\n" + kContinueFixingQuestion, MsgButtons::YesNo,
                                    MsgIcon::Exclamation) == MsgResult::Yes;
}

}  // namespace

bool Create_Restore_Point_Before_Fixing(FixEnvironment& env, const remote::TargetContext& target,
                                        wmi::IServices& rootDefault) {
    if (!Fix_Option(env, GO_RESTORE_POINT)) return true;
    Reporter& reporter = target.Ports().reporter;
    const bool automatic = Fix_Option(env, GO_AUTOMATIC_FIXING);

    if (Is_System_Restore_Unsupported(target.OSVersion)) {
        const std::string message =
            "System Restore feature is not supported by the Computer '" + target.ComputerName + "'.";
        if (automatic) {
            reporter.Show_Error(false, message);
            return true;
        }
        return Ask_To_Continue(reporter, message);
    }

    // Windows may keep a recent restore point instead of making a new one.
    const remote::CheckedRestorePoint point =
        remote::WMI_Create_Checked_Restore_Point(rootDefault, target.Ports().clock);
    if (point.outcome == remote::RestorePointOutcome::Created) {
        reporter.Log_Event(kRestorePointCreated, LOG_INFO);
        return true;
    }
    if (point.outcome != remote::RestorePointOutcome::Failed) {
        reporter.Log_Event(remote::Kept_Restore_Point_Text(point.kept), point.Succeeded() ? LOG_INFO : LOG_WARNING);
        if (point.Succeeded()) return true;
    }
    const std::string message =
        "Error while creating System Restore Point for the computer '" + target.ComputerName + "'.";
    reporter.Show_Error(false, message);
    const bool abort = Fix_Option(env, GO_ABORT_FIXING);
    if (!automatic) {
        if (!abort) return Ask_To_Continue(reporter, message);
        reporter.Messages().Show(message, MsgButtons::Ok, MsgIcon::Critical);
        return false;
    }
    if (abort) {
        reporter.Show_Error(false, kFixingAbortedText);
        return false;
    }
    return true;
}

}  // namespace corvane::fix
