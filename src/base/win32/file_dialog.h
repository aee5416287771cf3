// The common file dialogs the dialogs use to import and export text files,
// and reading and writing such a file whole. A cancelled dialog answers
// nothing; a file that cannot be read or written raises RuntimeError with
// the system's error number and text.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace corvane::win32 {

// Filter "Text Files|*.txt|All Files|*.*".
[[nodiscard]] std::optional<std::wstring> Ask_Save_Text_File(HWND owner, std::string_view title,
                                                             std::string_view fileName);
[[nodiscard]] std::optional<std::wstring> Ask_Open_Text_File(HWND owner, std::string_view title);

[[nodiscard]] std::string Read_File_Bytes(const std::wstring& path);
// Creates or overwrites the file.
void Write_File_Bytes(const std::wstring& path, std::string_view bytes);

}  // namespace corvane::win32
