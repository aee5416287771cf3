#include "backup/command_line.h"

namespace corvane::backup {
namespace {

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::string Program(std::string_view folder, std::string_view program) {
    return Quoted(std::string(folder) + "\\" + std::string(program));
}

}  // namespace

std::string_view Without_Trailing_Slash(std::string_view folder) {
    if (folder.size() > 3 && folder.back() == '\\') folder.remove_suffix(1);
    return folder;
}

std::string Refused_Path_Message(std::string_view path, bool forCommandInterpreter) {
    const std::string_view refused = forCommandInterpreter ? std::string_view("\"\r\n%!") : std::string_view("\"\r\n");
    if (path.find_first_of(refused) == std::string_view::npos && path.find('\0') == std::string_view::npos) return {};
    return "The path '" + std::string(path) +
           "' cannot be used in a command line: it contains a quotation mark, a line break" +
           (forCommandInterpreter ? ", a percent sign or an exclamation mark." : ".");
}

std::string Make_Folder_Command(const remote::SystemDirectories& target, std::string_view folder) {
    return Program(target.system, "cmd.exe") + " /d /q /c md " + Quoted(Without_Trailing_Slash(folder));
}

std::string Restrict_Folder_Command(const remote::SystemDirectories& target, std::string_view folder) {
    return Program(target.system, "icacls.exe") + " " + Quoted(Without_Trailing_Slash(folder)) +
           " /inheritance:r /grant:r *S-1-5-32-544:(OI)(CI)F *S-1-5-18:(OI)(CI)F /T /C /Q";
}

std::string Export_Command(const remote::SystemDirectories& target, std::string_view file, std::string_view rootKey) {
    return Program(target.windows, "regedit.exe") + " /s /e " + Quoted(file) + " " + Quoted(rootKey);
}

std::string Append_Command(const remote::SystemDirectories& target, std::string_view file, std::string_view addition) {
    return Program(target.system, "cmd.exe") + " /d /s /q /c Copy /y /b " + Quoted(file) + " + " + Quoted(addition) +
           " " + Quoted(file);
}

std::string Import_Command(const remote::SystemDirectories& target, std::string_view file, std::string_view marker) {
    // With /s the interpreter takes off the first and the last quotation
    // mark and keeps the rest as written.
    return Program(target.system, "cmd.exe") + " /d /s /v:on /c \"" + Program(target.system, "reg.exe") + " import " +
           Quoted(file) + " & type nul > " + Quoted(std::string(marker) + ".!errorlevel!") + "\"";
}

}  // namespace corvane::backup
