// The one form of a folder path that the stores and the file routines share:
// no trailing "\" except on a drive root ("C:\"), so that "C:\Temp\" and
// "C:\Temp" name one folder and "C:" names the root, not the drive's
// current folder.
#pragma once

#include <string>
#include <string_view>

namespace corvane::remote {

// "C:" -> "C:\"; "C:\" stays; "C:\a\b\" (any number of final "\") -> "C:\a\b".
[[nodiscard]] std::string Normalize_Folder_Path(std::string_view path);

// True for "C:\" (after normalizing).
[[nodiscard]] bool Is_Drive_Root(std::string_view normalPath) noexcept;

// The path of a folder's child: "C:\" + "a" -> "C:\a", "C:\a\" + "b" -> "C:\a\b".
[[nodiscard]] std::string Child_Path(std::string_view folderPath, std::string_view name);

}  // namespace corvane::remote
