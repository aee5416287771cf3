// The folders the systemwide search never enters: where Windows, programs
// and users keep files that only their owners may judge (the Windows
// directory, Program Files, ProgramData, the profiles, the recycle bins,
// System Volume Information). Taken from what the computer reports, and by
// their usual names at the root of every fixed drive besides; compared in
// one canonical, case-insensitive form. The walker leaves them out.
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "scan/scan_target.h"

namespace corvane::scan {

// A full folder path in the form the set compares: "." and ".." resolved,
// "/" read as "\", repeated and final "\" removed, the trailing dots and
// blanks of each name dropped (Windows ignores them), upper case. "" for a
// path that does not start with a drive letter and "\".
[[nodiscard]] std::string Folder_Key(std::string_view path);

class ClosedFolders {
public:
    // A full path; other texts (relative names, empty values) are ignored.
    void Add(std::string_view path);
    [[nodiscard]] bool Contains(std::string_view path) const;
    [[nodiscard]] bool Empty() const noexcept { return keys_.empty(); }

private:
    std::set<std::string> keys_;
};

// The closed folders of the connected computer for the given fixed drives.
// False, with why, when a place cannot be told (the Windows directory, or
// a key that names Program Files, ProgramData or the profiles is refused):
// the search must then not run, since it cannot keep out of them.
[[nodiscard]] bool Read_Closed_Folders(ScanTarget& target, const std::vector<std::string>& drives,
                                       ClosedFolders& folders, std::string& why);

}  // namespace corvane::scan
