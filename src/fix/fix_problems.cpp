#include "fix/fix_problems.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <string>

#include "base/log.h"
#include "base/reporter.h"
#include "base/runtime_error.h"
#include "base/text.h"
#include "base/ui/check_tree.h"
#include "base/ui/main_window_port.h"
#include "base/ui/progress_events.h"
#include "base/ui/results_list.h"
#include "base/ui/results_list_ops.h"
#include "db/app_tables.h"
#include "fix/fix_row.h"
#include "fix/fix_settings.h"
#include "fix/parallel_fix.h"
#include "fix/restore_point.h"
#include "fix/undo_backup.h"
#include "remote/target_session.h"
#include "remote/undo_files.h"
#include "settings/general_options.h"

namespace corvane::fix {

namespace {

class FixRun {
public:
    FixRun(FixEnvironment& env, int checkedCategories)
        : env_(env),
          window_(env.window),
          progress_(env.progress),
          list_(env.window.Results()),
          session_(env.remote, remote::kFixing),
          target_(session_.Context()),
          reporter_(env.remote.reporter),
          checkedCategories_(checkedCategories),
          part_(env.settings != nullptr) {}

    void Run();
    [[nodiscard]] FixTotals Totals() const noexcept { return {totalFixed_, totalFound_}; }

private:
    void Prepare_Panel();
    void Header(std::size_t index);
    void Change_Computer(const std::string& computerName, const std::string& scannedTargetName);
    bool Connect(remote::OpenRequest request);
    void Problem(std::size_t index);
    void Log_Outcome(const RowOutcome& outcome, const std::string& rowText);
    void After_Row();
    void Finish();

    // The index of the current category header; Count() when there is none.
    [[nodiscard]] std::size_t Status_Row() const;
    void Set_Status_Text();
    void Log(const std::string& text, int type = LOG_INFO) const { reporter_.Log_Event(text, type); }
    // The undo backup of this computer when the registry backup option is set.
    [[nodiscard]] UndoBackup* Undo_Backup();

    FixEnvironment& env_;
    IMainWindow& window_;
    IProgressEvents& progress_;
    ResultsList& list_;
    // This run's own session: the fix asks each computer afresh.
    remote::TargetSession session_;
    remote::TargetContext& target_;
    Reporter& reporter_;
    int checkedCategories_;
    // One computer's part of a fix of several at once: the run's start and
    // end (panel, totals, status bar) are its driver's.
    bool part_;

