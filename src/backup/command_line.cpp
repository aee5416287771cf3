#include "backup/command_line.h"

namespace corvane::backup {
namespace {

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

}  // namespace

std::string Refused_Path_Message(std::string_view path, bool forCommandInterpreter) {
    const std::string_view refused = forCommandInterpreter ? std::string_view("\"\r\n%") : std::string_view("\"\r\n");
    if (path.find_first_of(refused) == std::string_view::npos && path.find('\0') == std::string_view::npos) return {};
    return "The path '" + std::string(path) +
           "' cannot be used in a command line: it contains a quotation mark, a line break" +
           (forCommandInterpreter ? " or a percent sign." : ".");
}

std::string Make_Folder_Command(std::string_view folder) {
    // A "\" right before the closing quotation mark would escape it for
    // programs that parse their command line the C way.
    if (folder.size() > 3 && folder.back() == '\\') folder.remove_suffix(1);
    return "cmd.exe /q /c md " + Quoted(folder);
}

std::string Export_Command(std::string_view file, std::string_view rootKey) {
    return "regedit.exe /s /e " + Quoted(file) + " " + Quoted(rootKey);
}

std::string Append_Command(std::string_view file, std::string_view addition) {
    return "cmd.exe /s /q /c Copy /y /b " + Quoted(file) + " + " + Quoted(addition) + " " + Quoted(file);
}

std::string Import_Command(std::string_view file) { return "regedit.exe /s " + Quoted(file); }

}  // namespace corvane::backup
