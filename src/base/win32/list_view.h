// The list view (SysListView32) in report view: columns, items and their
// sub-item texts, check boxes, selection, hit tests. Indices are the
// control's 0-based ones; -1 means "none".
// Quirks: a check box's state is the state image (1 clear, 2 ticked);
// sub-item rectangles of column 0 span the whole row, so LVIR_LABEL is used
// for the first column.
#pragma once

#include <commctrl.h>

#include <string>
#include <string_view>

#include "base/win32/window.h"

namespace corvane::win32 {

class ListView : public Window {
public:
    using Window::Window;

    void Set_Extended_Style(DWORD mask, DWORD style) const noexcept {
        Send(LVM_SETEXTENDEDLISTVIEWSTYLE, mask, static_cast<LPARAM>(style));
    }
    void Set_Image_List(HIMAGELIST images, int which = LVSIL_SMALL) const noexcept {
        Send(LVM_SETIMAGELIST, static_cast<WPARAM>(which), reinterpret_cast<LPARAM>(images));
    }
    void Set_Callback_Mask(UINT mask) const noexcept { Send(LVM_SETCALLBACKMASK, mask); }
    [[nodiscard]] HWND Header() const noexcept { return reinterpret_cast<HWND>(Send(LVM_GETHEADER)); }

    int Insert_Column(int index, std::string_view text, int width) const {
        std::wstring wide = Widen(text);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = wide.data();
        column.cx = width;
        column.iSubItem = index;
        return static_cast<int>(Send(LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column)));
    }
    bool Set_Column_Width(int column, int width) const noexcept {
        return Send(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(width, 0)) != 0;
    }
    [[nodiscard]] int Column_Width(int column) const noexcept {
        return static_cast<int>(Send(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column)));
    }

    // Owner-data lists: the number of rows the control shows.
    void Set_Item_Count(std::size_t count, DWORD flags = 0) const noexcept {
        Send(LVM_SETITEMCOUNT, count, static_cast<LPARAM>(flags));
    }
    [[nodiscard]] int Item_Count() const noexcept { return static_cast<int>(Send(LVM_GETITEMCOUNT)); }
    [[nodiscard]] int Count_Per_Page() const noexcept { return static_cast<int>(Send(LVM_GETCOUNTPERPAGE)); }

    // Adds an item with its text, picture and data; returns its index or -1.
    int Insert_Item(int index, std::string_view text, int image = -1, LPARAM data = 0) const {
        std::wstring wide = Widen(text);
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_PARAM | (image >= 0 ? LVIF_IMAGE : 0u);
        item.iItem = index;
        item.pszText = wide.data();
        item.iImage = image;
        item.lParam = data;
        return static_cast<int>(Send(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    }
    bool Set_Item_Text(int index, int subItem, std::string_view text) const {
        std::wstring wide = Widen(text);
        LVITEMW item{};
        item.iSubItem = subItem;
        item.pszText = wide.data();
        return Send(LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) != 0;
    }
    [[nodiscard]] std::string Item_Text(int index, int subItem = 0) const {
        std::wstring text(1024, L'\0');
        LVITEMW item{};
        item.iSubItem = subItem;
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size());
        Send(LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        return Narrow_Buffer(text.data(), text.size());
    }
    [[nodiscard]] LPARAM Item_Data(int index) const noexcept {
        LVITEMW item{};
        item.mask = LVIF_PARAM;
        item.iItem = index;
        Send(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        return item.lParam;
    }
    bool Delete_Item(int index) const noexcept { return Send(LVM_DELETEITEM, static_cast<WPARAM>(index)) != 0; }
    bool Delete_All_Items() const noexcept { return Send(LVM_DELETEALLITEMS) != 0; }

    [[nodiscard]] UINT Item_State(int index, UINT mask) const noexcept {
        return static_cast<UINT>(Send(LVM_GETITEMSTATE, static_cast<WPARAM>(index), static_cast<LPARAM>(mask)));
    }
    void Set_Item_State(int index, UINT state, UINT mask) const noexcept {
        LVITEMW item{};
        item.stateMask = mask;
        item.state = state;
        Send(LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    }
    [[nodiscard]] bool Get_Check_State(int index) const noexcept {
        return (Item_State(index, LVIS_STATEIMAGEMASK) >> 12) == 2;
    }
    void Set_Check_State(int index, bool checked) const noexcept {
        Set_Item_State(index, INDEXTOSTATEIMAGEMASK(checked ? 2 : 1), LVIS_STATEIMAGEMASK);
    }
    [[nodiscard]] bool Is_Selected(int index) const noexcept { return Item_State(index, LVIS_SELECTED) != 0; }
    void Select(int index, bool selected) const noexcept {
        Set_Item_State(index, selected ? LVIS_SELECTED | LVIS_FOCUSED : 0, LVIS_SELECTED | LVIS_FOCUSED);
    }
    [[nodiscard]] int Next_Item(int start, UINT flags) const noexcept {
        return static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(start), MAKELPARAM(flags, 0)));
    }
    bool Ensure_Visible(int index) const noexcept { return Send(LVM_ENSUREVISIBLE, static_cast<WPARAM>(index)) != 0; }

    // The item (and sub-item) under a point of the control's client area.
    [[nodiscard]] LVHITTESTINFO Sub_Item_Hit_Test(POINT point) const noexcept {
        LVHITTESTINFO info{};
        info.pt = point;
        Send(LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&info));
        return info;
    }
    [[nodiscard]] RECT Sub_Item_Rect(int index, int subItem) const noexcept {
        RECT rect{};
        rect.top = subItem;
        rect.left = subItem == 0 ? LVIR_LABEL : LVIR_BOUNDS;
        Send(LVM_GETSUBITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
        return rect;
    }
};

}  // namespace corvane::win32
