#include "app/win32/check_tree_view.h"

#include "app/win32/image_library.h"
#include "base/win32/tree_view.h"
#include "base/win32/wide_text.h"

namespace corvane::win32 {

namespace {

UINT Check_State(bool checked) { return INDEXTOSTATEIMAGEMASK(checked ? 2 : 1); }

}  // namespace

CheckTreeView::CheckTreeView(HWND tree, CheckTree& model, const ImageLibrary& images, UserCheck onUserCheck)
    : tree_(tree), model_(model), images_(images), onUserCheck_(std::move(onUserCheck)) {
    ::SetWindowLongPtrW(tree_, GWL_STYLE, ::GetWindowLongPtrW(tree_, GWL_STYLE) | TVS_CHECKBOXES);
    TreeView_SetImageList(tree_, images_.Small(), TVSIL_NORMAL);
    model_.Set_Observer(this);
    for (const NodeId node : model_.Tree_Order()) Node_Added(node);
}

CheckTreeView::~CheckTreeView() { model_.Set_Observer(nullptr); }

void CheckTreeView::Node_Added(NodeId node) {
    // Text, picture and check mark are written by Write_Item.
    const NodeId parent = model_.Node(node).parent;
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent == kNoNode ? TVI_ROOT : Item(parent);
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_PARAM;
    insert.item.lParam = static_cast<LPARAM>(node);
    if (items_.size() <= node) items_.resize(node + 1, nullptr);
    items_[node] = TreeView(tree_).Insert_Item(insert);
    Write_Item(node);
}

void CheckTreeView::Write_Item(NodeId node) {
    HTREEITEM item = Item(node);
    if (!item) return;
    const TreeNode& data = model_.Node(node);
    const std::wstring text = Widen(data.text);
    TVITEMW tvi{};
    tvi.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE;
    tvi.hItem = item;
    tvi.pszText = const_cast<wchar_t*>(text.c_str());
    tvi.iImage = images_.Index(data.image);
    tvi.iSelectedImage = tvi.iImage;
    tvi.stateMask = TVIS_STATEIMAGEMASK;
    tvi.state = Check_State(data.checked);
    TreeView(tree_).Set_Item(tvi);
    Expand_If_Due(node);
    if (data.parent != kNoNode) Expand_If_Due(data.parent);
}

// A node can only be expanded once it has children, so each new child tries
// again; a node the user has collapsed since stays collapsed.
void CheckTreeView::Expand_If_Due(NodeId node) {
    HTREEITEM item = Item(node);
    if (!item || !model_.Node(node).expanded || !model_.Has_Children(node)) return;
    const TreeView tree(tree_);
    if (tree.Item_State(item, TVIS_EXPANDEDONCE | TVIS_EXPANDED) & (TVIS_EXPANDEDONCE | TVIS_EXPANDED)) return;
    tree.Expand(item);
}

void CheckTreeView::Node_Changed(NodeId node) { Write_Item(node); }

void CheckTreeView::Node_Selected(NodeId node) {
    if (HTREEITEM item = Item(node)) TreeView_SelectItem(tree_, item);
}

void CheckTreeView::Tree_Cleared() {
    TreeView_DeleteAllItems(tree_);
    items_.clear();
}

bool CheckTreeView::Control_Checked(NodeId node) const {
    HTREEITEM item = Item(node);
    if (!item) return false;
    const UINT state = TreeView(tree_).Item_State(item, TVIS_STATEIMAGEMASK);
    return (state & TVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
}

bool CheckTreeView::On_Notify(const NMHDR& header, UINT syncMessage) {
    if (header.hwndFrom != tree_) return false;
    if (header.code == NM_CLICK) {
        // The control toggles a check box after this notification; the view
        // compares every node with the model once the click is done.
        ::PostMessageW(::GetParent(tree_), syncMessage, 0, 0);
        return true;
    }
    if (header.code == TVN_KEYDOWN) {
        const auto& key = reinterpret_cast<const NMTVKEYDOWN&>(header);
        if (key.wVKey == VK_SPACE) ::PostMessageW(::GetParent(tree_), syncMessage, 0, 0);
        return true;
    }
    return false;
}

void CheckTreeView::Sync_Checks_From_Control() {
    if (syncing_) return;
    syncing_ = true;
    for (const NodeId node : model_.Tree_Order()) {
        const bool shown = Control_Checked(node);
        if (shown != model_.Node(node).checked && onUserCheck_) onUserCheck_(node, shown);
    }
    // Whatever the callback decided, the control shows the model.
    for (const NodeId node : model_.Tree_Order()) {
        if (Control_Checked(node) != model_.Node(node).checked) Write_Item(node);
    }
    syncing_ = false;
}

}  // namespace corvane::win32
