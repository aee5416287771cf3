#include "fix/fix_row.h"

#include <algorithm>
#include <exception>
#include <limits>

#include "base/runtime_error.h"
#include "base/text.h"
#include "fix/fix_recheck.h"
#include "fix/undo_backup.h"
#include "remote/canonical_path.h"
#include "remote/folder_path.h"
#include "remote/local_system.h"
#include "remote/share_walk.h"
#include "remote/target_session.h"
#include "remote/wmi_files.h"
#include "remote/wmi_registry.h"

namespace corvane::fix {

namespace {

constexpr std::int32_t kInvalidArgument = 5;  // "Invalid procedure call or argument"
constexpr std::int32_t kNotFound = 2;         // the key does not exist

bool Names_Nothing(std::string_view path) { return path.find_first_not_of("\\ ") == std::string_view::npos; }

// The file code of a row whose undo backup failed ("Other Errors").
constexpr std::int32_t kBackupFailedCode = -1;
// Win32_Directory.Delete's code for a folder that still holds something.
constexpr std::int32_t kDirectoryNotEmptyCode = 14;

bool Value_Present(wmi::IObject& registry, std::uint32_t root, std::string_view keyPath, std::string_view valueName) {
    std::vector<std::string> names;
    std::vector<std::int32_t> types;
    // A key whose values cannot be listed is left to the deletion to answer.
    if (!remote::WMI_Enum_Value_Types(registry, root, keyPath, names, types)) return true;
    return std::ranges::any_of(names, [&](const std::string& name) { return Equals_Ignore_Case(name, valueName); });
}

// What a re-test that does not let the row delete leaves in the outcome;
// false when the deletion may go on.
bool Stopped_By(const Recheck& recheck, RowOutcome& outcome) {
    switch (recheck.state) {
        case ReasonState::Holds: return false;
        case ReasonState::Gone:
            outcome.fixed = true;
            outcome.nothingFound = true;
            break;
        case ReasonState::NoLonger:
            outcome.noLongerPresent = true;
            outcome.recheckDetail = recheck.detail;
            break;
        case ReasonState::Undecided: outcome.error = "The problem could not be checked again: " + recheck.detail; break;
        case ReasonState::InUse:
            outcome.error = kOtherErrorsText;
            outcome.refusal = recheck.detail;
            break;
    }
    return true;
}

void Registry_Action(const Problem& problem, Reason reason, remote::TargetContext& context,
                     remote::WmiConnection& connection, UndoBackup* undo, RowOutcome& outcome) {
    const FixType type = problem.type;
    const std::uint32_t root = problem.registry.root;
    const std::string& keyPath = problem.registry.keyPath;
    const std::string& valueName = problem.registry.valueName;
    outcome.what = Describe_Fix_Target(type, root, keyPath, valueName, "");
    // An empty key path would name the whole root: never deleted.
    if (Names_Nothing(keyPath)) {
        throw RuntimeError(kInvalidArgument, "The problem row names no registry key");
    }
    wmi::IObject& registry = connection.Registry();
    if (!remote::WMI_Check_Access(registry, root, keyPath, remote::kAccessDelete, outcome.registryCode)) {
        if (outcome.registryCode == kNotFound) {
            outcome.registryCode = 0;
            outcome.fixed = true;
            outcome.nothingFound = true;
        }
        return;
    }
    if (type == FixType::Value && !Value_Present(registry, root, keyPath, valueName)) {
        outcome.fixed = true;
        outcome.nothingFound = true;
        return;
    }
    if (Stopped_By(Recheck_Reason(problem, reason, context, connection), outcome)) return;
    if (undo != nullptr) {
        std::string failure;
        if (!undo->Save(registry, type, root, keyPath, valueName, failure)) {
            outcome.fileCode = kBackupFailedCode;
            outcome.backupFailure = failure;
            return;
        }
        outcome.undoFile = undo->Path();
    }
    outcome.attempted = true;
    switch (type) {
        case FixType::KeyTree:
            outcome.fixed = remote::WMI_Delete_Key_Tree(registry, root, keyPath, outcome.registryCode);
            break;
        case FixType::Key: outcome.fixed = remote::WMI_Delete_Key(registry, root, keyPath, outcome.registryCode); break;
        default:
            outcome.fixed = remote::WMI_Delete_Value(registry, root, keyPath, valueName, outcome.registryCode);
            break;
    }
}

// Deletes one file or folder whose identity the listing gave through a
// handle that checks it (share_walk.h) into the outcome; true when it is
// gone (or was not there). A folder that still holds something reads as Win32_Directory.Delete's.
bool Delete_Checked_Entry(const remote::TargetContext& context, const FileItem& item, RowOutcome& outcome) {
    outcome.attempted = true;
    const remote::DeleteResult result = remote::Delete_File_Item(context, item);
    switch (result.outcome) {
        case remote::DeleteOutcome::Deleted: outcome.nothingFound = false; [[fallthrough]];
        case remote::DeleteOutcome::Gone: outcome.fixed = true; return true;
        case remote::DeleteOutcome::NotEmpty: outcome.fileCode = kDirectoryNotEmptyCode; break;
        default: outcome.fileCode = kBackupFailedCode; break;
    }
    outcome.fixed = false;
    outcome.nothingFound = false;
    outcome.refusal = remote::Delete_Outcome_Text(result);
    return false;
}

// Why a file or folder must not be deleted now, or empty: a path in any but
// the canonical form the scan lists, or, on the local computer, one that
// leads through a junction or link (made since the scan, perhaps by the user
// whose folder it is).
std::string Path_Refusal(const std::string& path, remote::TargetContext& context, wmi::IServices& cimv2) {
    const auto canonical = remote::Canonical_Path(path);
    if (!canonical || !Equals_Ignore_Case(*canonical, remote::Normalize_Folder_Path(path))) {
        return "refused path form";
    }
    if (!cimv2.Is_Local_Computer()) return {};
    return remote::Local_Reparse_Refusal(context.Ports().localSystem, *canonical);
}

void File_Action(const Problem& problem, Reason reason, remote::TargetContext& context,
                 remote::WmiConnection& connection, RowOutcome& outcome) {
    const FixType type = problem.type;
    const std::string& path = problem.file.path;
    outcome.what = Describe_Fix_Target(type, 0, "", "", path);
    if (Names_Nothing(path)) throw RuntimeError(kInvalidArgument, "The problem row names no file or folder");
    wmi::IServices& cimv2 = connection.Cimv2();
    if (std::string refusal = Path_Refusal(path, context, cimv2); !refusal.empty()) {
        outcome.error = std::move(refusal);
        return;
    }
    if (Stopped_By(Recheck_Reason(problem, reason, context, connection), outcome)) return;
    // A journal or log listed alone had no database beside it; once one is
    // back, the file belongs to that database and stays.
    if (const std::string_view database = remote::Database_Of_Companion(path);
        type == FixType::File && !database.empty()) {
        const remote::Existence found = remote::Test_File_Existence(context, cimv2, database);
        if (found == remote::Existence::Exists) {
            outcome.noLongerPresent = true;
            outcome.recheckDetail = std::string(database) + " exists";
            return;
        }
        if (found == remote::Existence::Unknown) {
            outcome.error = "The problem could not be checked again: " + context.Take_Undecided().lastError;
            return;
        }
    }
    // A database goes together with the companions it has now, whatever the
    // scan saw; when they cannot be looked for, nothing is deleted. The
    // database is deleted first: while it stays, so do its journal and its
    // log, which SQLite needs to recover it. A companion left without its
    // database is harmless: SQLite discards a journal or a log beside an
    // empty database when one of that name is made again.
    const std::vector<std::string> companions =
        type == FixType::File ? remote::WMI_Database_Companions(cimv2, path) : std::vector<std::string>();
    for (std::size_t i = 0; i < companions.size(); ++i) outcome.what += (i == 0 ? " with " : ", ") + companions[i];
    outcome.nothingFound = true;
    if (!problem.file.identity.known) {
        // Nothing tells that what is there now is what the scan saw (a
        // listing that could not say which file it showed): it stays.
        outcome.fixed = false;
        outcome.nothingFound = false;
        outcome.fileCode = kBackupFailedCode;
        outcome.refusal = "no identity was seen at the scan";
        return;
    }
    if (!Delete_Checked_Entry(context, problem.file, outcome)) return;
    // A companion is whatever file has its name beside the database now:
    // its identity is read now, so the checked deletion still refuses a
    // reparse point on the way and a swap made after this reading.
    for (const std::string& companion : companions) {
        FileItem item = problem.file;
        item.path = companion;
        item.identity = remote::Present_Identity(context, companion);
        if (!Delete_Checked_Entry(context, item, outcome)) return;
    }
}

}  // namespace

std::string Failure_Text(const RowOutcome& outcome) {
    if (outcome.error) return *outcome.error;
    if (outcome.fileCode != 0) return remote::WMI_Return_Code_Text(outcome.fileCode);
    return Error_Number_Text(outcome.registryCode);
}

RowOutcome Fix_Row(const Problem& problem, RecheckRuleLookup rules, remote::TargetSession& session, UndoBackup* undo) {
    remote::TargetContext& context = session.Context();
    remote::WmiConnection& connection = session.Connection();
    RowOutcome outcome;
    outcome.known = true;
    outcome.type = problem.type;
    const RecheckRule* rule = Find_Rule(rules(problem.categoryKey), problem.type);
    try {
        if (rule == nullptr) {
            // Only a row that can be tested again may delete.
            outcome.what = Describe_Fix_Target(problem.type, problem.registry.root, problem.registry.keyPath,
                                               problem.registry.valueName, problem.file.path);
            outcome.noRule = true;
            outcome.error = kOtherErrorsText;
        } else if (problem.Is_File_Row()) {
            File_Action(problem, rule->reason, context, connection, outcome);
        } else {
            Registry_Action(problem, rule->reason, context, connection, undo, outcome);
        }
    } catch (const RuntimeError& error) {
        outcome.fixed = false;
        outcome.error = error.Description();
    } catch (const std::exception& error) {
        outcome.fixed = false;
        outcome.error = error.what();
    }
    return outcome;
}

}  // namespace corvane::fix
