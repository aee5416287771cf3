// The tree view (SysTreeView32): inserting, changing, expanding and selecting
// items, and reading their state and data.
// Quirk: check boxes given as TVS_CHECKBOXES at creation lose the first
// states set; add the style with SetWindowLongPtrW before filling the tree.
#pragma once

#include <commctrl.h>

#include <string>
#include <string_view>

#include "base/win32/window.h"

namespace corvane::win32 {

class TreeView : public Window {
public:
    using Window::Window;

    void Set_Image_List(HIMAGELIST images, int which = TVSIL_NORMAL) const noexcept {
        Send(TVM_SETIMAGELIST, static_cast<WPARAM>(which), reinterpret_cast<LPARAM>(images));
    }
    HTREEITEM Insert_Item(const TVINSERTSTRUCTW& insert) const noexcept {
        return reinterpret_cast<HTREEITEM>(Send(TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    }
    // Adds a child at the end of `parent` (TVI_ROOT for a root) with text,
    // picture and data.
    HTREEITEM Insert_Item(HTREEITEM parent, std::string_view text, int image = -1, LPARAM data = 0) const {
        std::wstring wide = Widen(text);
        TVINSERTSTRUCTW insert{};
        insert.hParent = parent;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_PARAM | (image >= 0 ? TVIF_IMAGE | TVIF_SELECTEDIMAGE : 0u);
        insert.item.pszText = wide.data();
        insert.item.iImage = image;
        insert.item.iSelectedImage = image;
        insert.item.lParam = data;
        return Insert_Item(insert);
    }
    bool Set_Item(const TVITEMW& item) const noexcept {
        return Send(TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)) != 0;
    }
    [[nodiscard]] UINT Item_State(HTREEITEM item, UINT mask) const noexcept {
        return static_cast<UINT>(Send(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), static_cast<LPARAM>(mask)));
    }
    [[nodiscard]] LPARAM Item_Data(HTREEITEM item) const noexcept {
        TVITEMW data{};
        data.mask = TVIF_HANDLE | TVIF_PARAM;
        data.hItem = item;
        Send(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data));
        return data.lParam;
    }
    bool Expand(HTREEITEM item, UINT action = TVE_EXPAND) const noexcept {
        return Send(TVM_EXPAND, action, reinterpret_cast<LPARAM>(item)) != 0;
    }
    bool Select_Item(HTREEITEM item) const noexcept {
        return Send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)) != 0;
    }
    [[nodiscard]] HTREEITEM Next_Item(HTREEITEM item, UINT relation) const noexcept {
        return reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
    }
    [[nodiscard]] HTREEITEM Selection() const noexcept { return Next_Item(nullptr, TVGN_CARET); }
    bool Delete_All_Items() const noexcept { return Send(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT)) != 0; }
};

}  // namespace corvane::win32
