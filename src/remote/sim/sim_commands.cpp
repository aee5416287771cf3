// The programs a simulated computer can run: the command interpreter (its
// switches, AutoRun, "&" chains, delayed expansion, "> file", md, copy and
// type), the registry editor (export with /e, import), reg import with its
// exit code, and icacls (inheritance and grants by SID, on a folder and with
// /T on its content). Program names are found with or without their path.
#include <algorithm>

#include "base/text.h"
#include "remote/reg_file.h"
#include "remote/sim/sim_computer.h"

namespace corvane::remote {
namespace {

constexpr int kExitFailure = 1;
constexpr int kExitNoMapping = 1332;  // an account name that is no SID

std::string Image_Name(std::string_view program) {
    const std::size_t slash = program.find_last_of('\\');
    std::string image = Lower_Ascii(slash == std::string_view::npos ? program : program.substr(slash + 1));
    if (image.find('.') == std::string::npos) image += ".exe";
    return image;
}

bool Is_Known_Program(const std::string& image) {
    return image == "cmd.exe" || image == "regedit.exe" || image == "reg.exe" || image == "icacls.exe" ||
           image == "notepad.exe";
}

// "/q" "/Q" "/s" ... are switches; everything else is an argument.
bool Is_Switch(std::string_view argument) { return argument.size() == 2 && argument[0] == '/'; }

int Run_Regedit(SimComputer& computer, const std::vector<std::string>& arguments) {
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
        if (rest.size() < 2) return kExitFailure;
        const std::string& file = rest[0];
        const std::string& key = rest[1];
        const std::size_t slash = key.find('\\');
        const auto root = Root_Key_From_Name(key.substr(0, slash));
        if (!root) return kExitFailure;
        RegFile export_;
        export_.format = RegFormat::Version5;
        if (computer.registry.Export(*root, slash == std::string::npos ? "" : key.substr(slash + 1), export_) != 0)
            return kExitFailure;
        const std::size_t folderEnd = file.find_last_of('\\');
        if (folderEnd == std::string::npos) return kExitFailure;
        const auto folder = computer.files.Find(file.substr(0, folderEnd));
        if (!folder || !folder->isFolder) return kExitFailure;  // the editor cannot create the file
        computer.files.Write_File(file, Reg_File_Bytes(export_), computer.now);
        return 0;
    }
    if (rest.empty()) return kExitFailure;
    const auto bytes = computer.files.Read_File(rest[0]);
    if (!bytes) return kExitFailure;
    try {
        computer.registry.Import(Parse_Reg_File(*bytes));
    } catch (const std::exception&) {
        // The registry editor run silently gives up on a file it cannot read.
    }
    return 0;
}

// reg import "<file>": 0 when every key was written, 1 otherwise (a file
// that cannot be read or parsed, or keys refused).
int Run_Reg(SimComputer& computer, const std::vector<std::string>& arguments) {
    if (arguments.size() != 3 || Lower_Ascii(arguments[1]) != "import") return kExitFailure;
    const auto bytes = computer.files.Read_File(arguments[2]);
    if (!bytes) return kExitFailure;
    try {
        computer.registry.Import(Parse_Reg_File(*bytes));
    } catch (const std::exception&) {
        return kExitFailure;
    }
    return computer.importRefusesKeys ? kExitFailure : 0;
}

// "F", "M", "RX", "R", "W" after the inheritance flags "(OI)(CI)(IO)".
bool Parse_Grant(std::string_view text, AccessEntry& entry) {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string_view::npos || text.substr(0, 1) != "*") return false;
    entry.sid = std::string(text.substr(1, colon - 1));
    std::string_view rights = text.substr(colon + 1);
    entry.aceFlags = 0;
    while (rights.size() >= 4 && rights.front() == '(') {
        const std::string flag = Upper_Ascii(rights.substr(1, 2));
        if (flag == "OI") entry.aceFlags |= kAceObjectInherit;
        if (flag == "CI") entry.aceFlags |= kAceContainerInherit;
        if (flag == "IO") entry.aceFlags |= kAceInheritOnly;
        rights.remove_prefix(4);
    }
    const std::string mask = Upper_Ascii(rights);
    if (mask == "F")
        entry.accessMask = 0x1F01FF;
    else if (mask == "M")
        entry.accessMask = 0x1301BF;
    else if (mask == "RX")
        entry.accessMask = 0x1200A9;
    else if (mask == "R")
        entry.accessMask = 0x120089;
    else if (mask == "W")
        entry.accessMask = 0x100116;
    else
        return false;
    entry.aceType = kAceAllowed;
    return true;
}

struct IcaclsChange {
    char inheritance = 0;  // 'r', 'd', 'e' or none
    bool replaceGrants = false;
    std::vector<AccessEntry> grants;
    std::vector<std::string> removed;  // SIDs whose own entries go
};

