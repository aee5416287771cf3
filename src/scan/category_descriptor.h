// One scan category as the program knows it: its node in the category tree,
// the header of its rows, the routine that scans it and, for each kind of row
// that routine builds, the reason the fix tests again before deleting. Each
// family file describes its categories next to their routines.
#pragma once

#include <span>
#include <string_view>

#include "base/ui/problem_kinds.h"
#include "scan/scan_arguments.h"

namespace corvane {

struct ScanCategory {
    std::string_view key;            // "fA": family letter and category letter
    std::string_view displayName;    // node text; the family routine dispatches on it
    std::string_view imageKey;       // small icon of the node and of the rows
    std::string_view sectionHeader;  // text of the category's header row
    scan::CategoryRoutine routine = nullptr;
    // One rule per fix type the routine emits; CategoryRun refuses a row of any other type.
    std::span<const fix::RecheckRule> rules;
    // A user's own files (downloads) are listed unchecked: neither automatic
    // fixing nor the console's fix takes them unless the administrator checks them.
    bool rowsStartChecked = true;
};

}  // namespace corvane

namespace corvane::scan {

using fix::FixType;
using fix::Reason;
using fix::RecheckRule;

// The rows of the file and folder categories: deleted only while still there.
inline constexpr RecheckRule kFileRules[] = {{FixType::File, Reason::EntryPresent},
                                             {FixType::Folder, Reason::EntryPresent}};
// A browser's files: deleted only while still there and the browser is not
// running for the user whose profile holds them.
inline constexpr RecheckRule kBrowserFileRules[] = {{FixType::File, Reason::EntryPresentProgramClosed},
                                                    {FixType::Folder, Reason::EntryPresentProgramClosed}};
// Registry entries listed for what they are.
inline constexpr RecheckRule kListedValueRules[] = {{FixType::Value, Reason::Listed}};

// The categories of each family file, in tree order within the file.
[[nodiscard]] std::span<const ScanCategory> Registry_Entry_Categories();
[[nodiscard]] std::span<const ScanCategory> Class_Categories();
[[nodiscard]] std::span<const ScanCategory> Software_Categories();
[[nodiscard]] std::span<const ScanCategory> Trace_Categories();
[[nodiscard]] std::span<const ScanCategory> Disk_Categories();
[[nodiscard]] std::span<const ScanCategory> Browser_Categories();
[[nodiscard]] std::span<const ScanCategory> Chromium_Categories();
[[nodiscard]] std::span<const ScanCategory> Systemwide_Categories();

}  // namespace corvane::scan
