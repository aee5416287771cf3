#include "scan/software_categories.h"

#include <string>
#include <vector>

#include "base/extract_file_path.h"
#include "base/text.h"
#include "base/ui/progress_events.h"
#include "scan/category_descriptor.h"
#include "scan/category_run.h"
#include "scan/scan_control.h"
#include "scan/scan_target.h"
#include "scan/user_profiles.h"

namespace corvane::scan {

namespace {

using remote::kKeyQueryValue;

constexpr const char* kUsersPrefix = "HKEY_USERS\\";
constexpr const char* kStartupProblem = "StartUp Program Not Found";

std::string Hklm(std::string_view keyPath) { return kHklmPrefix + std::string(keyPath); }
std::string Hku(std::string_view keyPath) { return kUsersPrefix + std::string(keyPath); }
std::int64_t Upper_Bound(std::size_t count) { return static_cast<std::int64_t>(count) - 1; }
std::int64_t Position(std::size_t index) { return static_cast<std::int64_t>(index) + 1; }

bool Stop_Or_Skip(CategoryRun& run) {
    const ScanControl& control = run.Args().control;
    return control.StopRequested || control.SkipRequested;
}

// A vendor key seen to hold nothing: no sub-keys, no values, and readable
// (a key that refuses access lists nothing either).
bool Is_Empty_Key(ScanTarget& target, std::string_view keyPath) {
    std::vector<std::string> subKeys;
    return target.Enum_Key(kHkeyLocalMachineRoot, keyPath, subKeys) && subKeys.empty() &&
           !Has_Elements(target.Enum_Values(kHkeyLocalMachineRoot, keyPath)) &&
           target.Check_Access(kHkeyLocalMachineRoot, keyPath, kKeyQueryValue);
}

// Phase I: entries disabled through the system configuration tool. False
// when the category ends.
bool Scan_Disabled_Startup(CategoryRun& run) {
    ScanTarget& target = run.Args().target;
    const std::string startup = kMsConfigStartupKey;
    if (!target.Check_Access(kHkeyLocalMachineRoot, startup, kKeyQueryValue)) return true;
    const std::vector<std::string> entries = target.Enum_Key(kHkeyLocalMachineRoot, startup);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string entryKey = startup + "\\" + entries[i];
        std::string commandRead;  // as the value holds it; command: the program's path in it
        std::string command;
        if (!run.Is_Excepted(Hklm(entryKey)) &&
            target.Get_String_Value(kHkeyLocalMachineRoot, entryKey, "command", 1, commandRead) ==
                remote::StringRead::Read &&
            Extract_File_Path(command = commandRead) &&
            !run.Is_Excepted(Hklm(entryKey) + "\\StartUpPath\\" + command) &&
            target.Is_Fixed_Drive(command.substr(0, 2)) && !target.Remote_File_Exists(command)) {
            run.Add_Registry_Problem({.type = FixType::KeyTree,
                                      .text = command,
                                      .data = "",
                                      .problem = kStartupProblem,
                                      .keyPath = entryKey,
                                      .registryKey = Hklm(entryKey) + "\\StartUpPath",
                                      .valueName = "",
                                      .root = kHkeyLocalMachineRoot,
                                      .evidence = Data_Evidence(commandRead, command, "command")});
        }
        const EntryStep step = run.After_Entry(Position(i), Upper_Bound(entries.size()));
        if (step == EntryStep::Stop) return false;
        if (step == EntryStep::Skip) break;
    }
    return true;
}

// Phase II: the machine's Run key. False when the category ends. A machine
// without Run entries (or without the key) still has its users' keys checked.
bool Scan_Machine_Run(CategoryRun& run) {
    ScanTarget& target = run.Args().target;
    const std::string runKey = kMachineRunKey;
    if (!target.Check_Access(kHkeyLocalMachineRoot, runKey, kKeyQueryValue)) return true;
    run.Args().progress.Category_Phase("StartUp Programs - Phase II of III");
    StringValues values;
    if (!target.Enum_String_Values(kHkeyLocalMachineRoot, runKey, values)) return true;
    for (std::size_t i = 0; i < values.names.size(); ++i) {
        const std::string& name = values.names[i];
        std::string command = values.data[i];
        if (Extract_File_Path(command) && !run.Is_Excepted(Hklm(runKey) + "\\" + name + "\\StartUpPath\\" + command) &&
            target.Is_Fixed_Drive(command.substr(0, 2)) && !target.Remote_File_Exists(command)) {
            run.Add_Registry_Problem({.type = FixType::Value,
                                      .text = command,
                                      .data = "",
                                      .problem = kStartupProblem,
                                      .keyPath = runKey + "\\",
                                      .registryKey = Hklm(runKey) + "\\" + name + "\\StartUpPath",
                                      .valueName = name,
                                      .root = kHkeyLocalMachineRoot,
                                      .evidence = Data_Evidence(values.data[i], command)});
        }
        const EntryStep step = run.After_Entry(static_cast<std::int64_t>(i), Upper_Bound(values.names.size()));
        if (step == EntryStep::Stop) return false;
        if (step == EntryStep::Skip) break;
    }
    return true;
}

// Phase III: every user's Run key; programs on any drive are tested.
void Scan_User_Run(CategoryRun& run) {
    ScanTarget& target = run.Args().target;
    for (const std::string& user : Registry_Users(target)) {
        const std::string runKey = user + kUserRunKey;
        StringValues values;
        if (!target.Check_Access(kHkeyUsersRoot, runKey, kKeyQueryValue) ||
            !target.Enum_String_Values(kHkeyUsersRoot, runKey, values)) {
            continue;
        }
        for (std::size_t i = 0; i < values.names.size(); ++i) {
            const std::string& name = values.names[i];
            std::string command = values.data[i];
            if (Extract_File_Path(command) &&
                !run.Is_Excepted(Hku(runKey) + "\\" + name + "\\StartUpPath\\" + command) &&
                !target.Remote_File_Exists(command)) {
                run.Add_Registry_Problem({.type = FixType::Value,
                                          .text = command,
                                          .data = "",
                                          .problem = kStartupProblem,
                                          .keyPath = runKey,
                                          .registryKey = Hku(runKey) + "\\" + name + "\\StartUpPath",
                                          .valueName = name,
                                          .root = kHkeyUsersRoot,
                                          .evidence = Data_Evidence(values.data[i], command)});
            }
            if (run.After_Entry(static_cast<std::int64_t>(i), Upper_Bound(values.names.size())) !=
                EntryStep::Continue) {
                return;
            }
        }
        if (run.Stop_Requested()) return;
    }
}

}  // namespace

