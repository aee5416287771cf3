// One problem row's action: reads the fix type and what to delete from the
// row's record and deletes the registry key, key tree, value, file or folder
// it names on the connected computer. Knows nothing of the list or the window;
// the fixing routine writes the outcome into the row.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/ui/problem.h"
#include "base/ui/problem_kinds.h"
#include "fix/fix_texts.h"

namespace corvane::remote {
class TargetSession;
}  // namespace corvane::remote

namespace corvane::fix {

class UndoBackup;

struct RowOutcome {
    // The deletion succeeded (or, for a file or folder, nothing of that name
    // was left to delete).
    bool fixed = false;
    std::int32_t fileCode = 0;
    std::int32_t registryCode = 0;
    // The description of a run-time error raised by the action.
    std::optional<std::string> error;
    // The row's key, value, file or folder no longer existed (an earlier row
    // took it along): nothing was deleted, and the row counts as fixed.
    bool nothingFound = false;
    // The row's reason, tested again, no longer holds (the file is back, the
    // entry is no longer empty): nothing was deleted, the row is not fixed.
    bool noLongerPresent = false;
    std::string recheckDetail;
    // A deletion was requested from the computer (for a key tree, some of its
    // sub-keys may be gone even when the key itself could not be deleted).
    bool attempted = false;
    // The row carried a record, so `what` names a target.
    bool known = false;
    // The record's kind has no re-test rule in its category: refused unseen.
    bool noRule = false;
    FixType type = FixType::KeyTree;
    std::string what;  // Describe_Fix_Target of the row
    // Why the undo backup failed, when that refused the deletion.
    std::optional<std::string> backupFailure;
    std::string undoFile;  // the undo file that holds what the deletion removed
    // Why the checked deletion of a file or folder deleted nothing (the log's words).
    std::string refusal;
};

// The "Problem" text of a row that was not fixed: the error's description,
// else the text of the file code, else Error_Number_Text of the registry code.
[[nodiscard]] std::string Failure_Text(const RowOutcome& outcome);

// Runs the record's action. A record whose fix type has no re-test rule in
// its category is refused ("Other Errors") without any call. Registry types are tried only when CheckAccess
// grants DELETE; a key (CheckAccess code 2) or value that is already gone is
// "nothing found". Before deleting, the row's reason is tested again
// (fix_recheck.h): a reason that no longer holds deletes nothing, one that
// cannot be tested again comes back as an error. With an undo backup the
// deletion happens only once what it removes is saved (else the row fails
// with file code -1, "Other Errors"). A file row deletes the database it
// names with the journal and log files it has at that moment, the database
// first; a member that cannot be deleted fails the row and ends the action.
// A journal or log listed alone is no longer a problem once its database is
// back.
// Run-time errors end the action and come
// back in `error`; a row that names no key path or no file path is refused
// the same way, without any call to the computer.
[[nodiscard]] RowOutcome Fix_Row(const Problem& problem, RecheckRuleLookup rules, remote::TargetSession& session,
                                 UndoBackup* undo = nullptr);

}  // namespace corvane::fix
