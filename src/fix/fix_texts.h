// Texts of the fixing routine: what a failed registry row shows in its
// "Problem" column, and how the log names what a row deletes, so that the log
// answers "what did this program remove, and where?".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/ui/problem_kinds.h"

namespace corvane::fix {

// The "Problem" text of the rows of a computer whose name cannot be read now,
// and of a row whose kind has no re-test rule.
inline constexpr const char* kOtherErrorsText = "Other Errors";

// The "Problem" text of a registry row that was not fixed: 5 gives
// "Access denied", 0 gives "Error Number:0", any other code "" (a key or value
// that has vanished, code 2, leaves the column empty).
[[nodiscard]] std::string Error_Number_Text(std::int32_t code);

// "HKEY_LOCAL_MACHINE", "HKEY_USERS" (and the other predefined roots); an
// unknown root as its hexadecimal number, so that a log line never loses it.
[[nodiscard]] std::string Root_Key_Log_Name(std::uint32_t rootKey);

// What a row deletes, as the log names it:
//   registry key tree HKEY_LOCAL_MACHINE\Software\Old (with all sub-keys)
//   registry key HKEY_USERS\S-1-5-21\Software\Old
//   registry value "Name" in HKEY_LOCAL_MACHINE\Software\Old
//   file C:\Windows\Temp\a.tmp
//   folder C:\Windows\Temp\Old
// rootKey, keyPath and valueName are read for the registry types, path for
// files and folders.
[[nodiscard]] std::string Describe_Fix_Target(FixType type, std::uint32_t rootKey, std::string_view keyPath,
                                              std::string_view valueName, std::string_view path);

}  // namespace corvane::fix
