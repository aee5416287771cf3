// The per-user settings store on Windows: one key per section under
// HKEY_CURRENT_USER\Software\Corvane, one REG_SZ value per setting.
#pragma once

#include <string>

#include "base/ports/settings_store.h"

namespace corvane::win32 {

class Win32SettingsStore final : public ISettingsStore {
public:
    // root: the key below HKEY_CURRENT_USER (tests use a scratch key).
    explicit Win32SettingsStore(std::wstring root = L"Software\\Corvane") : root_(std::move(root)) {}
    std::string GetSetting(std::string_view section, std::string_view key, std::string_view defaultValue) override;
    void SaveSetting(std::string_view section, std::string_view key, std::string_view value) override;

private:
    std::wstring root_;
};

}  // namespace corvane::win32
