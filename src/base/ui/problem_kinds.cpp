#include "base/ui/problem_kinds.h"

#include <cstddef>

namespace corvane::fix {

namespace {
constexpr std::string_view kFixTypeCharacters = "01234";
}  // namespace

char Fix_Type_Character(FixType type) { return kFixTypeCharacters[static_cast<std::size_t>(type)]; }

std::optional<FixType> Fix_Type_Of(std::string_view tag) {
    const std::size_t position = tag.empty() ? std::string_view::npos : kFixTypeCharacters.find(tag.front());
    if (position == std::string_view::npos) return std::nullopt;
    return static_cast<FixType>(position);
}

}  // namespace corvane::fix
