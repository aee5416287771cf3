// The scan followed by its fix, as the main window runs them: in automatic
// mode each computer's rows are fixed as soon as it is scanned and a remote
// computer may then be shut down; in manual mode a scan that found problems
// ends with the question whether to fix them now. The Fix Problems command
// shares the scan's Stop request and waits while a scan runs.
#pragma once

#include <string_view>

#include "fix/fix_environment.h"
#include "scan/scan_driver.h"

namespace corvane {

class ScanAndFix final : private scan::IScanFollowUp {
public:
    // progress: the window's progress presenter, told by the scan and the fix alike.
    ScanAndFix(IMainWindow& window, IProgressEvents& progress, Database& db, Reporter& reporter,
               scan::ScanTarget& target)
        : window_(window),
          progress_(progress),
          db_(db),
          reporter_(reporter),
          target_(target),
          driver_({window, progress, db, reporter, target, this}) {}
    ScanAndFix(const ScanAndFix&) = delete;
    ScanAndFix& operator=(const ScanAndFix&) = delete;

    [[nodiscard]] scan::ScanDriver& Driver() noexcept { return driver_; }
    // Fix Problems over the checked rows; nothing while a scan runs.
    void Fix_Problems();

private:
    bool After_Computer(const scan::ComputerScanned& computer) override;
    void After_Scan() override;
    // The fix over the scan's remote ports (it opens its own session), with
    // the categories' re-test rules.
    [[nodiscard]] fix::FixEnvironment Fix_Environment();

    IMainWindow& window_;
    IProgressEvents& progress_;
    Database& db_;
    Reporter& reporter_;
    scan::ScanTarget& target_;
    scan::ScanDriver driver_;
};

}  // namespace corvane
