// The command lines that backups and restores start on a target through
// Win32_Process.Create. Every helper program is named by its full path in
// the folders the target reports (cmd, reg and icacls from its system
// directory, regedit from its Windows directory), so that no program of the
// same name elsewhere on the search path runs; cmd always gets /d, so that
// no AutoRun command runs with it. Every path is quoted, so that blanks,
// apostrophes and ampersands in folder names can neither split nor extend a
// command; a path that quoting cannot protect is refused before anything runs.
#pragma once

#include <string>
#include <string_view>

#include "remote/wmi_system.h"

namespace corvane::backup {

// Empty when the path may be quoted into a command line; otherwise the
// message that refuses it. A quotation mark or a line break is refused
// everywhere; a "%" or "!" as well where the command interpreter reads the
// line, because it expands %NAME% (and, with delayed expansion, !NAME!)
// even between quotation marks.
[[nodiscard]] std::string Refused_Path_Message(std::string_view path, bool forCommandInterpreter);

// The folder without its trailing "\" (a drive root keeps it): a "\" right
// before a closing quotation mark would escape it for programs that parse
// their command line the C way.
[[nodiscard]] std::string_view Without_Trailing_Slash(std::string_view folder);

// "<system>\cmd.exe" /d /q /c md "<folder without its trailing \>"
[[nodiscard]] std::string Make_Folder_Command(const remote::SystemDirectories& target, std::string_view folder);
// "<system>\icacls.exe" "<folder>" /inheritance:r /grant:r *S-1-5-32-544:(OI)(CI)F
// *S-1-5-18:(OI)(CI)F /T /C /Q: the folder and everything in it readable by
// Administrators and SYSTEM only, named by SID so that it works in every
// language of Windows.
[[nodiscard]] std::string Restrict_Folder_Command(const remote::SystemDirectories& target, std::string_view folder);
// "<windows>\regedit.exe" /s /e "<file>" "<root key>" (no /q: Wine's registry
// editor refuses switches it does not know)
[[nodiscard]] std::string Export_Command(const remote::SystemDirectories& target, std::string_view file,
                                         std::string_view rootKey);
// "<system>\cmd.exe" /d /s /q /c Copy /y /b "<file>" + "<addition>" "<file>":
// appends the addition byte for byte (a text-mode copy would stop at the
// first Ctrl+Z byte of the UTF-16 export).
[[nodiscard]] std::string Append_Command(const remote::SystemDirectories& target, std::string_view file,
                                         std::string_view addition);
// "<system>\cmd.exe" /d /s /v:on /c ""<system>\reg.exe" import "<file>" &
// type nul > "<marker>.!errorlevel!"": the import, then an empty file whose
// extension is the import's exit code, expanded only once the import ended.
[[nodiscard]] std::string Import_Command(const remote::SystemDirectories& target, std::string_view file,
                                         std::string_view marker);

}  // namespace corvane::backup
