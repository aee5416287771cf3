#include "app/main_window_layout.h"

#include <algorithm>

namespace corvane {

namespace {

constexpr int kPaneLeft = kControlGap;
constexpr int kMinimumListWidth = 1500;
constexpr int kMinimumCategoryHeightWhenDragging = 600;

}  // namespace

LayoutResult Layout_Main_Window(const LayoutInput& in) {
    LayoutResult out;
    out.coolBar = {0, 0, in.innerWidth, in.coolBarHeight};
    const int statusTop = in.innerHeight - in.statusBarHeight;
    out.statusBar = {0, statusTop, in.innerWidth, in.statusBarHeight};

    out.computerTree = {kPaneLeft, in.coolBarHeight + kControlGap, in.leftPaneWidth, in.leftPaneHeight};

    out.categoryTree = in.categoryTree;
    out.categoryTree.left = kPaneLeft;
    out.categoryTree.top = out.computerTree.Bottom() + kControlGap;
    out.categoryTree.width = in.leftPaneWidth;
    const int categoryHeight = statusTop - out.categoryTree.top - kCategoryTreeBottomGap;
    if (categoryHeight > kMinimumCategoryTreeHeight) out.categoryTree.height = categoryHeight;

    out.list = in.list;
    out.list.left = out.computerTree.Right() + kControlGap;
    out.list.top = out.computerTree.top;
    if (in.innerWidth >= kListWidthThreshold) out.list.width = in.innerWidth - out.list.left - kControlGap;
    if (in.innerHeight >= kListHeightThreshold) out.list.height = statusTop - out.list.top - kControlGap;

    out.progressPanel = {(in.innerWidth - in.panelWidth) / 2, (statusTop - in.panelHeight) / 2, in.panelWidth,
                         in.panelHeight};
    return out;
}

Splitter Splitter_At(const LayoutResult& layout, int x, int y) {
    const RectTwips& tree = layout.computerTree;
    const int columnBottom = std::max(layout.categoryTree.Bottom(), tree.Bottom());
    if (x >= tree.Right() && x < layout.list.left && y >= tree.top &&
        y < std::max(columnBottom, layout.list.Bottom())) {
        return Splitter::Vertical;
    }
    if (x >= tree.left && x < tree.Right() && y >= tree.Bottom() && y < layout.categoryTree.top) {
        return Splitter::Horizontal;
    }
    return Splitter::None;
}

PaneSizes Drag_Splitter(const LayoutInput& in, Splitter splitter, int x, int y) {
    PaneSizes sizes{in.leftPaneWidth, in.leftPaneHeight};
    if (splitter == Splitter::Vertical && x >= kVerticalSplitterMinimumX) {
        const int upper = in.innerWidth - kMinimumListWidth;
        if (x <= upper) sizes.leftPaneWidth = x - kPaneLeft;
    } else if (splitter == Splitter::Horizontal && y >= kHorizontalSplitterMinimumY) {
        const int treeTop = in.coolBarHeight + kControlGap;
        const int upper = in.innerHeight - in.statusBarHeight - kCategoryTreeBottomGap - kControlGap -
                          kMinimumCategoryHeightWhenDragging;
        if (y <= upper && y > treeTop) sizes.leftPaneHeight = y - treeTop;
    }
    return sizes;
}

}  // namespace corvane
