// The common shape of a category routine: the bold header row of the
// category on this computer, problem rows numbered by the scan's counter
// that carry their typed record (problem.h),
// the per-entry progress step with Stop and Skip, and the count written at
// the end. A routine that fails leaves the header's count empty, so the
// count is written by Finish and never by the destructor.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/ui/problem.h"
#include "base/ui/problem_kinds.h"
#include "remote/wmi_registry.h"
#include "scan/scan_arguments.h"

namespace corvane::scan {

using fix::FixType;
using remote::kHkeyLocalMachineRoot;
using remote::kHkeyUsersRoot;
inline constexpr const char* kHklmPrefix = "HKEY_LOCAL_MACHINE\\";
inline constexpr const char* kProblemsFoundSuffix = " Problems Found";

// A file or folder problem row ("c" rows) as the routine found it.
struct FileProblem {
    FixType type = FixType::File;
    std::string text;           // the file's name, or a folder's full path
    std::string detail;         // column "Data": the size, or a shortcut's target
    std::string path;           // what the fix deletes
    std::string kind;           // column "Problem": the file type text
    std::string location;       // column "Registry Key": the full path shown
    std::string startFolder{};  // the category's folder the walk started at
    std::string ownerSid{};     // the user whose profile holds it; "" for computer-wide folders
    std::string keptBy{};       // the program that holds it while it runs for ownerSid; "" none
    FileIdentity identity{};    // which file the listing showed; unknown where it cannot tell
    ScanEvidence evidence{};    // a shortcut's target tested and found missing
    std::string smallIcon = "File";
};

// What the routine does after an entry's progress step.
enum class EntryStep { Continue, Skip, Stop };

// A registry problem row as the routine found it.
struct RegistryProblem {
    FixType type = FixType::Value;
    std::string text;         // column "Value Name"
    std::string data;         // column "Data"
    std::string problem;      // column "Problem"
    std::string keyPath;      // the key path below the root
    std::string registryKey;  // column "Registry Key": the key with its root name
    std::string valueName;    // the value to delete, "" for a key
    std::uint32_t root = kHkeyLocalMachineRoot;
    ScanEvidence evidence{};  // the value's data as read and what was tested
};

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

    // After an entry of a registry list: the entry done, the problems found,
    // the message pump; then Stop or Skip as requested. A Skip request is
    // cleared here.
    [[nodiscard]] EntryStep After_Entry(std::int64_t position, std::int64_t upperBound);
    // The problems found and the message pump, leaving a Stop or Skip request
    // to the caller (inside a walk, whose caller acts on it).
    void Let_Messages_Through();

    // The header's count and its text; clears a pending Skip. Entries whose
    // existence could not be told (and so were not listed) get one warning
    // line in the log with their number and the last error.
    void Finish();
    // The header's count and its text as they stand now (a running total).
    void Write_Count();
    // A text in place of the header's count (a category that did not run).
    void Write_Header_Note(std::string_view note);

    [[nodiscard]] ScanArguments& Args() noexcept { return args_; }
    [[nodiscard]] std::int32_t Found() const noexcept { return found_; }
    [[nodiscard]] const std::string& Header() const noexcept { return header_; }
    [[nodiscard]] bool Stop_Requested() const noexcept;

private:
    // The header's status text, and its count when given.
    void Write_Header_Status(std::string status, std::optional<std::int32_t> count);
    // Refuses a row type the category has no re-test rule for.
    void Require_Rule(FixType type) const;
    // The record of a row of this category on this computer.
    [[nodiscard]] Problem Record(FixType type, ScanEvidence evidence) const;
    // Adds a problem row under the header and counts it; returns its index.
    std::size_t Add_Problem_Row(std::string key, const std::string& text, std::string_view smallIcon, Problem record,
                                std::string data, std::string status, std::string location);

    ScanArguments& args_;
    std::span<const fix::RecheckRule> rules_;
    std::string icon_;
    std::string header_;
    std::string headerKey_;
    bool rowsChecked_ = true;
    std::int32_t found_ = 0;
};

}  // namespace corvane::scan
