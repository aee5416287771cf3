// Whether a browser runs for a user of the computer being scanned: a
// browser that runs keeps that user's files unlisted, because a cache or a
// database deleted under a running browser can corrupt it (and Edge's
// start-up boost keeps msedge.exe running for people who never open it).
// The processes are asked once per category and program; a process list or
// an owner that cannot be read counts as running. The fix asks again
// (Reason::EntryPresentProgramClosed).
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scan/scan_target.h"

namespace corvane::scan {

class RunningBrowsers {
public:
    explicit RunningBrowsers(ScanTarget& target) : target_(target) {}
    RunningBrowsers(const RunningBrowsers&) = delete;
    RunningBrowsers& operator=(const RunningBrowsers&) = delete;

    // True when processName ("chrome.exe") runs for the user (a SID), or may;
    // the log then names the user and the browser (browserName, "Chrome").
    [[nodiscard]] bool Runs_For(std::string_view processName, std::string_view browserName, std::string_view user);

private:
    ScanTarget& target_;
    std::map<std::string, std::optional<std::vector<std::string>>> owners_;  // by process name
};

}  // namespace corvane::scan
