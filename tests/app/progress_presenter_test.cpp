#include "app/progress_presenter.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "support/window_fakes.h"

namespace corvane {
namespace {

using L = ProgressLabel;

// One scan of two categories with an automatic fix of its first computer,
// then the counts of a scan of several computers at once:
// each event and the panel texts and bar value it leaves.
TEST(ProgressPresenter, TurnsTheEventsOfAScanWithAutomaticFixingIntoThePanelsTexts) {
    testing::FakeMainWindow window;
    ProgressPresenter presenter(window);
    struct Step {
        std::function<void()> event;
        std::vector<std::pair<L, std::string>> labels;
        int bar;
    };
    const std::vector<std::pair<L, std::string>> scanCaptions{{L::Progress, "Please wait while scanning..."},
                                                              {L::ScannedItems, "Presently Scanning:"},
                                                              {L::Category, "Scanning Progress:"},
                                                              {L::ProblemsFound, "Problems Found:"},
                                                              {L::ProblemsCount, "0"}};
    const Step steps[] = {
        {[&] { presenter.Scan_Started(2); }, scanCaptions, 2},
        {[&] { presenter.Computer_Started("PC1"); },
         {{L::ComputerName, "PC1"}, {L::ScanCategory, ""}, {L::ScannedItemCount, "0/0"}},
         2},
        {[&] { presenter.Category_Started("Help Files"); }, {{L::ScanCategory, "Help Files"}}, 2},
        {[&] {
             presenter.Entry_Done(5, 4);
             presenter.Problems_Found(7);
         },
         {{L::ScannedItemCount, "5/4"}, {L::ProblemsCount, "7"}},
         2},
        {[&] { presenter.Category_Phase("ActiveX/COMs - Phase II of III"); },
         {{L::ScanCategory, "ActiveX/COMs - Phase II of III"}, {L::ScannedItemCount, "5/4"}},
         2},
        {[&] { presenter.Category_Ended(); }, {{L::ScanCategory, ""}, {L::ScannedItemCount, "0/0"}}, 3},
        {[&] { presenter.Fix_Started(2); },
         {{L::Progress, "Please wait while fixing problems..."},
          {L::ScannedItems, "Presently Fixing:"},
          {L::Category, "Fixing Progress:"},
          {L::ProblemsFound, "Problems Fixed:"},
          {L::ProblemsCount, "0"},
          {L::Skip, ""}},
         2},
        {[&] { presenter.Computer_Started("PC1"); },
         {{L::ComputerName, "PC1"}, {L::ScannedItems, "Presently Fixing:"}},
         2},
        {[&] { presenter.Restore_Point_Started(); }, {{L::Progress, "Backing up system..."}}, 2},
        {[&] { presenter.Restore_Point_Ended(); }, {{L::Progress, "Please wait while fixing problems..."}}, 2},
        {[&] { presenter.Category_Started("Help Files"); }, {{L::ScanCategory, "Help Files"}}, 3},
        {[&] { presenter.Problems_Fixed(1, 1, 2); }, {{L::ProblemsCount, " 1"}, {L::ScannedItemCount, "1/2"}}, 3},
        {[&] { presenter.Fix_Ended(1, 2); }, {{L::Skip, "Skip"}, {L::ProblemsCount, " 1"}}, 3},
        {[&] { presenter.Computer_Started("PC2"); }, scanCaptions, 2},
        {[&] { presenter.Computer_Ended(); },
         {{L::ComputerName, ""}, {L::ScanCategory, ""}, {L::ScannedItemCount, "0/0"}},
         2},
        // Several computers at once: the first running one and the counts.
        {[&] { presenter.Computers_Counted(3, 2, 5); }, {{L::ComputerName, " (3 done, 2 running, 5 waiting)"}}, 2},
        {[&] { presenter.Computer_Started("PC3"); }, {{L::ComputerName, "PC3 (3 done, 2 running, 5 waiting)"}}, 2},
    };
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        steps[i].event();
        for (const auto& [label, text] : steps[i].labels) {
            EXPECT_EQ(window.Label(label), text) << "step " << i << ", label " << static_cast<int>(label);
        }
        EXPECT_EQ(window.progressMax, 4) << "step " << i;
        EXPECT_EQ(window.progressValue, steps[i].bar) << "step " << i;
    }
}

}  // namespace
}  // namespace corvane
