#include "backup/restore_listing.h"

#include <cmath>

#include "base/runtime_error.h"
#include "base/text.h"
#include "remote/restore_point_check.h"
#include "remote/wmi_datetime.h"
#include "remote/wmi_files.h"
#include "remote/wmi_system.h"

namespace corvane::backup {

std::string Wmi_Date_To_Date(std::string_view wmiDateTime) {
    const auto value = remote::Parse_Wmi_Date_Time(wmiDateTime);
    return value ? remote::Display_Date_Time(*value) : std::string(wmiDateTime);
}

bool List_Backup_Files(wmi::IServices& cimv2, const Reporter& reporter, std::string_view folder,
                       std::vector<RestoreRow>& rows, int& count, std::string_view prefix, std::string_view extension) {
    count = 0;
    if (folder.size() < 2) return false;
    const std::string query = "Select FileName,CreationDate,FileSize,Drive,Path From CIM_DataFile Where Drive ='" +
                              std::string(folder.substr(0, 2)) + "' And Path ='" +
                              remote::Wql_Escape(folder.substr(2)) + "\\\\'And Extension='" + std::string(extension) +
                              "'";
    try {
        for (const wmi::ObjectPtr& file : cimv2.ExecQuery(query, wmi::kForwardOnlyReturnImmediately)) {
            const std::string name = file->Get("FileName").As_String();
            if (!Starts_With_Ignore_Case(name, prefix)) continue;
            const wmi::Variant size = file->Get("FileSize");
            const double kilobytes = size.Is_Empty() ? 0 : static_cast<double>(size.As_Int64()) / 1024;
            rows.push_back({.key = "file" + std::to_string(count),
                            .text = name + "." + std::string(extension),
                            .tag = file->Get("Drive").As_String() + file->Get("Path").As_String(),
                            .date = Wmi_Date_To_Date(file->Get("CreationDate").As_String()),
                            .size = std::to_string(std::llround(kilobytes)) + " KB"});
            ++count;
        }
    } catch (const RuntimeError& error) {
        reporter.Show_Error(false, error);
        return false;
    }
    return true;
}

bool List_Restore_Points(wmi::IServices& rootDefault, std::vector<RestoreRow>& rows, std::int32_t& errorCode) {
    try {
        for (const wmi::ObjectPtr& point : rootDefault.InstancesOf("SystemRestore")) {
            rows.push_back({.key = "point" + std::to_string(rows.size()),
                            .text = point->Get("Description").As_String(),
                            .tag = std::to_string(point->Get("SequenceNumber").As_Int64()),
                            .date = Wmi_Date_To_Date(point->Get("CreationTime").As_String()),
                            .size = {}});
        }
    } catch (const RuntimeError& error) {
        errorCode = error.Number();
        return false;
    }
    return true;
}

}  // namespace corvane::backup
