#include "app/main_window_settings.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "base/ports/clock.h"
#include "base/ports/settings_store.h"
#include "base/text.h"
#include "base/ui/check_tree.h"

namespace corvane {

namespace {

constexpr const char* kColumnKeys[4] = {"CH1", "CH2", "CH3", "CH4"};

int Read_Number(ISettingsStore& store, std::string_view section, std::string_view key, int defaultValue) {
    return Text_To_Int32(store.GetSetting(section, key, std::to_string(defaultValue)));
}

void Save_Number(ISettingsStore& store, std::string_view section, std::string_view key, int value) {
    store.SaveSetting(section, key, std::to_string(value));
}

// The general date form of the English (United States) locale: 12/6/2026 2:03:09 PM.
std::string General_Date(const LocalTime& time) {
    const int hour12 = time.hour % 12 == 0 ? 12 : time.hour % 12;
    char text[48] = {};
    std::snprintf(text, sizeof text, "%d/%d/%d %d:%02d:%02d %s", time.month, time.day, time.year, hour12, time.minute,
                  time.second, time.hour < 12 ? "AM" : "PM");
    return text;
}

}  // namespace

MainWindowSettings Load_Main_Window_Settings(ISettingsStore& store) {
    MainWindowSettings s;
    const int state = Read_Number(store, "MainWindow", "WindowState", 0);
    s.windowState = (state == 1 || state == 2) ? static_cast<WindowState>(state) : WindowState::Normal;
    s.left = Read_Number(store, "MainWindow", "WindowLeft", s.left);
    s.top = Read_Number(store, "MainWindow", "WindowTop", s.top);
    s.width = std::max(kMinimumWindowWidth, Read_Number(store, "MainWindow", "WindowWidth", s.width));
    s.height = std::max(kMinimumWindowHeight, Read_Number(store, "MainWindow", "WindowHeight", s.height));
    s.leftPaneWidth = std::max(kMinimumPaneWidth, Read_Number(store, "LeftTopPane", "Width", s.leftPaneWidth));
    s.leftPaneHeight = std::max(kMinimumPaneHeight, Read_Number(store, "LeftTopPane", "Height", s.leftPaneHeight));
    for (std::size_t i = 0; i < 4; ++i) {
        s.columnWidths[i] =
            std::max(kMinimumColumnWidth, Read_Number(store, "RightPane", kColumnKeys[i], s.columnWidths[i]));
    }
    const int font = Read_Number(store, "View", "Font", 8);
    s.fontSize = (font == 8 || font == 9 || font == 10) ? font : 8;
    return s;
}

void Save_Main_Window_Layout(ISettingsStore& store, const MainWindowSettings& s) {
    Save_Number(store, "LeftTopPane", "Width", s.leftPaneWidth);
    Save_Number(store, "LeftTopPane", "Height", s.leftPaneHeight);
    for (std::size_t i = 0; i < 4; ++i) Save_Number(store, "RightPane", kColumnKeys[i], s.columnWidths[i]);
    Save_Number(store, "MainWindow", "WindowState", static_cast<int>(s.windowState));
    if (s.windowState != WindowState::Normal) return;
    Save_Number(store, "MainWindow", "WindowLeft", s.left);
    Save_Number(store, "MainWindow", "WindowTop", s.top);
    Save_Number(store, "MainWindow", "WindowWidth", s.width);
    Save_Number(store, "MainWindow", "WindowHeight", s.height);
}

void Save_Font_Size(ISettingsStore& store, int fontSize) { Save_Number(store, "View", "Font", fontSize); }

void Count_Program_Start(ISettingsStore& store, IClock& clock) {
    const int times = Read_Number(store, "GeneralInfo", "Times", 0);
    Save_Number(store, "GeneralInfo", "Times", times + 1);
    store.SaveSetting("GeneralInfo", "LastRun", General_Date(clock.Now()));
}

std::string Last_Categories_Text(const CheckTree& tree) {
    std::string text;
    for (const NodeId node : tree.Tree_Order()) text += tree.Node(node).checked ? '1' : '0';
    return text;
}

void Apply_Last_Categories(CheckTree& tree, std::string_view text) {
    const std::vector<NodeId> order = tree.Tree_Order();
    // A text saved before the Chromium group existed: its nodes after that
    // group's place (the systemwide search) keep their meaning, and the
    // group's categories start unchecked rather than take another's mark.
    std::string saved(text);
    const auto group = std::find(order.begin(), order.end(), tree.Find("gB"));
    if (group != order.end()) {
        const std::size_t groupNodes = 1 + tree.Node(*group).children.size();
        const auto at = static_cast<std::size_t>(group - order.begin());
        if (saved.size() + groupNodes == order.size() && saved.size() >= at) saved.insert(at, groupNodes, '0');
    }
    std::size_t i = 0;
    for (const NodeId node : order) {
        tree.Set_Checked_Only(node, i < saved.size() && saved[i] == '1');
        ++i;
    }
}

void Save_Last_Categories(ISettingsStore& store, const CheckTree& tree) {
    store.SaveSetting("Categories", "LastCategories", Last_Categories_Text(tree));
}

void Restore_Last_Categories(ISettingsStore& store, CheckTree& tree) {
    Apply_Last_Categories(tree, store.GetSetting("Categories", "LastCategories", ""));
}

}  // namespace corvane
