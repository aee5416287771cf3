#include "fix/fix_texts.h"

#include <cstdio>

namespace corvane::fix {

std::string Error_Number_Text(std::int32_t code) {
    if (code == 5) return "Access denied";
    if (code == 0) return "Error Number:0";
    return "";
}

std::string Root_Key_Log_Name(std::uint32_t rootKey) {
    switch (rootKey) {
        case 0x80000000u: return "HKEY_CLASSES_ROOT";
        case 0x80000001u: return "HKEY_CURRENT_USER";
        case 0x80000002u: return "HKEY_LOCAL_MACHINE";
        case 0x80000003u: return "HKEY_USERS";
        case 0x80000005u: return "HKEY_CURRENT_CONFIG";
        default: break;
    }
    char text[16] = {};
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(rootKey));
    return text;
}

namespace {
constexpr std::string_view kFixTypeCharacters = "01234";
}  // namespace

char Fix_Type_Character(FixType type) { return kFixTypeCharacters[static_cast<std::size_t>(type)]; }

std::optional<FixType> Fix_Type_Of(std::string_view tag) {
    const std::size_t position = tag.empty() ? std::string_view::npos : kFixTypeCharacters.find(tag.front());
    if (position == std::string_view::npos) return std::nullopt;
    return static_cast<FixType>(position);
}

std::string Describe_Fix_Target(FixType type, std::uint32_t rootKey, std::string_view keyPath,
                                std::string_view valueName, std::string_view path) {
    const auto fullKey = [&] { return Root_Key_Log_Name(rootKey) + "\\" + std::string(keyPath); };
    switch (type) {
        case FixType::KeyTree: return "registry key tree " + fullKey() + " (with all sub-keys)";
        case FixType::Key: return "registry key " + fullKey();
        case FixType::Value: return "registry value \"" + std::string(valueName) + "\" in " + fullKey();
        case FixType::File: return "file " + std::string(path);
        case FixType::Folder: return "folder " + std::string(path);
    }
    return "";
}

}  // namespace corvane::fix
