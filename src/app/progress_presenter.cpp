#include "app/progress_presenter.h"

#include <algorithm>
#include <string>

namespace corvane {

namespace {
constexpr const char* kNoItems = "0/0";
constexpr const char* kFixingCaption = "Please wait while fixing problems...";
}  // namespace

void ProgressPresenter::Show_Captions(bool fixing) {
    view_.Set_Label(ProgressLabel::Progress, fixing ? kFixingCaption : "Please wait while scanning...");
    view_.Set_Label(ProgressLabel::ScannedItems, fixing ? "Presently Fixing:" : "Presently Scanning:");
    view_.Set_Label(ProgressLabel::Category, fixing ? "Fixing Progress:" : "Scanning Progress:");
    view_.Set_Label(ProgressLabel::ProblemsFound, fixing ? "Problems Fixed:" : "Problems Found:");
    view_.Set_Label(ProgressLabel::ProblemsCount, "0");
}

void ProgressPresenter::Reset_Bar() {
    barMaximum_ = categories_ + 2;
    barValue_ = std::min(2, barMaximum_);
    view_.Set_Progress(1, barMaximum_, barValue_);
}

void ProgressPresenter::Advance_Bar() {
    // A computer with more categories listed than checked stops at the end.
    barValue_ = std::min(barValue_ + 1, barMaximum_);
    view_.Set_Progress(1, barMaximum_, barValue_);
}

void ProgressPresenter::Scan_Started(int categories) {
    fixing_ = false;  // a fix cut short by an error never said it ended
    categories_ = categories;
    computerCounts_.clear();
    Reset_Bar();
    Show_Captions(false);
}

void ProgressPresenter::Computer_Started(std::string_view computerName) {
    // An automatic fix of the computer before left its own captions.
    if (!fixing_) Show_Captions(false);
    Reset_Bar();
    computerName_ = std::string(computerName);
    Show_Computer();
    view_.Set_Label(ProgressLabel::ScanCategory, "");
    view_.Set_Label(ProgressLabel::ScannedItemCount, kNoItems);
}

void ProgressPresenter::Computer_Ended() {
    computerName_.clear();
    Show_Computer();
    view_.Set_Label(ProgressLabel::ScanCategory, "");
    view_.Set_Label(ProgressLabel::ScannedItemCount, kNoItems);
}

void ProgressPresenter::Computers_Counted(int done, int running, int waiting) {
    computerCounts_ = " (" + std::to_string(done) + " done, " + std::to_string(running) + " running, " +
                      std::to_string(waiting) + " waiting)";
    Show_Computer();
}

void ProgressPresenter::Show_Computer() {
    view_.Set_Label(ProgressLabel::ComputerName,
                    computerName_.empty() && computerCounts_.empty() ? std::string() : computerName_ + computerCounts_);
}

void ProgressPresenter::Category_Started(std::string_view displayName) {
    view_.Set_Label(ProgressLabel::ScanCategory, displayName);
    view_.Set_Label(ProgressLabel::ScannedItemCount, kNoItems);
    // The fix counts the categories it has reached, the scan those it has done.
    if (fixing_) Advance_Bar();
}

void ProgressPresenter::Category_Phase(std::string_view caption) {
    view_.Set_Label(ProgressLabel::ScanCategory, caption);
}

void ProgressPresenter::Category_Ended() {
    Advance_Bar();
    view_.Set_Label(ProgressLabel::ScanCategory, "");
    view_.Set_Label(ProgressLabel::ScannedItemCount, kNoItems);
}

void ProgressPresenter::Entry_Done(std::int64_t position, std::int64_t upperBound) {
    view_.Set_Label(ProgressLabel::ScannedItemCount, std::to_string(position) + "/" + std::to_string(upperBound));
}

void ProgressPresenter::Problems_Found(std::int32_t total) {
    view_.Set_Label(ProgressLabel::ProblemsCount, std::to_string(total));
}

void ProgressPresenter::Fix_Started(int categories) {
    fixing_ = true;
    categories_ = categories;
    computerCounts_.clear();
    Reset_Bar();
    Show_Captions(true);
    view_.Set_Label(ProgressLabel::Skip, "");
}

void ProgressPresenter::Problems_Fixed(std::int32_t total, std::int32_t inCategory, std::int32_t foundInCategory) {
    view_.Set_Label(ProgressLabel::ProblemsCount, " " + std::to_string(total));
    view_.Set_Label(ProgressLabel::ScannedItemCount,
                    std::to_string(inCategory) + "/" + std::to_string(foundInCategory));
}

void ProgressPresenter::Restore_Point_Started() { view_.Set_Label(ProgressLabel::Progress, "Backing up system..."); }

void ProgressPresenter::Restore_Point_Ended() { view_.Set_Label(ProgressLabel::Progress, kFixingCaption); }

void ProgressPresenter::Fix_Ended(std::int32_t, std::int32_t) {
    fixing_ = false;
    view_.Set_Label(ProgressLabel::Skip, kSkipCaption);
}

}  // namespace corvane