void Apply_Icacls(SimFileSystem& files, const std::string& path, const IcaclsChange& change) {
    bool isProtected = false;
    std::vector<AccessEntry> own;
    if (!files.Own_Security(path, isProtected, own)) return;
    if (change.inheritance == 'd' && !isProtected) {
        // The entries inherited until now become the entry's own.
        FileSecurity now;
        if (files.Get_Security(path, now) == kStatusOk) own = now.dacl;
    }
    if (change.inheritance == 'r' || change.inheritance == 'd') isProtected = true;
    if (change.inheritance == 'e') isProtected = false;
    const auto drop = [&](const std::string& sid) {
        own.erase(std::remove_if(
                      own.begin(), own.end(),
                      [&](const AccessEntry& e) { return e.aceType == kAceAllowed && Equals_Ignore_Case(e.sid, sid); }),
                  own.end());
    };
    for (const std::string& sid : change.removed) drop(sid);
    for (const AccessEntry& grant : change.grants) {
        if (change.replaceGrants) drop(grant.sid);
    }
    own.insert(own.end(), change.grants.begin(), change.grants.end());
    files.Set_Security(path, isProtected, std::move(own));
}

void Apply_Tree(SimFileSystem& files, const std::string& path, const IcaclsChange& change) {
    Apply_Icacls(files, path, change);
    if (!files.Is_Folder(path)) return;
    for (const FileEntry& child : files.List(path)) {
        if (!child.isReparsePoint) Apply_Tree(files, child.path, change);
    }
}

// icacls "<path>" [/inheritance:r|d|e] [/grant[:r] *SID:perm ...] [/remove[:g] *SID ...] [/T] [/C] [/Q]
int Run_Icacls(SimComputer& computer, const std::vector<std::string>& arguments) {
    if (arguments.size() < 3) return kExitFailure;
    const std::string& path = arguments[1];
    if (!computer.files.Find(path)) return 2;
    IcaclsChange change;
    bool tree = false;
    enum class Expect { Nothing, Grant, Remove } expect = Expect::Nothing;
    for (std::size_t i = 2; i < arguments.size(); ++i) {
        const std::string argument = Lower_Ascii(arguments[i]);
        if (argument.starts_with("/inheritance:") && argument.size() == 14) {
            change.inheritance = argument.back();
            expect = Expect::Nothing;
        } else if (argument == "/grant" || argument == "/grant:r") {
            change.replaceGrants = argument == "/grant:r";
            expect = Expect::Grant;
        } else if (argument == "/remove" || argument == "/remove:g") {
            expect = Expect::Remove;
        } else if (argument == "/t") {
            tree = true;
        } else if (argument == "/c" || argument == "/q") {
        } else if (expect == Expect::Grant) {
            AccessEntry grant;
            if (!Parse_Grant(arguments[i], grant)) return kExitNoMapping;
            change.grants.push_back(grant);
        } else if (expect == Expect::Remove && arguments[i].starts_with("*")) {
            change.removed.push_back(arguments[i].substr(1));
        } else {
            return kExitNoMapping;
        }
    }
    if (tree) {
        Apply_Tree(computer.files, path, change);
    } else {
        Apply_Icacls(computer.files, path, change);
    }
    return 0;
}

// copy a + b [+ c ...] target: the sources joined into the target.
int Run_Copy(SimComputer& computer, const std::vector<std::string>& rest) {
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
    if (sources.empty()) return kExitFailure;
    if (target.empty()) target = sources.front();
    std::vector<std::uint8_t> joined;
    for (const std::string& source : sources) {
        const auto bytes = computer.files.Read_File(source);
        if (!bytes) return kExitFailure;  // a missing source: copy writes nothing
        joined.insert(joined.end(), bytes->begin(), bytes->end());
    }
    computer.files.Write_File(target, std::move(joined), computer.now);
    return 0;
}

// Splits at "&" and ">" outside quotation marks; the pieces keep their quotes.
std::vector<std::string> Split_Unquoted(std::string_view text, char separator) {
    std::vector<std::string> pieces(1);
    bool quoted = false;
    for (char c : text) {
        if (c == '"') quoted = !quoted;
        if (c == separator && !quoted) {
            pieces.emplace_back();
        } else {
            pieces.back() += c;
        }
    }
    return pieces;
}

std::string Replace_All_Ignore_Case(std::string text, std::string_view name, std::string_view value) {
    for (std::size_t at = Lower_Ascii(text).find(name); at != std::string::npos;
         at = Lower_Ascii(text).find(name, at + value.size())) {
        text.replace(at, name.size(), value);
    }
    return text;
}

