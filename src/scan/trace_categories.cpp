#include "scan/trace_categories.h"

#include <cstdint>
#include <optional>
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
constexpr const char* kMostRecentlyUsed = "Most Recently Used";
constexpr std::int32_t kBinaryType = 3;

std::string Hku(std::string_view keyPath) { return kUsersPrefix + std::string(keyPath); }
std::int64_t Upper_Bound(std::size_t count) { return static_cast<std::int64_t>(count) - 1; }

// The values of a user's key with what the Data column shows (the text of a
// string value, the size of a binary one: current Windows keeps its lists as
// binary item lists, nothing for other types) and, per value, the evidence
// the fix compares before deleting it (a binary value's bytes; nullopt when
// they could not be read, so that the row never deletes).
struct ListValues {
    StringValues values;
    std::vector<std::optional<std::string>> evidence;
};

bool Read_Values(ScanTarget& target, std::string_view keyPath, ListValues& list) {
    StringValues& values = list.values;
    if (!target.Check_Access(kHkeyUsersRoot, keyPath, kKeyQueryValue) ||
        !target.Enum_String_Values(kHkeyUsersRoot, keyPath, values)) {
        return false;
    }
    list.evidence.assign(values.data.begin(), values.data.end());
    for (std::size_t i = 0; i < values.types.size(); ++i) {
        if (values.types[i] != kBinaryType) continue;
        std::vector<std::uint8_t> bytes;
        if (target.Get_Binary_Value(kHkeyUsersRoot, keyPath, values.names[i], bytes)) {
            values.data[i] = Binary_Size_Text(bytes.size());
            list.evidence[i] = Binary_Evidence(bytes);
        } else {
            list.evidence[i] = std::nullopt;
        }
    }
    return true;
}

// A value of a user's list as a row; the fix deletes the value.
void Add_Mru_Row(CategoryRun& run, const std::string& keyPath, const ListValues& list, std::size_t index) {
    const std::string& name = list.values.names[index];
    run.Add_Registry_Problem({.type = FixType::Value,
                              .text = name,
                              .data = list.values.data[index],
                              .problem = kMostRecentlyUsed,
                              .keyPath = keyPath,
                              .registryKey = Hku(keyPath),
                              .valueName = name,
                              .root = kHkeyUsersRoot,
                              .evidence = Listed_Evidence(list.evidence[index])});
}

// Every value of one list key as a row. False when the phase ends.
bool List_Mru_Values(CategoryRun& run, const std::string& keyPath, EntryStep& step) {
    ListValues list;
    if (!Read_Values(run.Args().target, keyPath, list)) return true;
    const StringValues& values = list.values;
    for (std::size_t i = 0; i < values.names.size(); ++i) {
        if (!run.Is_Excepted(Hku(keyPath) + "\\" + values.names[i])) Add_Mru_Row(run, keyPath, list, i);
        step = run.After_Entry(static_cast<std::int64_t>(i), Upper_Bound(values.names.size()));
        if (step != EntryStep::Continue) return false;
    }
    return true;
}

// The lists kept per file extension (and "*") under one key.
bool List_Per_Extension(CategoryRun& run, const std::string& listKey, EntryStep& step) {
    ScanTarget& target = run.Args().target;
    std::vector<std::string> extensions;
    if (!target.Check_Access(kHkeyUsersRoot, listKey, kKeyQueryValue) ||
        !target.Enum_Key(kHkeyUsersRoot, listKey, extensions)) {
        return true;
    }
    for (const std::string& extension : extensions) {
        const std::string keyPath = listKey + "\\" + extension;
        if (!run.Is_Excepted(Hku(keyPath)) && !List_Mru_Values(run, keyPath, step)) return false;
    }
    return true;
}

// Phase I: the open/save dialogs' lists, in the form of older Windows
// (strings per extension) and of current Windows (binary item lists per
// extension, and the last folders visited per program). Stop ends the
// category (false).
bool Scan_Open_Save_Lists(CategoryRun& run, const std::vector<std::string>& users) {
    for (const std::string& user : users) {
        if (run.Is_Excepted(Hku(user))) continue;
        const std::string comDlg = user + kComDlg32Key;
        EntryStep step = EntryStep::Continue;
        if (List_Per_Extension(run, comDlg + "\\OpenSaveMRU", step) &&
            List_Per_Extension(run, comDlg + "\\OpenSavePidlMRU", step)) {
            (void)List_Mru_Values(run, comDlg + "\\LastVisitedPidlMRU", step);
        }
        if (step == EntryStep::Stop) return false;
        if (step == EntryStep::Skip) break;
    }
    return true;
}

