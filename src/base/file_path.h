// UTF-8 text to a std::filesystem::path (wide on Windows) and back.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace corvane {

[[nodiscard]] inline std::filesystem::path Utf8_Path(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

[[nodiscard]] inline std::string Path_Utf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace corvane
