// The family routines: one per first letter of a category node key ("f"
// registry, "d" disk clean-up, "i" Internet Explorer, "x" Firefox, "w"
// systemwide search). Each picks the category routine by the node's display
// text, runs it, and then moves the progress bar on by one.
#pragma once

#include <span>
#include <string_view>

#include "scan/scan_arguments.h"

namespace corvane::scan {

struct CategoryEntry {
    std::string_view displayName;
    CategoryRoutine routine;
};

// The dispatch table of a family letter, in the order the family tests the
// names; empty for a letter that is no family.
[[nodiscard]] std::span<const CategoryEntry> Family_Categories(char family);

// The family routine of the node key's first letter; false (nothing run)
// when the letter names no family.
bool Run_Family_Routine(ScanArguments& args, std::string_view nodeText);

}  // namespace corvane::scan
