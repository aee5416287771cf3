// The main window's pictures: every image key the program uses ("Computer",
// "HelpFile", "FixedItem", the toolbar keys, ...) with its icon resource, and
// the two image lists made from them: 16-pixel pictures for the trees and the
// results list, 24-pixel pictures for the toolbar; the 16-pixel pictures also
// as icons for the dialogs' buttons.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

#include "base/win32/common_controls.h"
#include "base/win32/unique_any.h"

namespace corvane::win32 {

struct ImageKey {
    std::string_view key;     // as the program names it
    const wchar_t* resource;  // icon resource name
};

// Every image key in the order of the image lists.
[[nodiscard]] std::span<const ImageKey> Image_Keys();

class ImageLibrary {
public:
    ImageLibrary();
    ~ImageLibrary();
    ImageLibrary(const ImageLibrary&) = delete;
    ImageLibrary& operator=(const ImageLibrary&) = delete;

    [[nodiscard]] HIMAGELIST Small() const noexcept { return small_; }
    [[nodiscard]] HIMAGELIST Toolbar() const noexcept { return toolbar_; }
    // Index of the key's picture; -1 for an empty or unknown key.
    [[nodiscard]] int Index(std::string_view key) const;
    // The key's 16-pixel picture as an icon, for buttons; null for an unknown key.
    [[nodiscard]] HICON Icon(std::string_view key) const;
    // Keys whose picture could not be loaded (empty when all are there).
    [[nodiscard]] const std::string& Missing() const noexcept { return missing_; }

private:
    CommonControls controls_;
    HIMAGELIST small_ = nullptr;
    HIMAGELIST toolbar_ = nullptr;
    std::unordered_map<std::string, int> index_;
    std::unordered_map<std::string, unique_hicon> icons_;
    std::string missing_;
};

// The program's own icon at the given size (shared, not to be destroyed).
[[nodiscard]] HICON Program_Icon(int size);

}  // namespace corvane::win32
