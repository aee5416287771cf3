// The command lines that backups and restores start on a target through
// Win32_Process.Create. Every path is quoted, so that blanks, apostrophes
// and ampersands in folder names can neither split nor extend a command; a
// path that quoting cannot protect is refused before anything runs.
#pragma once

#include <string>
#include <string_view>

namespace corvane::backup {

// Empty when the path may be quoted into a command line; otherwise the
// message that refuses it. A quotation mark or a line break is refused
// everywhere; a "%" as well where the command interpreter reads the line,
// because it expands %NAME% even between quotation marks.
[[nodiscard]] std::string Refused_Path_Message(std::string_view path, bool forCommandInterpreter);

// cmd.exe /q /c md "<folder without its trailing \>"
[[nodiscard]] std::string Make_Folder_Command(std::string_view folder);
// regedit.exe /s /e "<file>" "<root key>" (no /q: Wine's registry editor refuses
// switches it does not know)
[[nodiscard]] std::string Export_Command(std::string_view file, std::string_view rootKey);
// cmd.exe /s /q /c Copy /y /b "<file>" + "<addition>" "<file>": appends the
// addition byte for byte (a text-mode copy would stop at the first Ctrl+Z
// byte of the UTF-16 export).
[[nodiscard]] std::string Append_Command(std::string_view file, std::string_view addition);
// regedit.exe /s "<file>"
[[nodiscard]] std::string Import_Command(std::string_view file);

}  // namespace corvane::backup
