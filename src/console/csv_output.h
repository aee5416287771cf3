// The results file of an unattended run: written whole under FILE.partial
// beside its final name and renamed to FILE only when complete, so that a run
// stopped half-way leaves no half-written file under the final name and the
// previous run's file as it was. Writing only; what goes in is the caller's.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <string_view>

namespace corvane::console {

inline constexpr std::string_view kPartialSuffix = ".partial";

struct CsvWriteResult {
    bool written = false;  // the file holds everything under its final name
    std::string error;     // one line: what failed, on which file
};

// Runs write into FILE.partial, then renames it over FILE (replacing an
// older one). A partial file that could not be written whole is removed; one
// written whole whose rename failed (FILE held open, FILE a folder) is kept.
// An exception thrown by write passes through and leaves FILE untouched.
[[nodiscard]] CsvWriteResult Write_Csv_File(const std::string& path, const std::function<void(std::ostream&)>& write);

}  // namespace corvane::console
