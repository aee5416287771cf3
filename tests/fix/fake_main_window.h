// A main window without a window for the fixing tests: the two trees and the
// results list as models, the progress panel as plain fields, and a pump that
// can run a scripted action (pressing Stop after a given row, for example).
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "base/ui/check_tree.h"
#include "base/ui/main_window_port.h"
#include "base/ui/results_list.h"

namespace corvane::testing {

class FakeMainWindow final : public IMainWindow {
public:
    FakeMainWindow();

    void FormDoMyDoEvents() override;
    std::string Get_Comp_Name() override { return localName; }
    CheckTree& Computer_Tree() override { return computers; }
    CheckTree& Category_Tree() override { return categories; }
    ResultsList& Results() override { return results; }
    void Enable_Commands(bool enabled) override { commandStates.push_back(enabled); }
    void Set_Status_Text(std::string_view text) override { statusText = std::string(text); }
    void Show_Progress_Panel(bool visible) override { panelStates.push_back(visible); }
    void Set_Label(ProgressLabel label, std::string_view text) override { labels[label] = std::string(text); }
    std::string Label(ProgressLabel label) const override;
    void Set_Progress_Range(int minimum, int maximum) override;
    void Set_Progress_Value(int value) override;
    int Progress_Value() const override { return progressValue; }
    void Suspend_Results_Drawing(bool suspend) override { drawingStates.push_back(suspend); }
    std::uintptr_t Native_Handle() const override { return 0; }

    // Checks the category nodes with these keys (in the tree of every category).
    void Check_Categories(std::initializer_list<const char*> keys);

    std::string localName = "ADMINPC";
    CheckTree computers;
    CheckTree categories;
    ResultsList results;
    std::map<ProgressLabel, std::string> labels;
    std::string statusText;
    std::vector<bool> commandStates;
    std::vector<bool> panelStates;
    std::vector<bool> drawingStates;
    int progressMin = 0;
    int progressMax = 100;
    int progressValue = 0;
    int pumps = 0;
    // Called from every FormDoMyDoEvents with the number of the pump (1 first).
    std::function<void(int)> onPump;
};

}  // namespace corvane::testing
