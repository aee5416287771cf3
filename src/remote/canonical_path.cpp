#include "remote/canonical_path.h"

#include <cctype>

#include "base/text.h"

namespace corvane::remote {

namespace {

bool Has_Refused_Character(std::string_view component) {
    for (const char c : component) {
        const auto code = static_cast<unsigned char>(c);
        if (code < 0x20 || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' || c == '|') {
            return true;
        }
    }
    return false;
}

}  // namespace

std::optional<std::string> Canonical_Path(std::string_view path) {
    // A drive letter, its colon and a "\": anything else ("C:foo", "\x",
    // "\\server", "\\?\C:") is read by Windows relative to something else.
    if (path.size() < 3 || std::isalpha(static_cast<unsigned char>(path[0])) == 0 || path[1] != ':' ||
        path[2] != '\\' || path.find('/') != std::string_view::npos) {
        return std::nullopt;
    }
    std::vector<std::string_view> components;
    std::size_t start = 3;
    while (start <= path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string_view::npos) end = path.size();
        const std::string_view component = path.substr(start, end - start);
        start = end + 1;
        if (component.empty() || component == ".") continue;
        if (component == "..") {
            if (!components.empty()) components.pop_back();
            continue;
        }
        if (component.back() == '.' || component.back() == ' ' || Has_Refused_Character(component)) {
            return std::nullopt;
        }
        components.push_back(component);
    }
    std::string canonical{static_cast<char>(std::toupper(static_cast<unsigned char>(path[0]))), ':'};
    for (const std::string_view component : components) canonical += "\\" + std::string(component);
    if (components.empty()) canonical += '\\';
    return canonical;
}

bool Has_Short_Name_Mark(std::string_view canonicalPath) { return canonicalPath.find('~') != std::string_view::npos; }

bool Is_At_Or_Below(std::string_view path, std::string_view base) {
    if (!Starts_With_Ignore_Case(path, base)) return false;
    if (path.size() == base.size()) return true;
    return base.ends_with('\\') || path[base.size()] == '\\';
}

std::vector<std::string> Path_Chain(std::string_view canonicalPath) {
    std::vector<std::string> chain;
    for (std::size_t slash = canonicalPath.find('\\', 3);; slash = canonicalPath.find('\\', slash + 1)) {
        if (slash == std::string_view::npos) {
            if (canonicalPath.size() > 3) chain.emplace_back(canonicalPath);
            break;
        }
        chain.emplace_back(canonicalPath.substr(0, slash));
    }
    return chain;
}

}  // namespace corvane::remote
