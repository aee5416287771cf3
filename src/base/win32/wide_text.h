// UTF-8 (the program's own text) to UTF-16 (the W functions of Windows) and
// back. Invalid sequences become U+FFFD instead of failing, so text from the
// system or the user is never lost wholesale.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace corvane::win32 {

[[nodiscard]] inline std::wstring Widen(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
    return wide;
}

[[nodiscard]] inline std::string Narrow(std::wstring_view wide) {
    if (wide.empty()) return {};
    const int length =
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    if (length <= 0) return {};
    std::string utf8(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), length, nullptr,
                          nullptr);
    return utf8;
}

// A UTF-16 buffer filled by a W function, up to its first NUL.
[[nodiscard]] inline std::string Narrow_Buffer(const wchar_t* buffer, std::size_t capacity) {
    std::wstring_view view(buffer, capacity);
    const auto end = view.find(L'\0');
    return Narrow(end == std::wstring_view::npos ? view : view.substr(0, end));
}

}  // namespace corvane::win32