// Phase II: the shell's cache of program names, in the user's key on older
// Windows and in the user's classes key on current Windows.
void Scan_Program_Name_Cache(CategoryRun& run, const std::vector<std::string>& users) {
    ScanTarget& target = run.Args().target;
    for (const std::string& user : users) {
        for (const char* cache : {"\\Software\\Microsoft\\Windows\\ShellNoRoam\\MUICache",
                                  "\\Local Settings\\Software\\Microsoft\\Windows\\Shell\\MuiCache"}) {
            const std::string keyPath = user + cache;
            ListValues list;
            if (run.Is_Excepted(Hku(keyPath)) || !Read_Values(target, keyPath, list)) continue;
            const StringValues& values = list.values;
            for (std::size_t i = 0; i < values.names.size(); ++i) {
                const std::string& name = values.names[i];
                std::string path = name;
                if (!run.Is_Excepted(Hku(keyPath) + "\\" + name) && Extract_File_Path(path)) {
                    Add_Mru_Row(run, keyPath, list, i);
                }
                if (run.After_Entry(static_cast<std::int64_t>(i), Upper_Bound(values.names.size())) !=
                    EntryStep::Continue) {
                    return;
                }
            }
        }
    }
}

}  // namespace

void Scan_User_MRU_Lists(ScanArguments& args) {
    CategoryRun run(args);
    args.progress.Category_Phase("User MRU List - Phase I of II");
    if (!run.Is_Excepted("HKEY_USERS")) {
        const std::vector<std::string> users = Registry_Users(args.target);
        if (Scan_Open_Save_Lists(run, users)) {
            args.control.SkipRequested = false;
            args.progress.Category_Phase("User MRU List - Phase II of II");
            Scan_Program_Name_Cache(run, users);
        }
    }
    run.Finish();
}

void Scan_Image_File_Options(ScanArguments& args) {
    CategoryRun run(args);
    ScanTarget& target = args.target;
    const std::string options = kImageFileOptionsKey;
    std::vector<std::string> programs;
    if (!run.Is_Excepted(kHklmPrefix + options)) programs = target.Enum_Key(kHkeyLocalMachineRoot, options);
    for (std::size_t i = 0; i < programs.size(); ++i) {
        const std::string keyPath = options + "\\" + programs[i];
        std::string debugger;
        // Windows installs a sample key of this name; it is no program.
        if (!run.Is_Excepted(kHklmPrefix + keyPath + "\\Debugger") &&
            Upper_Text(programs[i]) != Upper_Text("Your Image File Name Here without a path") &&
            target.Check_Access(kHkeyLocalMachineRoot, keyPath, kKeyQueryValue) &&
            target.Get_String_Value(kHkeyLocalMachineRoot, keyPath, "Debugger", 1, debugger) ==
                remote::StringRead::Read) {
            run.Add_Registry_Problem({.type = FixType::Value,
                                      .text = "Debugger",
                                      .data = "",
                                      .problem = debugger,
                                      .keyPath = keyPath,
                                      .registryKey = kHklmPrefix + keyPath,
                                      .valueName = "Debugger",
                                      .root = kHkeyLocalMachineRoot,
                                      .evidence = Listed_Evidence(debugger)});
        }
        if (run.After_Entry(static_cast<std::int64_t>(i), Upper_Bound(programs.size())) != EntryStep::Continue) break;
    }
    run.Finish();
}

namespace {

constexpr ScanCategory kCategories[] = {
    {"fM", "User MRU List", "UserMRUList", "[User MRU List]", &Scan_User_MRU_Lists, kListedValueRules},
    {"fN", "Image File Execution Options", "ImageFile", "[Image File Execution Options]", &Scan_Image_File_Options,
     kListedValueRules},
};

}  // namespace

std::span<const ScanCategory> Trace_Categories() { return kCategories; }

}  // namespace corvane::scan
