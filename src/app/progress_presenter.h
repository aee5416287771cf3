// The main window's progress panel as the scan and the fix drive it: the
// presenter turns their progress events into the panel's captions, counters
// and progress bar, and passes the message pump on to the window. Which
// texts show when is decided here; the window only draws them.
#pragma once

#include <string>
#include <string_view>

#include "base/ui/progress_events.h"

namespace corvane {

// Labels of the progress panel picProgressReport.
enum class ProgressLabel {
    Progress,          // lblProgress
    ScannedItems,      // lblScannedItems
    ComputerName,      // lblComputerName
    Category,          // lblCategory
    ScanCategory,      // lblScanCategory
    ProblemsFound,     // lblProblemsFound
    ProblemsCount,     // lblProblemsCount
    ScannedItemCount,  // lblScannedItemCount
    Skip,              // lblSkip (clickable)
};

// The Skip link's caption; emptied (and so hidden) while fixing.
inline constexpr const char* kSkipCaption = "Skip";

// What the presenter needs of the window: the labels, the progress bar and the pump.
class IProgressPanelView {
public:
    virtual ~IProgressPanelView() = default;
    IProgressPanelView() = default;
    IProgressPanelView(const IProgressPanelView&) = delete;
    IProgressPanelView& operator=(const IProgressPanelView&) = delete;

    virtual void Set_Label(ProgressLabel label, std::string_view text) = 0;
    // pbrScanningProgress: Min, Max and Value, the value within the range.
    virtual void Set_Progress(int minimum, int maximum, int value) = 0;
    // If key, mouse-button, paint or hot-key messages wait, restores a
    // minimized window and processes every pending message; else returns.
    virtual void FormDoMyDoEvents() = 0;
};

class ProgressPresenter final : public IProgressEvents {
public:
    explicit ProgressPresenter(IProgressPanelView& view) : view_(view) {}

    void Scan_Started(int categories) override;
    void Computer_Started(std::string_view computerName) override;
    void Computer_Ended() override;
    void Computers_Counted(int done, int running, int waiting) override;
    void Category_Started(std::string_view displayName) override;
    void Category_Phase(std::string_view caption) override;
    void Category_Ended() override;
    void Entry_Done(std::int64_t position, std::int64_t upperBound) override;
    void Problems_Found(std::int32_t total) override;
    void Fix_Started(int categories) override;
    void Problems_Fixed(std::int32_t total, std::int32_t inCategory, std::int32_t foundInCategory) override;
    void Restore_Point_Started() override;
    void Restore_Point_Ended() override;
    void Fix_Ended(std::int32_t fixed, std::int32_t found) override;
    void Pump() override { view_.FormDoMyDoEvents(); }

private:
    // The four captions and the problem count "0".
    void Show_Captions(bool fixing);
    // The bar of one computer: minimum 1, value 2, maximum categories + 2.
    void Reset_Bar();
    void Advance_Bar();
    void Show_Computer();

    IProgressPanelView& view_;
    int categories_ = 0;
    std::string computerName_;
    std::string computerCounts_;  // " (2 done, 4 running, 3 waiting)" while several run
    int barMaximum_ = 100;
    int barValue_ = 0;
    // A fix runs, on its own or inside a scan (automatic fixing).
    bool fixing_ = false;
};

}  // namespace corvane
