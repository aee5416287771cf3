// The plain controls of the dialogs: buttons and check boxes, edit boxes and
// combo boxes. Check states are bool; texts are UTF-8.
#pragma once

#include <commctrl.h>

#include <string>
#include <string_view>

#include "base/win32/window.h"

namespace corvane::win32 {

class Button : public Window {
public:
    using Window::Window;

    // Check boxes and option buttons.
    [[nodiscard]] bool Get_Check() const noexcept { return Send(BM_GETCHECK) == BST_CHECKED; }
    void Set_Check(bool checked) const noexcept { Send(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED); }
    void Set_Image(HICON icon) const noexcept { Send(BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon)); }
};

class Edit : public Window {
public:
    using Window::Window;

    void Limit_Text(int characters) const noexcept { Send(EM_SETLIMITTEXT, static_cast<WPARAM>(characters)); }
    void Select_All() const noexcept { Send(EM_SETSEL, 0, -1); }
};

class ComboBox : public Window {
public:
    using Window::Window;

    int Add_String(std::string_view text) const {
        const std::wstring wide = Widen(text);
        return static_cast<int>(Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str())));
    }
    void Reset_Content() const noexcept { Send(CB_RESETCONTENT); }
    [[nodiscard]] int Count() const noexcept { return static_cast<int>(Send(CB_GETCOUNT)); }
    [[nodiscard]] int Cur_Sel() const noexcept { return static_cast<int>(Send(CB_GETCURSEL)); }
    void Set_Cur_Sel(int index) const noexcept { Send(CB_SETCURSEL, static_cast<WPARAM>(index)); }
    [[nodiscard]] std::string Item_Text(int index) const {
        const auto length = Send(CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
        if (length <= 0) return {};
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        Send(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
        return Narrow_Buffer(text.data(), text.size());
    }
};

// A tool tip control that shows a text for each of a dialog's controls.
class ToolTip : public Window {
public:
    using Window::Window;

    bool Add_Tool(HWND owner, HWND control, std::string_view text) const {
        std::wstring wide = Widen(text);
        TOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = owner;
        tool.uId = reinterpret_cast<UINT_PTR>(control);
        tool.lpszText = wide.data();
        return Send(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)) != 0;
    }
};

}  // namespace corvane::win32
