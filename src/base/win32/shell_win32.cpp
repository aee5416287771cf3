#include "base/win32/shell_win32.h"

#include <windows.h>
#include <shellapi.h>

#include "base/win32/wide_text.h"

namespace corvane::win32 {

std::intptr_t Win32Shell::Open(std::string_view target) {
    const HINSTANCE result = ::ShellExecuteW(nullptr, L"open", Widen(target).c_str(), L"", L"", SW_SHOWNORMAL);
    return reinterpret_cast<std::intptr_t>(result);
}

std::string Win32Shell::File_Type_Name(std::string_view extension) {
    // The file need not exist: the type is read from the extension's registration.
    const std::wstring name = extension.empty() ? std::wstring(L"x") : L"x." + Widen(extension);
    SHFILEINFOW info{};
    if (::SHGetFileInfoW(name.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                         SHGFI_USEFILEATTRIBUTES | SHGFI_TYPENAME) == 0 ||
        info.szTypeName[0] == L'\0') {
        return Unregistered_File_Type_Name(extension);
    }
    return Narrow(info.szTypeName);
}

}  // namespace corvane::win32
