// The system's ANSI code page through WideCharToMultiByte/MultiByteToWideChar.
#include "base/ansi_text.h"

#include <windows.h>

namespace corvane {
namespace {

std::wstring Widen(std::string_view text, UINT codePage) {
    if (text.empty()) return {};
    const int length = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

std::string Narrow(const std::wstring& wide, UINT codePage) {
    if (wide.empty()) return {};
    const int length =
        WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    if (length > 0) {
        WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), text.data(), length, nullptr,
                            nullptr);
    }
    return text;
}

}  // namespace

std::string Utf8_To_Ansi(std::string_view utf8) { return Narrow(Widen(utf8, CP_UTF8), CP_ACP); }

std::string Ansi_To_Utf8(std::string_view ansi) { return Narrow(Widen(ansi, CP_ACP), CP_UTF8); }

}  // namespace corvane
