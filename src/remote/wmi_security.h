// Who may reach a file or folder of the target, read back through
// Win32_LogicalFileSecuritySetting.GetSecurityDescriptor, and the test that
// only administrators and the system account may: what the backup folder
// must hold before a backup of the whole registry goes into it. Changing
// the access is left to the programs the target runs (icacls).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "remote/machine_store.h"
#include "remote/wmi.h"

namespace corvane::remote {

inline constexpr const char* kAdministratorsSid = "S-1-5-32-544";
inline constexpr const char* kSystemSid = "S-1-5-18";

// The security descriptor of the file or folder; nothing when it cannot be
// read whole (no such path, access refused, a lost connection, an answer of
// an unexpected shape).
[[nodiscard]] std::optional<FileSecurity> WMI_Get_File_Security(wmi::IServices& cimv2, std::string_view path);

// Empty when the access list, inherited entries included, grants rights to
// Administrators and SYSTEM only (entries that deny are no concern; an
// empty list is not taken for a confirmed one);
// otherwise what else it allows ("... grants access to S-1-5-32-545").
[[nodiscard]] std::string Access_Beyond_Administrators(const FileSecurity& security);

}  // namespace corvane::remote
