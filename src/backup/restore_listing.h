// What the restore dialog lists on the target: the full backup files kept in
// the backup folder and the computer's restore points (made by any program).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "backup/registry_backup.h"
#include "remote/wmi.h"

namespace corvane::backup {

// One row of the restore dialog's list. Registry mode: text = file name with
// extension, tag = its folder ending in "\", date, size ("12 KB"). System
// mode: text = description, tag = sequence number, date.
struct RestoreRow {
    std::string key;
    std::string text;
    std::string tag;
    std::string date;
    std::string size;
};

// Adds one row per file of folder (no trailing "\") with that extension whose
// name begins with prefix (any letter case); count = rows added. False when
// the folder could not be listed.
bool List_Backup_Files(wmi::IServices& cimv2, const Reporter& reporter, std::string_view folder,
                       std::vector<RestoreRow>& rows, int& count, std::string_view prefix, std::string_view extension);

// Adds one row per restore point; false with the run-time error's number in
// errorCode when they cannot be listed.
bool List_Restore_Points(wmi::IServices& rootDefault, std::vector<RestoreRow>& rows, std::int32_t& errorCode);

// WMI's date-time text as the list shows it; the text itself when unreadable.
[[nodiscard]] std::string Wmi_Date_To_Date(std::string_view wmiDateTime);

}  // namespace corvane::backup