int Run_Program(SimComputer& computer, std::string_view commandLine);

// One command of a chain: a built-in of the interpreter or a program, its
// output (none, for the commands modelled) sent to a file by "> file".
int Run_Cmd_Command(SimComputer& computer, std::string_view text) {
    const std::vector<std::string> redirected = Split_Unquoted(text, '>');
    if (redirected.size() > 2) return kExitFailure;
    const std::vector<std::string> arguments = Split_Command_Line(redirected[0]);
    if (arguments.empty()) return 0;
    const std::string verb = Lower_Ascii(arguments[0]);
    std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
    int exitCode = 0;
    if (verb == "md" || verb == "mkdir") {
        for (const std::string& folder : rest) {
            if (computer.files.Make_Folder(folder, computer.now) != kStatusOk) exitCode = kExitFailure;
        }
    } else if (verb == "copy") {
        exitCode = Run_Copy(computer, rest);
    } else if (verb == "type") {
        exitCode = rest.size() == 1 && (Lower_Ascii(rest[0]) == "nul" || computer.files.Read_File(rest[0])) ? 0 : 1;
    } else {
        exitCode = Run_Program(computer, redirected[0]);
    }
    if (redirected.size() == 2) {
        const std::vector<std::string> target = Split_Command_Line(redirected[1]);
        if (target.size() != 1) return kExitFailure;
        const std::size_t folderEnd = target[0].find_last_of('\\');
        if (folderEnd == std::string::npos || !computer.files.Is_Folder(target[0].substr(0, folderEnd))) {
            return kExitFailure;
        }
        computer.files.Write_File(target[0], {}, computer.now);
    }
    return exitCode;
}

// cmd [/d] [/q] [/s] [/v:on] /c <commands>: without /d the AutoRun command
// of HKLM\Software\Microsoft\Command Processor runs first; %errorlevel% is expanded when the line is read,
// !errorlevel! (with /v:on) when each command of the chain runs.
int Run_Cmd(SimComputer& computer, std::string_view commandLine) {
    const std::vector<std::string> arguments = Split_Command_Line(commandLine);
    bool noAutoRun = false;
    bool delayed = false;
    std::size_t i = 1;
    for (; i < arguments.size() && arguments[i].starts_with("/"); ++i) {
        const std::string option = Lower_Ascii(arguments[i]);
        if (option == "/c") break;
        if (option == "/d") noAutoRun = true;
        if (option == "/v:on") delayed = true;
    }
    if (i >= arguments.size()) return 0;
    const std::string lower = Lower_Ascii(commandLine);
    std::size_t slashC = lower.find(" /c ");
    if (slashC == std::string::npos) return 0;
    std::string body(commandLine.substr(slashC + 4));
    // The first quotation mark and the last one go when the text starts with one.
    if (!body.empty() && body.front() == '"') {
        body.erase(0, 1);
        if (const std::size_t last = body.rfind('"'); last != std::string::npos) body.erase(last, 1);
    }
    int errorLevel = 0;
    RegistryValue autoRun;
    if (!noAutoRun && computer.registry.Get_Value(kHkeyLocalMachine, "Software\\Microsoft\\Command Processor",
                                                  "AutoRun", autoRun) == kStatusOk) {
        errorLevel = Run_Cmd_Command(computer, autoRun.text);
    }
    body = Replace_All_Ignore_Case(body, "%errorlevel%", std::to_string(errorLevel));
    for (const std::string& command : Split_Unquoted(body, '&')) {
        const std::string expanded =
            delayed ? Replace_All_Ignore_Case(command, "!errorlevel!", std::to_string(errorLevel)) : command;
        errorLevel = Run_Cmd_Command(computer, expanded);
    }
    return errorLevel;
}

int Run_Program(SimComputer& computer, std::string_view commandLine) {
    const std::vector<std::string> arguments = Split_Command_Line(commandLine);
    if (arguments.empty()) return kExitFailure;
    const std::string image = Image_Name(arguments[0]);
    if (image == "regedit.exe") return Run_Regedit(computer, arguments);
    if (image == "reg.exe") return Run_Reg(computer, arguments);
    if (image == "icacls.exe") return Run_Icacls(computer, arguments);
    if (image == "cmd.exe") return Run_Cmd(computer, commandLine);
    return image == "notepad.exe" ? 0 : 9009;  // "is not recognized as a command"
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
    startedCommands.emplace_back(commandLine);
    imageName = Image_Name(arguments[0]);
    if (!Is_Known_Program(imageName)) return false;
    for (const std::string& failing : failingCommands) {
        if (Contains_Ignore_Case(commandLine, failing)) return true;
    }
    (void)Run_Program(*this, commandLine);
    return true;
}

}  // namespace corvane::remote
