// The programs a simulated computer can run: the command interpreter ("md"
// and "copy a + b c") and the registry editor (export with /e, import).
#include <algorithm>

#include "base/text.h"
#include "remote/reg_file.h"
#include "remote/sim/sim_computer.h"

namespace corvane::remote {
namespace {

std::string Image_Name(std::string_view program) {
    const std::size_t slash = program.find_last_of('\\');
    std::string image = Lower_Ascii(slash == std::string_view::npos ? program : program.substr(slash + 1));
    if (image.find('.') == std::string::npos) image += ".exe";
    return image;
}

// "/q" "/Q" "/s" ... are switches; everything else is an argument.
bool Is_Switch(std::string_view argument) { return argument.size() == 2 && argument[0] == '/'; }

void Run_Regedit(SimComputer& computer, const std::vector<std::string>& arguments) {
    bool exporting = false;
    std::vector<std::string> rest;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        if (Is_Switch(arguments[i])) {
            if (Lower_Ascii(arguments[i]) == "/e") exporting = true;
        } else {
            rest.push_back(arguments[i]);
        }
    }
    if (exporting) {
        if (rest.size() < 2) return;
        const std::string& file = rest[0];
        const std::string& key = rest[1];
        const std::size_t slash = key.find('\\');
        const auto root = Root_Key_From_Name(key.substr(0, slash));
        if (!root) return;
        RegFile export_;
        export_.format = RegFormat::Version5;
        if (computer.registry.Export(*root, slash == std::string::npos ? "" : key.substr(slash + 1), export_) != 0)
            return;
        const std::size_t folderEnd = file.find_last_of('\\');
        if (folderEnd == std::string::npos) return;
        const auto folder = computer.files.Find(file.substr(0, folderEnd));
        if (!folder || !folder->isFolder) return;  // the editor cannot create the file
        computer.files.Write_File(file, Reg_File_Bytes(export_), computer.now);
        return;
    }
    if (rest.empty()) return;
    const auto bytes = computer.files.Read_File(rest[0]);
    if (!bytes) return;
    try {
        computer.registry.Import(Parse_Reg_File(*bytes));
    } catch (const std::exception&) {
        // The registry editor run silently gives up on a file it cannot read.
    }
}

void Run_Cmd(SimComputer& computer, const std::vector<std::string>& arguments) {
    std::size_t i = 1;
    while (i < arguments.size() && Is_Switch(arguments[i]) && Lower_Ascii(arguments[i]) != "/c") ++i;
    if (i >= arguments.size() || Lower_Ascii(arguments[i]) != "/c") return;
    ++i;
    if (i >= arguments.size()) return;
    const std::string verb = Lower_Ascii(arguments[i]);
    std::vector<std::string> rest(arguments.begin() + static_cast<std::ptrdiff_t>(i + 1), arguments.end());
    if (verb == "md" || verb == "mkdir") {
        for (const std::string& folder : rest) (void)computer.files.Make_Folder(folder, computer.now);
        return;
    }
    if (verb == "copy") {
        // copy a + b [+ c ...] target: the sources joined into the target.
        std::vector<std::string> sources;
        std::string target;
        bool expectSource = true;
        for (const std::string& argument : rest) {
            if (argument == "+") {
                expectSource = true;
            } else if (Is_Switch(argument)) {
                continue;
            } else if (expectSource) {
                sources.push_back(argument);
                expectSource = false;
            } else {
                target = argument;
            }
        }
        if (sources.empty()) return;
        if (target.empty()) target = sources.front();
        std::vector<std::uint8_t> joined;
        for (const std::string& source : sources) {
            const auto bytes = computer.files.Read_File(source);
            if (!bytes) return;  // a missing source: copy writes nothing
            joined.insert(joined.end(), bytes->begin(), bytes->end());
        }
        computer.files.Write_File(target, std::move(joined), computer.now);
    }
}

}  // namespace

std::vector<std::string> Split_Command_Line(std::string_view commandLine) {
    std::vector<std::string> arguments;
    std::string current;
    bool quoted = false;
    bool any = false;
    for (char c : commandLine) {
        if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (any) arguments.push_back(current);
            current.clear();
            any = false;
        } else {
            current += c;
            any = true;
        }
    }
    if (any) arguments.push_back(current);
    return arguments;
}

bool SimComputer::Run_Command(std::string_view commandLine, std::string& imageName) {
    const std::vector<std::string> arguments = Split_Command_Line(commandLine);
    if (arguments.empty()) return false;
    imageName = Image_Name(arguments[0]);
    if (imageName != "cmd.exe" && imageName != "regedit.exe" && imageName != "notepad.exe") return false;
    startedCommands.emplace_back(commandLine);
    for (const std::string& failing : failingCommands) {
        if (Contains_Ignore_Case(commandLine, failing)) return true;
    }
    if (imageName == "regedit.exe") Run_Regedit(*this, arguments);
    if (imageName == "cmd.exe") Run_Cmd(*this, arguments);
    return true;
}

}  // namespace corvane::remote
