#include "settings/options_dialog.h"

#include <algorithm>

#include "base/reporter.h"
#include "base/runtime_error.h"
#include "base/text.h"
#include "db/app_tables.h"
#include "settings/general_options.h"

namespace corvane {
namespace {

constexpr const char* kReadError = "Error Reading from DB!";

}  // namespace

const std::vector<OptionsPageNode>& Options_Tree_Nodes() {
    static const std::vector<OptionsPageNode> nodes = {
        {"r0", "Options", "Options", ""},
        {"o0", "General", "GenOptions", "r0"},
        {"o1", "Backup", "RegOptions", "r0"},
        {"o2", "Systemwide", "SyswideOptions", "r0"},
    };
    return nodes;
}

int Page_Of_Node(std::string_view key) { return key.size() < 2 ? 0 : Text_To_Int32(key.substr(1)); }

void OptionsDialog::Load(const std::vector<std::string>& computerNames) {
    Load_Options();
    computers_ = computerNames;
    if (!computers_.empty()) Choose_Computer(computers_.front());
    state_.saveEnabled = false;
}

void OptionsDialog::Load_Options() {
    std::int32_t mask = 0;
    std::string extensions;
    bool read = false;
    try {
        read = Load_Settings(db_, mask, extensions);
    } catch (const RuntimeError& error) {
        reporter_.Show_Error(false, error);
    }
    if (!read) {
        reporter_.Messages().Show(kReadError, MsgButtons::Ok, MsgIcon::Critical);
        return;
    }
    Choose_Automatic(Is_Bit_Set(mask, GO_AUTOMATIC_FIXING));
    Choose_Safe_Scan(Is_Bit_Set(mask, GO_SAFE_SCAN));
    Set_Abort_Fixing(Is_Bit_Set(mask, GO_ABORT_FIXING));
    Set_Restore_Point(Is_Bit_Set(mask, GO_RESTORE_POINT));
    // Set after the fix mode, so that Manual has already cleared and disabled it.
    Set_Shutdown(Is_Bit_Set(mask, GO_SHUTDOWN));
    Set_Reg_Backup(Is_Bit_Set(mask, GO_REGISTRY_BACKUP));
    Set_Extensions(extensions);
    std::int32_t atOnce = kDefaultComputersAtOnce;
    try {
        (void)Load_Computers_At_Once(db_, atOnce);
    } catch (const RuntimeError& error) {
        reporter_.Show_Error(false, error);
    }
    Set_Computers_At_Once(atOnce);
}

void OptionsDialog::Choose_Automatic(bool automatic) {
    state_.automatic = automatic;
    state_.shutdownEnabled = automatic;
    if (!automatic) state_.shutdown = false;
    state_.saveEnabled = true;
}

void OptionsDialog::Choose_Safe_Scan(bool safe) {
    state_.safeScan = safe;
    state_.saveEnabled = true;
}

void OptionsDialog::Set_Abort_Fixing(bool on) {
    state_.abortFixing = on;
    state_.saveEnabled = true;
}

void OptionsDialog::Set_Restore_Point(bool on) {
    state_.restorePoint = on;
    state_.saveEnabled = true;
}

void OptionsDialog::Set_Shutdown(bool on) {
    state_.shutdown = on && state_.shutdownEnabled;
    state_.saveEnabled = true;
}

void OptionsDialog::Set_Reg_Backup(bool on) {
    state_.regBackup = on;
    state_.saveEnabled = true;
}

void OptionsDialog::Set_Extensions(std::string_view text) {
    state_.extensions = std::string(text);
    state_.saveEnabled = true;
}

void OptionsDialog::Set_Computers_At_Once(int count) {
    state_.computersAtOnce = std::clamp(count, 1, kMaxComputersAtOnce);
    state_.saveEnabled = true;
}

void OptionsDialog::Choose_Computer(std::string_view name) {
    chosen_ = std::string(name);
    chosenUser_.clear();
    chosenPassword_ = Secret();
    try {
        Get_Computer_Credentials(db_, chosen_, chosenUser_, chosenPassword_);
    } catch (const RuntimeError& error) {
        if (error.Number() != error_number::kStatementFailed) reporter_.Show_Error(true, error);
    }
}

void OptionsDialog::Run_Backup_Command(void (IBackupCommands::*command)(const IBackupCommands::Target&),
                                       IOptionsProgress& progress) {
    if (!backup_ || chosen_.empty()) return;
    (backup_->*command)(
        {.computer = chosen_, .userName = chosenUser_, .password = chosenPassword_, .progress = progress});
}

bool OptionsDialog::Save_Options() {
    std::int32_t mask = 0;
    std::string stored;
    bool read = false;
    try {
        read = Load_Settings(db_, mask, stored);
    } catch (const RuntimeError& error) {
        reporter_.Show_Error(false, error);
    }
    if (!read) {
        reporter_.Messages().Show(kReadError, MsgButtons::Ok, MsgIcon::Critical);
        return false;
    }
    Set_Option_Bit(mask, GO_AUTOMATIC_FIXING, state_.automatic.value_or(false));
    Set_Option_Bit(mask, GO_SAFE_SCAN, state_.safeScan.value_or(false));
    Set_Option_Bit(mask, GO_ABORT_FIXING, state_.abortFixing);
    Set_Option_Bit(mask, GO_RESTORE_POINT, state_.restorePoint);
    Set_Option_Bit(mask, GO_SHUTDOWN, state_.shutdown);
    Set_Option_Bit(mask, GO_REGISTRY_BACKUP, state_.regBackup);
    try {
        if (!Save_Settings(db_, mask, state_.extensions) || !Save_Computers_At_Once(db_, state_.computersAtOnce)) {
            return false;
        }
    } catch (const RuntimeError& error) {
        if (error.Number() != error_number::kStatementFailed) reporter_.Show_Error(true, error);
        return false;
    }
    state_.saveEnabled = false;
    reporter_.Messages().Show("Successfully saved the changes.", MsgButtons::Ok, MsgIcon::Information);
    return true;
}

bool OptionsDialog::Query_Close() {
    if (!state_.saveEnabled) return true;
    return reporter_.Messages().Show("Are you sure you want to close without saving changes?", MsgButtons::YesNo,
                                     MsgIcon::Question) == MsgResult::Yes;
}

}  // namespace corvane