bool Scan_Software_Key(CategoryRun& run, std::string_view keyPath, int depth) {
    ScanTarget& target = run.Args().target;
    const std::string key(keyPath);
    const std::vector<std::string> subKeys =
        depth < kMaxKeyDepth ? target.Enum_Key(kHkeyLocalMachineRoot, key) : std::vector<std::string>{};
    for (const std::string& subKey : subKeys) {
        if (!run.Is_Excepted(Hklm(key) + "\\" + subKey) && !Scan_Software_Key(run, key + "\\" + subKey, depth + 1)) {
            return false;
        }
        if (Stop_Or_Skip(run)) return false;
    }
    StringValues values;
    if (!target.Enum_String_Values(kHkeyLocalMachineRoot, key, values)) return true;
    for (std::size_t i = 0; i < values.names.size(); ++i) {
        std::string path = values.data[i];
        if (Extract_File_Path(path) && !run.Is_Excepted(Hklm(key) + "\\" + path) &&
            target.Is_Fixed_Drive(path.substr(0, 2)) && !target.Remote_File_Exists(path) &&
            !target.Remote_Folder_Exists(path)) {
            run.Add_Registry_Problem({.type = FixType::Value,
                                      .text = path,
                                      .data = "",
                                      .problem = "File Not Found",
                                      .keyPath = key,
                                      .registryKey = Hklm(key),
                                      .valueName = values.names[i],
                                      .root = kHkeyLocalMachineRoot,
                                      .evidence = Data_Evidence(values.data[i], path)});
        }
    }
    run.Let_Messages_Through();
    return !Stop_Or_Skip(run);
}

