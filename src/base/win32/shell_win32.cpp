#include "base/win32/shell_win32.h"

#include <windows.h>
#include <shellapi.h>

#include "base/win32/wide_text.h"

namespace corvane::win32 {

std::intptr_t Win32Shell::Open(std::string_view target) {
    const HINSTANCE result = ::ShellExecuteW(nullptr, L"open", Widen(target).c_str(), L"", L"", SW_SHOWNORMAL);
    return reinterpret_cast<std::intptr_t>(result);
}

}  // namespace corvane::win32
