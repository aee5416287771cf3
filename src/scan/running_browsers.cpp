#include "scan/running_browsers.h"

#include <algorithm>

#include "base/log.h"
#include "base/reporter.h"
#include "base/text.h"
#include "remote/wmi_system.h"

namespace corvane::scan {

bool RunningBrowsers::Runs_For(std::string_view processName, std::string_view browserName, std::string_view user) {
    auto known = owners_.find(std::string(processName));
    if (known == owners_.end()) {
        known =
            owners_.emplace(std::string(processName), remote::WMI_Process_Owners(target_.Cimv2(), processName)).first;
    }
    const std::optional<std::vector<std::string>>& owners = known->second;
    const bool runs = !owners || std::any_of(owners->begin(), owners->end(),
                                             [&](const std::string& sid) { return Equals_Ignore_Case(sid, user); });
    if (!runs) return false;
    const std::string how = owners ? " runs for user " : " may run for user ";
    target_.Context().Ports().reporter.Log_Event(
        std::string(browserName) + how + std::string(user) + " on " + target_.Context().ComputerName +
            (owners ? "" : " (its processes could not be read)") + ": that user's " + std::string(browserName) +
            " files are not listed",
        LOG_WARNING);
    return true;
}

}  // namespace corvane::scan