void Scan_Software(ScanArguments& args) {
    CategoryRun run(args);
    ScanTarget& target = args.target;
    if (run.Is_Excepted(Hklm("Software")) || !target.Check_Access(kHkeyLocalMachineRoot, "SOFTWARE", kKeyQueryValue)) {
        run.Finish();
        return;
    }
    const std::vector<std::string> vendors = target.Enum_Key(kHkeyLocalMachineRoot, "SOFTWARE");
    for (std::size_t i = 0; i < vendors.size(); ++i) {
        const EntryStep step = run.After_Entry(Position(i), Upper_Bound(vendors.size()));
        const std::string& vendor = vendors[i];
        const std::string vendorKey = "SOFTWARE\\" + vendor;
        if (!run.Is_Excepted(Hklm("Software\\" + vendor))) {
            if (Is_Empty_Key(target, vendorKey)) {
                run.Add_Registry_Problem({.type = FixType::KeyTree,
                                          .text = vendor,
                                          .data = "",
                                          .problem = "No Values",
                                          .keyPath = vendorKey,
                                          .registryKey = Hklm(vendorKey),
                                          .valueName = "",
                                          .root = kHkeyLocalMachineRoot});
            } else {
                // These hold the system's own registrations, walked by other categories.
                const std::string lower = Lower_Ascii(vendor);
                if (lower != "classes" && lower != "microsoft" && lower != "wow6432node") {
                    (void)Scan_Software_Key(run, vendorKey);
                }
            }
        }
        if (step != EntryStep::Continue || Stop_Or_Skip(run)) break;
    }
    run.Finish();
}

void Scan_Startup_Programs(ScanArguments& args) {
    CategoryRun run(args);
    if (!run.Is_Excepted(kHklmPrefix)) {
        args.progress.Category_Phase("StartUp Programs - Phase I of III");
        if (Scan_Disabled_Startup(run)) {
            args.control.SkipRequested = false;
            if (Scan_Machine_Run(run)) {
                args.control.SkipRequested = false;
                args.progress.Category_Phase("StartUp Programs - Phase III of III");
                Scan_User_Run(run);
            }
        }
    }
    run.Finish();
}

bool Scan_Sound_Key(CategoryRun& run, std::string_view keyPath, int depth) {
    ScanTarget& target = run.Args().target;
    const std::string key(keyPath);
    if (run.Is_Excepted(Hku(key))) return true;
    const std::vector<std::string> subKeys =
        depth < kMaxKeyDepth ? target.Enum_Key(kHkeyUsersRoot, key) : std::vector<std::string>{};
    for (const std::string& subKey : subKeys) {
        if (!run.Is_Excepted(Hku(key) + "\\" + subKey) && !Scan_Sound_Key(run, key + "\\" + subKey, depth + 1)) {
            return false;
        }
        run.Let_Messages_Through();
        if (Stop_Or_Skip(run)) return false;
    }
    std::string soundRead;  // as the value holds it; sound: the file's path in it
    std::string sound;
    if (target.Get_String_Value(kHkeyUsersRoot, key, "", 1, soundRead) == remote::StringRead::Read &&
        Extract_File_Path(sound = soundRead) && !run.Is_Excepted(Hku(key) + "\\Default") &&
        !target.Remote_File_Exists(sound)) {
        run.Add_Registry_Problem({.type = FixType::Value,
                                  .text = "Default",
                                  .data = "",
                                  .problem = "File not found",
                                  .keyPath = key,
                                  .registryKey = Hku(key),
                                  .valueName = "",
                                  .root = kHkeyUsersRoot,
                                  .evidence = Data_Evidence(soundRead, sound)});
    }
    return true;
}

