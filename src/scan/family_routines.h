// The family routines: one per first letter of a category node key ("f"
// registry, "d" disk clean-up, "i" Internet Explorer, "x" Firefox, "b"
// Chromium browsers, "w" systemwide search). Each picks the category routine of its family by the
// node's display text from the category table and runs it.
#pragma once

#include <string_view>

#include "scan/scan_arguments.h"

namespace corvane::scan {

// The family routine of the node key's first letter; false (nothing run)
// when the letter names no family.
bool Run_Family_Routine(ScanArguments& args, std::string_view nodeText);

}  // namespace corvane::scan
