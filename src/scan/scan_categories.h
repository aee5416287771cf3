// The table of scan categories, gathered from the family files' descriptors,
// and Fill_Scan_Categories, which builds the category tree of the main window
// from it.
#pragma once

#include <span>
#include <string_view>

#include "base/ui/problem_kinds.h"
#include "scan/category_descriptor.h"

namespace corvane {

class CheckTree;

// Every category in tree order.
[[nodiscard]] std::span<const ScanCategory> Scan_Categories();
// The category with this node key, or nullptr.
[[nodiscard]] const ScanCategory* Find_Scan_Category(std::string_view key);
// The re-test rules of the category with this node key; empty for none (the
// lookup the fix is given).
[[nodiscard]] std::span<const fix::RecheckRule> Category_Recheck_Rules(std::string_view key);

// Clears the tree and fills it: "rR" with the groups "gR", "gD", "gI", "gX",
// "gB" and their categories, then the second root "gW" with "wA"; expands the
// group nodes and selects "rR".
void Fill_Scan_Categories(CheckTree& tree);

}  // namespace corvane