void Scan_Sound_Events(ScanArguments& args) {
    CategoryRun run(args);
    ScanTarget& target = args.target;
    if (!run.Is_Excepted("HKEY_USERS")) {
        const std::vector<std::string> users = Registry_Users(target);
        for (std::size_t i = 0; i < users.size(); ++i) {
            const std::string apps = users[i] + "\\AppEvents\\Schemes\\Apps";
            if (!run.Is_Excepted(Hku(users[i])) && target.Check_Access(kHkeyUsersRoot, apps, kKeyQueryValue)) {
                (void)Scan_Sound_Key(run, apps);
            }
            if (Stop_Or_Skip(run) || run.After_Entry(Position(i), Upper_Bound(users.size())) != EntryStep::Continue) {
                break;
            }
        }
    }
    run.Finish();
}

void Scan_Installer_Folders(ScanArguments& args) {
    CategoryRun run(args);
    ScanTarget& target = args.target;
    const std::string folders = kInstallerFoldersKey;
    std::vector<std::string> names;
    if (!run.Is_Excepted(Hklm(folders)) && target.Check_Access(kHkeyLocalMachineRoot, folders, kKeyQueryValue)) {
        names = target.Enum_Values(kHkeyLocalMachineRoot, folders);
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::string folder = names[i];
        if (Extract_File_Path(folder)) {
            if (folder.back() != '\\') folder += '\\';
            // The row deletes the value under its stored name; the folder
            // form with its backslash is what is tested and excepted.
            if (target.Is_Fixed_Drive(folder.substr(0, 2)) && !run.Is_Excepted(Hklm(folders) + "\\" + folder) &&
                !target.Remote_Folder_Exists(folder)) {
                run.Add_Registry_Problem({.type = FixType::Value,
                                          .text = names[i],
                                          .data = "",
                                          .problem = "Folder not found",
                                          .keyPath = folders,
                                          .registryKey = Hklm(folders),
                                          .valueName = names[i],
                                          .root = kHkeyLocalMachineRoot,
                                          .evidence = Path_Evidence(folder)});
            }
        }
        if (run.After_Entry(Position(i), Upper_Bound(names.size())) != EntryStep::Continue) break;
    }
    run.Finish();
}

namespace {

constexpr RecheckRule kSoftwareRules[] = {{FixType::KeyTree, Reason::BareKey},  // vendor key
                                          {FixType::Value, Reason::PathMissing}};
// Disabled by the configuration tool (a key) or listed in a Run key (a value).
constexpr RecheckRule kStartupRules[] = {{FixType::KeyTree, Reason::FileMissing},
                                         {FixType::Value, Reason::FileMissing}};
constexpr RecheckRule kSoundRules[] = {{FixType::Value, Reason::FileMissing}};
constexpr RecheckRule kInstallerRules[] = {{FixType::Value, Reason::FolderMissing}};

constexpr ScanCategory kCategories[] = {
    {"fG", "Software", "Software", "[Software]", &Scan_Software, kSoftwareRules},
    {"fI", "StartUp Programs", "StartUpPrograms", "[Startup Programs]", &Scan_Startup_Programs, kStartupRules},
    {"fJ", "Sound And AppEvents", "SoundAndAppEvents", "[Sound And AppEvents]", &Scan_Sound_Events, kSoundRules},
    {"fK", "Installer", "Installer", "[Installer]", &Scan_Installer_Folders, kInstallerRules},
};

}  // namespace

std::span<const ScanCategory> Software_Categories() { return kCategories; }

}  // namespace corvane::scan
