// Port: the per-user application settings store (sections and keys of text
// values). On Windows the values live under HKEY_CURRENT_USER\Software\Corvane;
// tests keep them in a map.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

class ISettingsStore {
public:
    virtual ~ISettingsStore() = default;
    ISettingsStore() = default;
    ISettingsStore(const ISettingsStore&) = delete;
    ISettingsStore& operator=(const ISettingsStore&) = delete;

    // The stored text, or defaultValue when the section or key is missing.
    [[nodiscard]] virtual std::string GetSetting(std::string_view section, std::string_view key,
                                                 std::string_view defaultValue) = 0;
    // Stores the text; a failure to write is silent (settings are a convenience).
    virtual void SaveSetting(std::string_view section, std::string_view key, std::string_view value) = 0;
};

}  // namespace corvane
