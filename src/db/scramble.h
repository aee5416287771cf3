// Scramble_Text: how the three texts of a managed computer are stored. Each
// character's ANSI code is XOR-ed with (position mod 32), positions from 1.
// The transformation is its own inverse.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

[[nodiscard]] std::string Scramble_Text(std::string_view text);

}  // namespace corvane
