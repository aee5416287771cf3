#include "backup/restore_presenter.h"

#include <charconv>
#include <filesystem>
#include <system_error>
#include <utility>

#include "base/file_path.h"
#include "base/runtime_error.h"
#include "base/text.h"

#include "backup/command_line.h"
#include "backup/registry_import.h"
#include "remote/wmi_connection.h"
#include "remote/wmi_errors.h"
#include "remote/wmi_files.h"
#include "remote/wmi_registry_copy.h"
#include "remote/wmi_system.h"

namespace corvane::backup {
namespace {

constexpr const char* kAccessErrorDot = "Error while accessing the System.";
constexpr const char* kFeatureUnsupported = "This Feature is disabled or not supported by the Operating System!";
constexpr std::int32_t kServiceDisabled = 1058;
constexpr std::string_view kUndoKey = "undo";

}  // namespace

bool Is_Undo_Row(const RestoreRow& row) noexcept { return row.key.starts_with(kUndoKey); }

RestorePresenter::RestorePresenter(RestoreMode mode, BackupComputer computer, const remote::RemotePorts& ports,
                                   IRestoreView& view, IProgressPanel& progress, IShell& shell,
                                   remote::IUserDataFolder* userData)
    : mode_(mode),
      computer_(std::move(computer)),
      ports_(ports),
      view_(view),
      progress_(progress),
      shell_(shell),
      userData_(userData) {}

MsgResult RestorePresenter::Show(const std::string& text, MsgButtons buttons, MsgIcon icon) {
    return ports_.reporter.Messages().Show(text, buttons, icon);
}

wmi::ServicesPtr RestorePresenter::Connect(std::string_view nameSpace) const {
    return remote::WMI_Connect_To(ports_, nameSpace, computer_.name, computer_.userName, computer_.password);
}

const RestoreRow* RestorePresenter::Selected() const {
    const int index = view_.Selected_Row();
    return index >= 0 && static_cast<std::size_t>(index) < rows_.size() ? &rows_[static_cast<std::size_t>(index)]
                                                                        : nullptr;
}

void RestorePresenter::Load() {
    if (mode_ == RestoreMode::Registry) {
        view_.Set_Columns(
            {{"Filename", "File Name", 3, 0}, {"CDate", "Creation Date", 3, 0}, {"File Size", "Size", 3, 40}});
        view_.Set_Captions("Restore Registry - " + computer_.name + " - Corvane", "Restore Registry", true);
    } else {
        view_.Set_Columns({{"RPName", "Description", 2, 0}, {"Date", "Date", 2, 20}});
        view_.Set_Captions("Restore System - " + computer_.name + " - Corvane", "Restore System", false);
    }
    Fill_File_List();
    Update_Buttons();
    progress_.Visible_Progress_Bar(false);
}

void RestorePresenter::Fill_File_List() {
    rows_.clear();
    if (mode_ == RestoreMode::Registry) {
        const wmi::ServicesPtr cimv2 = Connect("cimv2");
        std::string windows;
        if (!cimv2 || !remote::WMI_Get_Windows_Directory(*cimv2, windows)) {
            Show(kAccessErrorBang, MsgButtons::Ok, MsgIcon::Critical);
        } else {
            int count = 0;
            (void)List_Backup_Files(*cimv2, ports_.reporter, windows + "\\" + kBackupFolderName, rows_, count,
                                    "CVNFullBackup", "reg");
            List_Undo_Files(*cimv2);
        }
    } else {
        const wmi::ServicesPtr rootDefault = Connect("default");
        std::int32_t errorCode = 0;
        if (!rootDefault) {
            Show(kAccessErrorBang, MsgButtons::Ok, MsgIcon::Critical);
        } else if (!List_Restore_Points(*rootDefault, rows_, errorCode)) {
            rows_.clear();
            if (errorCode == Hresult_Number(wmi::hresult::kWbemInvalidClass)) {
                Show(kFeatureUnsupported, MsgButtons::Ok, MsgIcon::Exclamation);
            } else {
                Show("Error while enumarating the System Restore Points!", MsgButtons::Ok, MsgIcon::Critical);
            }
        }
    }
    view_.Show_Rows(rows_);
}

void RestorePresenter::List_Undo_Files(wmi::IServices& cimv2) {
    // Undo files are kept under the name the computer gives itself; one that
    // cannot say who it is gets none listed.
    const std::string base = userData_ ? userData_->Local_Application_Data() : std::string();
    std::string name;
    if (base.empty() || !remote::WMI_Get_Computer_Name(cimv2, name) || name.empty()) return;
    for (const remote::UndoFileInfo& info : remote::List_Undo_Files(base, name)) {
        rows_.push_back({.key = std::string(kUndoKey) + std::to_string(rows_.size()),
                         .text = remote::Undo_File_Caption(info),
                         .tag = info.path,
                         .date = info.date,
                         .size = {}});
    }
}

void RestorePresenter::Update_Buttons() {
    const bool selected = Selected() != nullptr;
    view_.Enable_Buttons(selected, selected);
}

void RestorePresenter::Selection_Changed() { Update_Buttons(); }

void RestorePresenter::Restore_Clicked() {
    const RestoreRow* row = Selected();
    if (row == nullptr) return;
    if (mode_ == RestoreMode::System) {
        Restore_System(*row);
        return;
    }
    if (Show("Are you sure you want to Restore the Registry with this file '" + row->text + "' ?", MsgButtons::YesNo,
             MsgIcon::Question) == MsgResult::No) {
        return;
    }
    if (Is_Undo_Row(*row)) {
        Restore_Undo_File(*row);
    } else {
        Restore_Registry(*row);
    }
}

void RestorePresenter::Restore_Undo_File(const RestoreRow& row) {
    remote::RegFile file;
    try {
        file = remote::Read_Reg_File(row.tag);
    } catch (const RuntimeError& error) {
        ports_.reporter.Show_Error(true, error);
        return;
    }
    const wmi::ServicesPtr cimv2 = Connect("cimv2");
    const wmi::ServicesPtr rootDefault = cimv2 ? Connect("default") : nullptr;
    std::string name;
    if (!rootDefault || !remote::WMI_Get_Computer_Name(*cimv2, name)) {
        Show(kAccessErrorBang, MsgButtons::Ok, MsgIcon::Critical);
        return;
    }
    // The list shows only the files of the name the computer gives; it may
    // have been renamed since the list was filled.
    const std::string madeFor = remote::Undo_File_Computer(row.tag);
    if (!madeFor.empty() && !Equals_Ignore_Case(name, madeFor)) {
        Show("The computer '" + computer_.name + "' answers as '" + name + "', but the undo file was made for '" +
                 madeFor + "'. Nothing was written.",
             MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    progress_.Visible_Progress_Bar(true);
    progress_.Set_Progress("Please wait while restoring registry...", 20, 1);
    remote::RegistryWriteReport report;
    try {
        const wmi::ObjectPtr registry = rootDefault->Get("StdRegProv");
        report = remote::WMI_Write_Blocks(*registry, file, [&](std::string_view fullKey, std::string_view valueName) {
            const std::string shownName = valueName.empty() ? std::string("(Default)") : std::string(valueName);
            return Show("The value '" + shownName + "' of " + std::string(fullKey) +
                            " holds other data now.\r\nDo you want to overwrite it with the saved data?",
                        MsgButtons::YesNo, MsgIcon::Question) == MsgResult::Yes;
        });
    } catch (const RuntimeError& error) {
        progress_.Visible_Progress_Bar(false);
        ports_.reporter.Show_Error(true, error);
        return;
    }
    progress_.Visible_Progress_Bar(false);
    const std::string summary = std::to_string(report.keys) + " keys, " + std::to_string(report.valuesWritten) +
                                " values written, " + std::to_string(report.valuesUnchanged) + " already as saved, " +
                                std::to_string(report.valuesKept) + " kept with other data, " +
                                std::to_string(report.failures.size()) + " failed";
    ports_.reporter.Log_Event("Undo restored: " + computer_.name + ": " + row.tag + ": " + summary,
                              report.failures.empty() ? LOG_INFO : LOG_WARNING);
    for (const std::string& failure : report.failures) {
        ports_.reporter.Log_Event("Not restored: " + computer_.name + ": " + failure, LOG_WARNING);
    }
    if (report.failures.empty()) {
        Show("Registry Restored successfully.\r\n" + summary + ".", MsgButtons::Ok, MsgIcon::Information);
    } else {
        Show("Error while restoring the Registry!\r\n" + summary + "; see the log.", MsgButtons::Ok, MsgIcon::Critical);
    }
}

void RestorePresenter::Restore_Registry(const RestoreRow& row) {
    const std::string path = row.tag + row.text;
    if (const std::string refused = Refused_Path_Message(path, true); !refused.empty()) {
        ports_.reporter.Show_Error(true, refused);
        return;
    }
    progress_.Visible_Progress_Bar(true);
    progress_.Set_Progress("Please wait while restoring registry...", 20, 1);
    const wmi::ServicesPtr cimv2 = Connect("cimv2");
    if (!cimv2) {
        Show(kAccessErrorBang, MsgButtons::Ok, MsgIcon::Critical);
    } else {
        const ImportResult result = Import_Registry_File(*cimv2, {ports_, progress_}, path);
        progress_.Visible_Progress_Bar(false);
        Report_Import(result, path);
    }
    progress_.Visible_Progress_Bar(false);
}

void RestorePresenter::Report_Import(const ImportResult& result, const std::string& path) {
    const std::string where = computer_.name + ": " + path;
    switch (result.outcome) {
        case ImportOutcome::Done:
            ports_.reporter.Log_Event("Registry restored: " + where);
            Show("Registry Restored successfully.", MsgButtons::Ok, MsgIcon::Information);
            return;
        case ImportOutcome::CompletedWithErrors: {
            const std::string code = std::to_string(result.exitCode);
            ports_.reporter.Log_Event("Registry restore completed with errors (exit code " + code + "): " + where,
                                      LOG_WARNING);
            Show("The registry import completed with errors (exit code " + code +
                     "): some keys were not written, for example keys in use.\r\nThe registry was not restored "
                     "completely.",
                 MsgButtons::Ok, MsgIcon::Critical);
            return;
        }
        case ImportOutcome::Unconfirmed:
            ports_.reporter.Log_Event("Registry restore not confirmed: " + where, LOG_WARNING);
            Show(
                "The registry import was started, but its outcome could not be confirmed in the time allowed. "
                "Check the registry before relying on it.",
                MsgButtons::Ok, MsgIcon::Exclamation);
            return;
        case ImportOutcome::Failed:
        case ImportOutcome::FileMissing:
            ports_.reporter.Show_Error(false, "Registry restore failed: " + where);
            Show("Error while restoring the Registry!", MsgButtons::Ok, MsgIcon::Critical);
            return;
    }
}

void RestorePresenter::Restore_System(const RestoreRow& row) {
    if (Show("This will restart the system forcefully.\r\nAre you sure you want to restore the system with this "
             "Restore Point '" +
                 row.text + "' ?",
             MsgButtons::YesNo, MsgIcon::Question) == MsgResult::No) {
        return;
    }
    std::uint32_t sequence = 0;
    const auto parsed = std::from_chars(row.tag.data(), row.tag.data() + row.tag.size(), sequence);
    if (parsed.ec != std::errc() || parsed.ptr != row.tag.data() + row.tag.size()) {
        Show("Error while restoring the System!", MsgButtons::Ok, MsgIcon::Critical);
        return;
    }
    const wmi::ServicesPtr rootDefault = Connect("default");
    const wmi::ServicesPtr cimv2 = rootDefault ? Connect("cimv2") : nullptr;
    if (!rootDefault || !cimv2) {
        Show(kAccessErrorDot, MsgButtons::Ok, MsgIcon::Critical);
        return;
    }
    std::int32_t code = 0;
    if (!remote::WMI_Restore_System(*rootDefault, sequence, code)) {
        if (code == Hresult_Number(wmi::hresult::kWbemNotFound) || code == kServiceDisabled) {
            Show(kFeatureUnsupported, MsgButtons::Ok, MsgIcon::Exclamation);
        } else {
            Show("Error while restoring the System!", MsgButtons::Ok, MsgIcon::Critical);
        }
        return;
    }
    ports_.reporter.Log_Event("System restored: " + computer_.name + ": " + row.text);
    if (remote::WMI_Shutdown(*cimv2, computer_.name, remote::kRebootForced)) {
        Show("System restored successfully and Windows restarted.", MsgButtons::Ok, MsgIcon::Information);
    } else {
        Show("System restored successfully. You must restart the System manually!", MsgButtons::Ok,
             MsgIcon::Exclamation);
    }
}

void RestorePresenter::Delete_Clicked() {
    if (mode_ != RestoreMode::Registry) return;
    const int index = view_.Selected_Row();
    if (const RestoreRow* row = Selected(); row != nullptr) {
        if (Is_Undo_Row(*row)) {
            Delete_Undo_File(index);
        } else {
            Delete_Backup_File(index);
        }
    }
    if (static_cast<int>(rows_.size()) == view_.Rows_Per_Page() - 1) view_.Widen_First_Column(250);
}

void RestorePresenter::Delete_Backup_File(int index) {
    const RestoreRow& row = rows_[static_cast<std::size_t>(index)];
    if (Show("Are you sure you want to Delete the selected Registry Backup file '" + row.text + "' ?",
             MsgButtons::YesNo, MsgIcon::Question) == MsgResult::No) {
        return;
    }
    const std::string path = row.tag + row.text;
    const wmi::ServicesPtr cimv2 = Connect("cimv2");
    std::string targetName;
    if (!cimv2 || !remote::WMI_Get_Computer_Name(*cimv2, targetName)) {
        Show(kAccessErrorDot, MsgButtons::Ok, MsgIcon::Critical);
        return;
    }
    // A file that is already gone is not reported as deleted, but its row goes.
    bool gone = false;
    try {
        gone = cimv2->ExecQuery("Select Name from CIM_DataFile where Name='" + remote::Wql_Escape(path) + "'").empty();
    } catch (const RuntimeError&) {
        Show("Error while deleting the file!", MsgButtons::Ok, MsgIcon::Critical);
        return;
    }
    std::int32_t code = 0;
    if (!gone && !remote::WMI_Delete_File(*cimv2, path, code)) {
        Show("Error while deleting the file!", MsgButtons::Ok, MsgIcon::Critical);
        return;
    }
    if (!gone) ports_.reporter.Log_Event("Deleted: " + computer_.name + ": " + path);
    rows_.erase(rows_.begin() + index);
    view_.Remove_Row(index);
    Update_Buttons();
    if (gone) {
        Show(kBackupFileGoneMessage, MsgButtons::Ok, MsgIcon::Exclamation);
    } else {
        Show("Registry backup file deleted successfully.", MsgButtons::Ok, MsgIcon::Information);
    }
}

void RestorePresenter::Delete_Undo_File(int index) {
    const RestoreRow& row = rows_[static_cast<std::size_t>(index)];
    if (Show("Are you sure you want to Delete the selected Registry Backup file '" + row.text + "' ?",
             MsgButtons::YesNo, MsgIcon::Question) == MsgResult::No) {
        return;
    }
    // The undo file is kept on this computer, not on the target.
    std::error_code error;
    if (!std::filesystem::remove(Utf8_Path(row.tag), error)) {
        Show("Error while deleting the file!", MsgButtons::Ok, MsgIcon::Critical);
        return;
    }
    ports_.reporter.Log_Event("Deleted: " + row.tag);
    rows_.erase(rows_.begin() + index);
    view_.Remove_Row(index);
    Update_Buttons();
    Show("Registry backup file deleted successfully.", MsgButtons::Ok, MsgIcon::Information);
}

}  // namespace corvane::backup
