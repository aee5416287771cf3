// The scan-wide state shared by the scan driver and the category routines:
// the problem counter that numbers the rows, and the Stop and Skip requests
// that the progress panel's commands set while the message pump runs.
#pragma once

#include <cstdint>

namespace corvane::scan {

struct ScanControl {
    // Problem rows added in this scan over every computer; a row's key carries
    // the value before the increment, so keys stay unique across the scan.
    std::int32_t TotalProblems = 0;
    bool StopRequested = false;
    // Leave the current list (key, phase or category); the routines clear it.
    bool SkipRequested = false;

    void Reset() noexcept { *this = ScanControl{}; }
};

}  // namespace corvane::scan
