#include "app/progress_presenter.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/window_fakes.h"

namespace corvane {
namespace {

using L = ProgressLabel;
using Labels = std::vector<std::pair<L, std::string>>;

// One scan of two categories with an automatic fix of its first computer,
// then the counts of a scan of several computers at once: each event and the
// panel texts and bar value it leaves.
TEST(ProgressPresenter, TurnsTheEventsOfAScanWithAutomaticFixingIntoThePanelsTexts) {
    testing::FakeMainWindow window;
    ProgressPresenter presenter(window);
    int step = 0;
    const auto expect = [&](const Labels& labels, int bar) {
        ++step;
        for (const auto& [label, text] : labels) {
            EXPECT_EQ(window.Label(label), text) << "step " << step << ", label " << static_cast<int>(label);
        }
        EXPECT_EQ(window.progressMax, 4) << "step " << step;
        EXPECT_EQ(window.progressValue, bar) << "step " << step;
    };
    const Labels scanCaptions{{L::Progress, "Please wait while scanning..."},
                              {L::ScannedItems, "Presently Scanning:"},
                              {L::Category, "Scanning Progress:"},
                              {L::ProblemsFound, "Problems Found:"},
                              {L::ProblemsCount, "0"}};
    presenter.Scan_Started(2);
    expect(scanCaptions, 2);
    presenter.Computer_Started("PC1");
    expect({{L::ComputerName, "PC1"}, {L::ScanCategory, ""}, {L::ScannedItemCount, "0/0"}}, 2);
    presenter.Category_Started("Help Files");
    expect({{L::ScanCategory, "Help Files"}}, 2);
    presenter.Entry_Done(5, 4);
    presenter.Problems_Found(7);
    expect({{L::ScannedItemCount, "5/4"}, {L::ProblemsCount, "7"}}, 2);
    presenter.Category_Phase("ActiveX/COMs - Phase II of III");
    expect({{L::ScanCategory, "ActiveX/COMs - Phase II of III"}, {L::ScannedItemCount, "5/4"}}, 2);
    presenter.Category_Ended();
    expect({{L::ScanCategory, ""}, {L::ScannedItemCount, "0/0"}}, 3);

    presenter.Fix_Started(2);
    expect({{L::Progress, "Please wait while fixing problems..."},
            {L::ScannedItems, "Presently Fixing:"},
            {L::Category, "Fixing Progress:"},
            {L::ProblemsFound, "Problems Fixed:"},
            {L::ProblemsCount, "0"},
            {L::Skip, ""}},
           2);
    presenter.Computer_Started("PC1");
    expect({{L::ComputerName, "PC1"}, {L::ScannedItems, "Presently Fixing:"}}, 2);
    presenter.Restore_Point_Started();
    expect({{L::Progress, "Backing up system..."}}, 2);
    presenter.Restore_Point_Ended();
    expect({{L::Progress, "Please wait while fixing problems..."}}, 2);
    presenter.Category_Started("Help Files");
    expect({{L::ScanCategory, "Help Files"}}, 3);
    presenter.Problems_Fixed(1, 1, 2);
    expect({{L::ProblemsCount, " 1"}, {L::ScannedItemCount, "1/2"}}, 3);
    presenter.Fix_Ended(1, 2);
    expect({{L::Skip, "Skip"}, {L::ProblemsCount, " 1"}}, 3);

    presenter.Computer_Started("PC2");
    expect(scanCaptions, 2);
    presenter.Computer_Ended();
    expect({{L::ComputerName, ""}, {L::ScanCategory, ""}, {L::ScannedItemCount, "0/0"}}, 2);
    // Several computers at once: the first running one and the counts.
    presenter.Computers_Counted(3, 2, 5);
    expect({{L::ComputerName, " (3 done, 2 running, 5 waiting)"}}, 2);
    presenter.Computer_Started("PC3");
    expect({{L::ComputerName, "PC3 (3 done, 2 running, 5 waiting)"}}, 2);
}

}  // namespace
}  // namespace corvane
