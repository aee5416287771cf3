// What the console scanner makes of the scan's and the fix's progress events:
// there is no panel to draw and nobody to press Stop or Skip, so it keeps the
// totals that end its error stream.
#pragma once

#include <cstdint>
#include <string>

#include "base/ui/progress_events.h"
#include "fix/fix_problems.h"
#include "scan/scan_driver.h"

namespace corvane::console {

class ConsoleProgress final : public IProgressEvents {
public:
    void Scan_Ended(std::int32_t problemsFound) override { found_ = problemsFound; }
    void Fix_Ended(std::int32_t fixed, std::int32_t found) override {
        fixed_ = fixed;
        fixFound_ = found;
    }

    // "Total Problems Found: " and the scan's total.
    [[nodiscard]] std::string Found_Line() const { return scan::kTotalProblemsText + std::to_string(found_); }
    // "Total Problems Fixed: " with fixed/found of the last fix; 0/0 when none ran.
    [[nodiscard]] std::string Fixed_Line() const {
        return fix::kTotalProblemsFixedText + std::to_string(fixed_) + "/" + std::to_string(fixFound_);
    }

private:
    std::int32_t found_ = 0;
    std::int32_t fixed_ = 0;
    std::int32_t fixFound_ = 0;
};

}  // namespace corvane::console
