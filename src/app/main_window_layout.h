// Where the main window's controls go, in twips of its inner area: the cool
// bar and status bar across, the computer tree and the category tree in the
// left column, the results list on the right, the progress panel centred; and
// the two splitters (the gap beside the left column and the gap between the
// trees) with their limits. The Win32 window converts twips with its DPI.
#pragma once

namespace corvane {

struct RectTwips {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    [[nodiscard]] int Right() const noexcept { return left + width; }
    [[nodiscard]] int Bottom() const noexcept { return top + height; }
};

inline constexpr int kControlGap = 60;
inline constexpr int kCategoryTreeBottomGap = 120;
inline constexpr int kMinimumCategoryTreeHeight = 1440;
inline constexpr int kListWidthThreshold = 9000;
inline constexpr int kListHeightThreshold = 7000;
inline constexpr int kVerticalSplitterMinimumX = 1000;
inline constexpr int kHorizontalSplitterMinimumY = 1440;

struct LayoutInput {
    int innerWidth = 0;
    int innerHeight = 0;
    int coolBarHeight = 0;
    int statusBarHeight = 0;
    int leftPaneWidth = 0;   // computer tree width = left column width
    int leftPaneHeight = 0;  // computer tree height
    RectTwips categoryTree;  // current places: kept where a threshold is not met
    RectTwips list;
    int panelWidth = 0;  // progress panel size
    int panelHeight = 0;
};

struct LayoutResult {
    RectTwips coolBar;
    RectTwips statusBar;
    RectTwips computerTree;
    RectTwips categoryTree;
    RectTwips list;
    RectTwips progressPanel;
};

[[nodiscard]] LayoutResult Layout_Main_Window(const LayoutInput& input);

enum class Splitter { None, Vertical, Horizontal };

// Which gap the point (inner-area twips) lies in.
[[nodiscard]] Splitter Splitter_At(const LayoutResult& layout, int x, int y);

// The pane sizes after dragging a splitter to (x, y); positions below the
// minimums leave the sizes unchanged, and the upper bounds keep the list and
// the category tree at least a little visible.
struct PaneSizes {
    int leftPaneWidth = 0;
    int leftPaneHeight = 0;
};
[[nodiscard]] PaneSizes Drag_Splitter(const LayoutInput& input, Splitter splitter, int x, int y);

}  // namespace corvane
