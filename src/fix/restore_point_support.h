// Whether a target's Windows version has System Restore. The version is the
// dotted text of Win32_OperatingSystem.Version ("5.1.2600", "10.0.19045");
// major and minor are compared as numbers, so Windows XP and every later
// release (Vista, 7, 8, 10, 11) count as supported.
#pragma once

#include <string_view>

namespace corvane::fix {

// True when System Restore is taken as unavailable: a version below 5.1
// (Windows 2000, NT 4), or a text that does not begin with a version number
// (the version could not be read).
[[nodiscard]] bool Is_System_Restore_Unsupported(std::string_view version) noexcept;

}  // namespace corvane::fix