    std::int32_t totalFound_ = 0;
    std::int32_t totalFixed_ = 0;
    std::int32_t categoryFound_ = 0;
    std::int32_t categoryFixed_ = 0;
    // The key of the header whose "fixStatus" sub-item is the current status item.
    std::optional<std::string> statusRowKey_;
    bool computerTaken_ = false;
    // The current computer cannot say who it is: nothing is deleted there.
    bool nameUnreadable_ = false;
    bool FixingAllowed = false;
    std::optional<UndoBackup> undo_;  // of the connected computer, made at its first registry row
};

void FixRun::Run() {
    Prepare_Panel();

    const std::size_t rowCount = list_.Count();
    for (std::size_t index = 0; index < rowCount && index < list_.Count(); ++index) {
        try {
            const RowKind kind = Kind_Of_Key(list_.Row(index).key);
            if (kind == RowKind::Header) {
                Header(index);
            } else if (kind == RowKind::RegistryProblem || kind == RowKind::FileProblem) {
                Problem(index);
            }
        } catch (const RuntimeError& error) {
            reporter_.Show_Error(false, error);
        } catch (const std::exception& error) {
            reporter_.Show_Error(false, error.what());
        }
        After_Row();
        if (env_.stopRequested) {
            Log(kFixAbortedByUser, LOG_WARNING);
            break;
        }
    }
    Finish();
}

void FixRun::Prepare_Panel() {
    if (part_) return;
    progress_.Fix_Started(checkedCategories_);
    window_.Suspend_Results_Drawing(true);
}

std::size_t FixRun::Status_Row() const { return statusRowKey_ ? list_.Find(*statusRowKey_) : list_.Count(); }

void FixRun::Set_Status_Text() {
    const std::size_t index = Status_Row();
    if (index >= list_.Count()) return;
    list_.Row(index).status = std::to_string(categoryFixed_) + kProblemsFixedSuffix;
    list_.Notify_Changed(index);
}

void FixRun::Header(std::size_t index) {
    Set_Status_Text();
    // Copies: the list may change while the message pump runs.
    const ListRow header = list_.Row(index);
    // Computers are told apart by the name they answered with; two that
    // answered with no name are never taken for one.
    const std::string& scannedName = header.targetName;
    if (!computerTaken_ || scannedName != target_.TargetName ||
        (scannedName.empty() && header.computerName != target_.ComputerName)) {
        Change_Computer(header.computerName, scannedName);
    }
    categoryFixed_ = 0;

    const CheckTree& categories = window_.Category_Tree();
    const NodeId node = categories.Find(header.key.substr(0, 2));
    progress_.Category_Started(node != kNoNode ? categories.Node(node).text : header.text);
    categoryFound_ = header.count;
    totalFound_ += categoryFound_;
    statusRowKey_ = header.key;
    Set_Status_Text();
}

void FixRun::Change_Computer(const std::string& computerName, const std::string& scannedTargetName) {
    if (computerTaken_) {
        if (FixingAllowed) Log("Fixing Completed: " + target_.ComputerName);
        session_.Close();
        Log("Disconnected: " + target_.ComputerName);
    }
    computerTaken_ = true;
    undo_.reset();
    progress_.Computer_Started(computerName);
    progress_.Pump();

    FixingAllowed = false;
    nameUnreadable_ = false;
    remote::OpenRequest request{.computerName = computerName};
    request.scannedName = scannedTargetName;
    Fix_Credentials(env_, computerName, request.credentials.userName, request.credentials.password);

    if (!Connect(std::move(request))) return;
    Log("Connected: " + target_.ComputerName);
    progress_.Restore_Point_Started();
    try {
        FixingAllowed = Create_Restore_Point_Before_Fixing(env_, target_, session_.Root_Default());
    } catch (...) {
        progress_.Restore_Point_Ended();  // the next computer's caption must not say so
        throw;
    }
    progress_.Restore_Point_Ended();
    if (FixingAllowed) Log("Fixing Started: " + target_.ComputerName);
}

// Opened for fixing: only the computer that answers with the scanned name,
// its existence tests asked of its own service one row at a time.
bool FixRun::Connect(remote::OpenRequest request) {
    std::string errorText;
    try {
        const remote::OpenOutcome outcome = session_.Open(std::move(request), errorText);
        nameUnreadable_ = outcome == remote::OpenOutcome::NameUnreadable;
        return outcome == remote::OpenOutcome::Opened;
    } catch (const RuntimeError& error) {
        reporter_.Show_Error(false, error);
        return false;
    }
}

void FixRun::Problem(std::size_t index) {
    ListRow& row = list_.Row(index);
    if (!FixingAllowed) {
        if (nameUnreadable_ && row.checked && !row.Is_Fixed()) {
            row.status = kOtherErrorsText;
            list_.Notify_Changed(index);
        }
        return;
    }
    if (!row.checked || row.Is_Fixed()) return;

    RowOutcome outcome;
    if (row.problem) {
        UndoBackup* undo = row.problem->Is_File_Row() ? nullptr : Undo_Backup();
        outcome = Fix_Row(*row.problem, env_.recheckRules, session_, undo);
    }
    if (outcome.error) {
        row.status = *outcome.error;
    } else if (outcome.noLongerPresent) {
        row.status = kProblemNoLongerPresentText;
    } else if (outcome.fixed) {
        row.problem->fixed = true;
        row.status = kProblemFixedText;
        if (const std::size_t header = Status_Row(); header < list_.Count()) --list_.Row(header).count;
        ++categoryFixed_;
        ++totalFixed_;
    } else {
        row.status = Failure_Text(outcome);
    }
    const std::string rowText = row.text;
    list_.Notify_Changed(index);
    Log_Outcome(outcome, rowText);
}

UndoBackup* FixRun::Undo_Backup() {
    if (!env_.undoBackup && !Fix_Option(env_, GO_REGISTRY_BACKUP)) return nullptr;
    if (!undo_) {
        remote::IUserDataFolder* userData = target_.User_Data();
        const std::string base = userData != nullptr ? userData->Local_Application_Data() : std::string();
        // Files are kept by the name the computer gives itself, whatever name reached it.
        // Through WMI only the types StdRegProv writes can come back.
        undo_.emplace(base.empty() ? std::string() : remote::Undo_Folder(base, target_.TargetName),
                      target_.Ports().clock,
                      target_.IsRemote ? remote::ValueTypes::WritableThroughWmi : remote::ValueTypes::Any);
    }
    return &*undo_;
}

// One line per row: what was deleted where, or why not.
void FixRun::Log_Outcome(const RowOutcome& outcome, const std::string& rowText) {
    const std::string where = " on " + target_.ComputerName;
    if (!outcome.known) {
        Log("Not fixed: \"" + rowText + "\"" + where + ": the row names no known fix", LOG_WARNING);
        return;
    }
    if (outcome.noRule) {
        Log("Not deleted: " + outcome.what + where + ": its kind of row has no re-test rule", LOG_WARNING);
        return;
    }
    if (outcome.noLongerPresent) {
        Log("Not deleted: " + outcome.what + where + ": the problem is no longer present (" + outcome.recheckDetail +
                ")",
            LOG_WARNING);
        return;
    }
    if (outcome.fixed && !outcome.error) {
        if (outcome.nothingFound) {
            Log("Nothing to delete, already gone: " + outcome.what + where);
        } else {
            Log("Deleted: " + outcome.what + where +
                (outcome.undoFile.empty() ? std::string() : "; undo file: " + outcome.undoFile));
        }
        return;
    }
    std::string reason = Failure_Text(outcome);
    if (reason.empty()) {
        reason = "return code " + std::to_string(outcome.fileCode != 0 ? outcome.fileCode : outcome.registryCode);
    }
    std::string line = "Not deleted: " + outcome.what + where + ": " + reason;
    if (!outcome.refusal.empty()) line += " (" + outcome.refusal + ")";
    if (outcome.backupFailure) line += "; its undo backup could not be made: " + *outcome.backupFailure;
    if (outcome.type == FixType::KeyTree && outcome.attempted) line += "; some of its sub-keys may have been deleted";
    Log(line, LOG_WARNING);
}

void FixRun::After_Row() {
    progress_.Problems_Fixed(totalFixed_, categoryFixed_, categoryFound_);
    progress_.Pump();
}

void FixRun::Finish() {
    Set_Status_Text();
    if (FixingAllowed) {
        Log("Fixing Completed: " + target_.ComputerName);
        Log("Disconnected: " + target_.ComputerName);
    }
    session_.Close();
    if (!part_) End_Fix(env_, Totals());
}

}  // namespace

std::int32_t Count_Fixable_Problems(const ResultsList& list) { return Count_Checked_Unfixed_Problems(list); }

void End_Fix(FixEnvironment& env, FixTotals totals) {
    env.remote.reporter.Log_Event("Total Problems Fixed " + std::to_string(totals.fixed), LOG_INFO);
    env.window.Suspend_Results_Drawing(false);
    env.window.Set_Status_Text(kTotalProblemsFixedText + std::to_string(totals.fixed) + "/" +
                               std::to_string(totals.found));
    env.progress.Fix_Ended(totals.fixed, totals.found);
}

FixTotals Fix_Computer_Rows(FixEnvironment& env, int checkedCategories) {
    FixRun run(env, checkedCategories);
    run.Run();
    return run.Totals();
}

bool Fix_Problems(FixEnvironment& env, int checkedCategories) {
    if (env.computersAtOnce > 1 && env.settings == nullptr) {
        Fix_Problems_At_Once(env, checkedCategories);
    } else {
        (void)Fix_Computer_Rows(env, checkedCategories);
    }
    return true;
}

void Start_Fixing(FixEnvironment& env, bool keepPanel) {
    IMainWindow& window = env.window;
    env.stopRequested = false;
    const int checkedCategories = window.Category_Tree().Count_Checked_Nodes();
    window.Show_Progress_Panel(true);
    window.Enable_Commands(false);
    try {
        (void)Fix_Problems(env, checkedCategories);
    } catch (const RuntimeError& error) {
        env.remote.reporter.Show_Error(true, error);
    } catch (const std::exception& error) {
        env.remote.reporter.Show_Error(true, error.what());
    }
    window.Show_Progress_Panel(keepPanel);
    if (!keepPanel) window.Enable_Commands(true);
}

}  // namespace corvane::fix
