// The toolbar (ToolbarWindow32) and the rebar (ReBarWindow32) that holds it.
// Quirk: TB_BUTTONSTRUCTSIZE must be sent before the first button is added.
#pragma once

#include <commctrl.h>

#include <span>

#include "base/win32/window.h"

namespace corvane::win32 {

class Toolbar : public Window {
public:
    using Window::Window;

    void Button_Struct_Size() const noexcept { Send(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON)); }
    void Set_Image_List(HIMAGELIST images) const noexcept {
        Send(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    }
    bool Add_Buttons(std::span<const TBBUTTON> buttons) const noexcept {
        return Send(TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data())) != 0;
    }
    void Auto_Size() const noexcept { Send(TB_AUTOSIZE); }
    [[nodiscard]] SIZE Get_Max_Size() const noexcept {
        SIZE size{};
        Send(TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&size));
        return size;
    }
    bool Enable_Button(UINT id, bool enabled) const noexcept {
        return Send(TB_ENABLEBUTTON, id, MAKELPARAM(enabled ? TRUE : FALSE, 0)) != 0;
    }
    [[nodiscard]] bool Is_Button_Enabled(UINT id) const noexcept { return Send(TB_ISBUTTONENABLED, id) != 0; }
};

class Rebar : public Window {
public:
    using Window::Window;

    bool Insert_Band(const REBARBANDINFOW& band, int index = -1) const noexcept {
        return Send(RB_INSERTBANDW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&band)) != 0;
    }
    [[nodiscard]] int Bar_Height() const noexcept { return static_cast<int>(Send(RB_GETBARHEIGHT)); }
};

}  // namespace corvane::win32
