// The main window's per-user settings: layout in twips, window state, column
// widths, font size, the last chosen categories and the start counter, read
// with their defaults and written back as text. Sections and keys are those
// the settings store has always used ("MainWindow", "LeftTopPane", ...).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace corvane {

class CheckTree;
class IClock;
class ISettingsStore;

enum class WindowState : int { Normal = 0, Minimized = 1, Maximized = 2 };

struct MainWindowSettings {
    WindowState windowState = WindowState::Normal;
    int left = 3500;  // twips
    int top = 1400;
    int width = 12600;
    int height = 9000;
    int leftPaneWidth = 4500;   // computer tree, and so the left column
    int leftPaneHeight = 2500;  // computer tree
    std::array<int, 4> columnWidths{4500, 2500, 2500, 8000};
    int fontSize = 8;  // 8, 9 or 10 points
};

inline constexpr int kMinimumWindowWidth = 4800;  // twips; smaller stored sizes read as this
inline constexpr int kMinimumWindowHeight = 3600;
inline constexpr int kMinimumPaneWidth = 1000;
inline constexpr int kMinimumPaneHeight = 600;
inline constexpr int kMinimumColumnWidth = 150;

// Every value with its default; a stored text that is not a number reads as 0,
// and values that would make the window or a pane unusable are raised to the
// minimums above. A font size other than 8, 9 or 10 reads as 8.
[[nodiscard]] MainWindowSettings Load_Main_Window_Settings(ISettingsStore& store);
// Pane sizes, columns and window state always; left, top, width and height
// only when the window state is normal.
void Save_Main_Window_Layout(ISettingsStore& store, const MainWindowSettings& settings);
void Save_Font_Size(ISettingsStore& store, int fontSize);

// "GeneralInfo": Times raised by one (absent counts as 0), LastRun = now.
void Count_Program_Start(ISettingsStore& store, IClock& clock);

// One "1" or "0" per category-tree node in tree order.
[[nodiscard]] std::string Last_Categories_Text(const CheckTree& tree);
// Node i is checked exactly when character i is "1"; nodes beyond the text
// are unchecked. A text of the tree before the Chromium Browsers group
// ("gB") leaves that group unchecked and the nodes after it as they were.
void Apply_Last_Categories(CheckTree& tree, std::string_view text);
void Save_Last_Categories(ISettingsStore& store, const CheckTree& tree);
void Restore_Last_Categories(ISettingsStore& store, CheckTree& tree);

}  // namespace corvane
