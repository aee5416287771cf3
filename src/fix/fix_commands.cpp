#include "fix/fix_commands.h"

#include "base/log.h"
#include "base/reporter.h"
#include "base/text.h"
#include "base/ui/main_window_port.h"
#include "base/ui/results_list.h"
#include "fix/fix_problems.h"
#include "fix/fix_settings.h"
#include "remote/target_context.h"
#include "remote/wmi_connection.h"
#include "remote/wmi_system.h"
#include "settings/general_options.h"

namespace corvane::fix {

bool mnuFixProblems_Click(FixEnvironment& env) {
    if (Count_Fixable_Problems(env.window.Results()) < 1) return false;
    Reporter& reporter = env.remote.reporter;
    if (reporter.Messages().Show(kFixQuestion, MsgButtons::YesNo, MsgIcon::Question) == MsgResult::No) return false;
    reporter.Log_Event("Fix Mode: Manual", LOG_INFO);
    Start_Fixing(env, false);
    return true;
}

AutoFixResult Fix_After_Scan(FixEnvironment& env, const ScannedComputer& computer) {
    AutoFixResult result;
    if (env.stopRequested) {
        result.stopped = true;
        return result;
    }
    const remote::RemotePorts& ports = env.remote;
    if (Count_Fixable_Problems(env.window.Results()) >= 1) {
        ports.reporter.Log_Event("Fix Mode: Auto", LOG_INFO);
        Start_Fixing(env, true);
        result.fixed = true;
        if (env.stopRequested) {
            result.stopped = true;
            return result;
        }
        env.window.Results().Clear();
    }

    const std::string localName = ports.localSystem.Computer_Name();
    const bool local = !computer.isRemote || Equals_Ignore_Case(computer.targetName, localName) ||
                       Equals_Ignore_Case(computer.computerName, localName);
    if (local || !Fix_Option(env, GO_SHUTDOWN)) return result;

    const wmi::ServicesPtr cimv2 =
        remote::WMI_Connect_To(ports, "CIMV2", computer.computerName, computer.userName, computer.password);
    if (cimv2 && remote::WMI_Shutdown(*cimv2, computer.computerName, remote::kShutdownForced)) {
        result.shutDown = true;
        ports.reporter.Log_Event("Shutdown Computer: " + computer.computerName, LOG_INFO);
    } else {
        ports.reporter.Show_Error(false, "The computer '" + computer.computerName + "' could not be shut down.");
    }
    return result;
}

}  // namespace corvane::fix
