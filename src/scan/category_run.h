// The common shape of a category routine: the bold header row of the
// category on this computer, problem rows numbered by the scan's counter,
// the per-entry progress step with Stop and Skip, and the count written at
// the end. A routine that fails leaves the header's count empty, so the
// count is written by Finish and never by the destructor.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "base/ui/problem_kinds.h"
#include "remote/wmi_registry.h"
#include "scan/scan_arguments.h"

namespace corvane {
struct ListRow;
}

namespace corvane::scan {

using fix::FixType;
using remote::kHkeyLocalMachineRoot;
using remote::kHkeyUsersRoot;
inline constexpr const char* kHklmPrefix = "HKEY_LOCAL_MACHINE\\";
inline constexpr const char* kProblemsFoundSuffix = " Problems Found";

// The fields of a file or folder problem row ("c" rows) besides its key and check mark.
struct FileProblem {
    FixType type = FixType::File;
    std::string text;      // the file's name, or a folder's full path
    std::string detail;    // sub-item 1: the size, or a shortcut's target
    std::string path;      // sub-item 1's tag: what the fix deletes
    std::string kind;      // sub-item 2: the file type text
    std::string location;  // sub-item 3: the full path shown
    std::string smallIcon = "File";
};

// What the routine does after an entry's progress step.
enum class EntryStep { Continue, Skip, Stop };

// The fields of a registry problem row besides its key, icon and check mark.
struct RegistryProblem {
    FixType type = FixType::Value;
    std::string text;         // "Value Name"
    std::string data;         // "Data"
    std::string problem;      // "Problem"
    std::string keyPath;      // sub-item 2's tag: the key path below the root
    std::string registryKey;  // "Registry Key": the key with its root name
    std::string valueName;    // sub-item 3's tag: the value to delete, "" for a key
    std::uint32_t root = kHkeyLocalMachineRoot;
};

// The root key as the 32-bit signed number that row tags carry ("-2147483646").
[[nodiscard]] std::string Root_Tag(std::uint32_t root);

class CategoryRun {
public:
    // Writes the category's header row (section header and icon of the category table).
    explicit CategoryRun(ScanArguments& args);
    CategoryRun(const CategoryRun&) = delete;
    CategoryRun& operator=(const CategoryRun&) = delete;

    // True when the candidate text matches an entry of the exception list.
    [[nodiscard]] bool Is_Excepted(std::string_view candidate) const;

    // Adds a registry problem row (checked unless the category's rows start
    // unchecked) one level under the header, scrolls
    // it into view and counts it; with the category's icon unless told. A
    // row whose type has no re-test rule in the category is refused
    // (RuntimeError), as for file rows.
    void Add_Registry_Problem(const RegistryProblem& problem, std::string_view icon = {});

    // Adds a file or folder problem row (checked as a registry row) one level
    // under the header and counts it; scrolled into view only when asked (the folder walker's
    // rows are not, to keep large walks fast).
    void Add_File_Problem(const FileProblem& problem, bool scrollIntoView);

    // After an entry of a registry list: "position/upperBound", the problem
    // count, the message pump; then Stop or Skip as requested. A Skip request
    // is cleared here.
    [[nodiscard]] EntryStep After_Entry(std::int64_t position, std::int64_t upperBound);

    // The header's count text and tag; clears a pending Skip. Entries whose
    // existence could not be told (and so were not listed) get one warning
    // line in the log with their number and the last error.
    void Finish();
    // The header's count text and tag as they stand now (a running total).
    void Write_Count();
    // A text in place of the header's count (a category that did not run).
    void Write_Header_Note(std::string_view note);

    [[nodiscard]] ScanArguments& Args() noexcept { return args_; }
    [[nodiscard]] std::int32_t Found() const noexcept { return found_; }
    [[nodiscard]] const std::string& Header() const noexcept { return header_; }
    [[nodiscard]] bool Stop_Requested() const noexcept;

private:
    // Refuses a row type the category has no re-test rule for.
    void Require_Rule(FixType type) const;

    ScanArguments& args_;
    std::span<const fix::RecheckRule> rules_;
    std::string icon_;
    std::string header_;
    std::string headerKey_;
    bool rowsChecked_ = true;
    std::int32_t found_ = 0;
};

}  // namespace corvane::scan
