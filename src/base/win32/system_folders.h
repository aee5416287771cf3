// Programs of the Windows directory by their full path, so that a program of
// the same name found first on the search path (the program's own folder,
// the current folder) never runs in their place.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace corvane::win32 {

// "<Windows directory>\<program>", or "" when the directory cannot be read.
[[nodiscard]] inline std::wstring Windows_Directory_Program(std::wstring_view program) {
    wchar_t folder[MAX_PATH + 1] = {};
    const UINT length = ::GetWindowsDirectoryW(folder, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH) return {};
    std::wstring path(folder, length);
    if (!path.ends_with(L'\\')) path += L'\\';
    return path + std::wstring(program);
}

}  // namespace corvane::win32
