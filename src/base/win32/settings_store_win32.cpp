#include "base/win32/settings_store_win32.h"

#include <windows.h>

#include <vector>

#include "base/win32/unique_any.h"
#include "base/win32/wide_text.h"

namespace corvane::win32 {

std::string Win32SettingsStore::GetSetting(std::string_view section, std::string_view key,
                                           std::string_view defaultValue) {
    const std::wstring path = root_ + L"\\" + Widen(section);
    const std::wstring name = Widen(key);
    DWORD bytes = 0;
    if (::RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &bytes) !=
        ERROR_SUCCESS) {
        return std::string(defaultValue);
    }
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (::RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, buffer.data(), &bytes) !=
        ERROR_SUCCESS) {
        return std::string(defaultValue);
    }
    return Narrow_Buffer(buffer.data(), buffer.size());
}

void Win32SettingsStore::SaveSetting(std::string_view section, std::string_view key, std::string_view value) {
    const std::wstring path = root_ + L"\\" + Widen(section);
    unique_hkey hkey;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, hkey.put(),
                          nullptr) != ERROR_SUCCESS) {
        return;
    }
    const std::wstring name = Widen(key);
    const std::wstring text = Widen(value);
    ::RegSetValueExW(hkey.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

}  // namespace corvane::win32
