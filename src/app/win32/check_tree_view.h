// Shows a CheckTree in a Win32 tree view with check boxes and keeps the two
// in step: model changes are drawn through the observer, and check marks the
// user sets (mouse or space bar) are handed to a callback that decides what
// the model does. Does not own the tree view window.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <vector>

#include "base/ui/check_tree.h"

namespace corvane::win32 {

class ImageLibrary;

class CheckTreeView final : public ICheckTreeObserver {
public:
    using UserCheck = std::function<void(NodeId node, bool checked)>;

    // The tree view must not have TVS_CHECKBOXES yet: it is added here before
    // any item exists, so that the check marks set afterwards stay.
    CheckTreeView(HWND tree, CheckTree& model, const ImageLibrary& images, UserCheck onUserCheck);
    ~CheckTreeView() override;
    CheckTreeView(const CheckTreeView&) = delete;
    CheckTreeView& operator=(const CheckTreeView&) = delete;

    [[nodiscard]] HWND Window() const noexcept { return tree_; }

    void Node_Added(NodeId node) override;
    void Node_Changed(NodeId node) override;
    void Node_Selected(NodeId node) override;
    void Tree_Cleared() override;

    // WM_NOTIFY from the tree; returns true when it was handled. Clicks on a
    // check box and the space bar make the view post `syncMessage` to its parent.
    bool On_Notify(const NMHDR& header, UINT syncMessage);
    // Compares the control's check marks with the model and hands every
    // difference to the callback, in tree order.
    void Sync_Checks_From_Control();

    [[nodiscard]] bool Control_Checked(NodeId node) const;
    [[nodiscard]] HTREEITEM Item(NodeId node) const { return node < items_.size() ? items_[node] : nullptr; }

private:
    void Write_Item(NodeId node);
    void Expand_If_Due(NodeId node);

    HWND tree_;
    CheckTree& model_;
    const ImageLibrary& images_;
    UserCheck onUserCheck_;
    std::vector<HTREEITEM> items_;
    bool syncing_ = false;
};

}  // namespace corvane::win32
