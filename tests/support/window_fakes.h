// Fakes of the main-window ports: the settings store, and a main window that
// holds the trees and the list as plain models and the progress panel as
// fields, for the scan and fix tests (which drive its panel through the real
// progress presenter).
#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/progress_presenter.h"
#include "base/ports/settings_store.h"
#include "base/ui/check_tree.h"
#include "base/ui/main_window_port.h"
#include "base/ui/results_list.h"

namespace corvane::testing {

class FakeSettingsStore final : public ISettingsStore {
public:
    std::string GetSetting(std::string_view section, std::string_view key, std::string_view defaultValue) override {
        const auto hit = values.find({std::string(section), std::string(key)});
        return hit == values.end() ? std::string(defaultValue) : hit->second;
    }
    void SaveSetting(std::string_view section, std::string_view key, std::string_view value) override {
        values[{std::string(section), std::string(key)}] = std::string(value);
    }
    std::map<std::pair<std::string, std::string>, std::string> values;
};

// A main window without a window: the trees and the list as plain models,
// the progress panel as fields, every change of the command and panel
// states recorded in order, and a pump that runs a scripted action
// (pressing Stop after a given row, for example).
class FakeMainWindow final : public IMainWindow, public IProgressPanelView {
public:
    FakeMainWindow() { labels[ProgressLabel::Skip] = kSkipCaption; }

    void FormDoMyDoEvents() override {
        ++pumps;
        if (onPump) onPump(pumps);
    }
    std::string Get_Comp_Name() override { return localName; }
    CheckTree& Computer_Tree() override { return computers; }
    CheckTree& Category_Tree() override { return categories; }
    ResultsList& Results() override { return results; }
    void Enable_Commands(bool enabled) override { commandStates.push_back(enabled); }
    void Set_Status_Text(std::string_view text) override { statusText = std::string(text); }
    void Show_Progress_Panel(bool visible) override { panelStates.push_back(visible); }
    void Set_Label(ProgressLabel label, std::string_view text) override { labels[label] = std::string(text); }
    void Set_Progress(int /*minimum*/, int maximum, int value) override {
        progressMax = maximum;
        progressValue = value;
    }
    [[nodiscard]] std::string Label(ProgressLabel label) const;
    void Suspend_Results_Drawing(bool) override {}
    std::uintptr_t Native_Handle() const override { return 0; }

    std::string localName = "WORKSTATION";
    CheckTree computers;
    CheckTree categories;
    ResultsList results;
    std::map<ProgressLabel, std::string> labels;
    std::string statusText;
    std::vector<bool> commandStates;
    std::vector<bool> panelStates;
    int progressMax = 100;
    int progressValue = 0;
    int pumps = 0;
    // Called from every FormDoMyDoEvents with the number of the pump (1 first).
    std::function<void(int)> onPump;
};

}  // namespace corvane::testing
