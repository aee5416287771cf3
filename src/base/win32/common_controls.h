// The common controls' own functions (comctl32, version 6 through the
// manifest), with the library loaded from the system directory: registering
// the control classes, and the image lists. The controls themselves are
// driven by messages (controls.h and the wrappers beside it).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "base/win32/system_library.h"

namespace corvane::win32 {

class CommonControls {
public:
    // InitCommonControlsEx with the given class flags; false on any failure.
    bool Register_Classes(DWORD classFlags) const noexcept {
        INITCOMMONCONTROLSEX init{};
        init.dwSize = sizeof(init);
        init.dwICC = classFlags;
        const auto initialize = library_.Find<decltype(::InitCommonControlsEx)>("InitCommonControlsEx");
        return initialize && initialize(&init) != FALSE;
    }

    [[nodiscard]] HIMAGELIST Create_Image_List(int width, int height, UINT flags, int initial, int grow) const {
        return library_.Get<decltype(::ImageList_Create)>("ImageList_Create")(width, height, flags, initial, grow);
    }
    // The icon's index in the list, -1 when it could not be added.
    int Add_Icon(HIMAGELIST list, HICON icon) const {
        return library_.Get<decltype(::ImageList_ReplaceIcon)>("ImageList_ReplaceIcon")(list, -1, icon);
    }
    void Destroy_Image_List(HIMAGELIST list) const noexcept {
        if (const auto destroy = library_.Find<decltype(::ImageList_Destroy)>("ImageList_Destroy")) destroy(list);
    }

private:
    SystemLibrary library_{L"comctl32.dll"};
};

}  // namespace corvane::win32
