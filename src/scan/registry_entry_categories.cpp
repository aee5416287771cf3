#include "scan/registry_entry_categories.h"

#include <array>
#include <string>
#include <vector>

#include "base/extract_file_path.h"
#include "base/text.h"
#include "remote/wmi_registry.h"
#include "scan/category_descriptor.h"
#include "scan/category_run.h"
#include "scan/scan_control.h"
#include "scan/scan_target.h"

namespace corvane::scan {

namespace {

using remote::kKeyQueryValue;

std::string Hklm(std::string_view keyPath) { return kHklmPrefix + std::string(keyPath); }

std::int64_t Upper_Bound(std::size_t count) { return static_cast<std::int64_t>(count) - 1; }

// Whether a listing of an entry's values may hold its InstallSource. A name
// outside ASCII might still be the same name to the registry: then it is read.
bool May_Hold_Install_Source(const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        if (Equals_Ignore_Case(name, "InstallSource")) return true;
        for (const char c : name) {
            if (static_cast<unsigned char>(c) >= 0x80) return true;
        }
    }
    return false;
}

// An uninstall entry's InstallSource and, when it has none, whether the entry
// is empty, in as few calls as the entries so far suggest. Reading the value
// first costs a second call (the listing) for every entry without one;
// listing first costs a second call (the read) for every entry with one.
// Either order asks the same questions and finds the same rows.
class InstallSourceReader {
public:
    explicit InstallSourceReader(ScanTarget& target) : target_(target) {}

    // Get_String_Value's result for "InstallSource"; source gets the text.
    [[nodiscard]] remote::StringRead Read(std::string_view entryKey, std::string& source) {
        listed_ =
            withoutSource_ > withSource_ && target_.Enum_Value_Types(kHkeyLocalMachineRoot, entryKey, names_, types_);
        source.clear();
        remote::StringRead read = remote::StringRead::Empty;
        if (!listed_ || May_Hold_Install_Source(names_)) {
            read = target_.Get_String_Value(kHkeyLocalMachineRoot, entryKey, "InstallSource", 1, source);
        }
        ++(read == remote::StringRead::Read ? withSource_ : withoutSource_);
        return read;
    }
    // For an entry whose InstallSource gave nothing: whether it is empty.
    [[nodiscard]] bool Is_Empty(std::string_view entryKey) {
        return listed_ ? target_.Is_Empty_Key(kHkeyLocalMachineRoot, entryKey, names_, types_)
                       : target_.Is_Empty_Key(kHkeyLocalMachineRoot, entryKey);
    }

private:
    ScanTarget& target_;
    std::int64_t withSource_ = 0;
    std::int64_t withoutSource_ = 0;
    bool listed_ = false;
    std::vector<std::string> names_;
    std::vector<std::int32_t> types_;
};

}  // namespace

void Scan_Help_Files(ScanArguments& args) {
    CategoryRun run(args);
    ScanTarget& target = args.target;
    for (const char* keyName : {"Help", "HTML Help"}) {
        const std::string keyPath = kHelpFilesParent + std::string(keyName);
        if (run.Is_Excepted(Hklm(keyPath))) continue;
        if (!target.Check_Access(kHkeyLocalMachineRoot, keyPath, kKeyQueryValue)) continue;
        StringValues values;
        if (!target.Enum_String_Values(kHkeyLocalMachineRoot, keyPath, values)) continue;
        if (!Has_Elements(values.names)) continue;

        for (std::size_t i = 0; i < values.names.size(); ++i) {
            const std::string& name = values.names[i];
            std::string folder = values.data[i];
            if (Extract_File_Path(folder) && !run.Is_Excepted(Hklm(keyPath) + "\\" + name)) {
                if (folder.back() != '\\') folder += '\\';
                if (!target.Remote_File_Exists(folder + name)) {
                    run.Add_Registry_Problem({.type = FixType::Value,
                                              .text = name,
                                              .data = folder,
                                              .problem = "File not found",
                                              .keyPath = keyPath,
                                              .registryKey = Hklm(keyPath),
                                              .valueName = name,
                                              .evidence = Data_Evidence(values.data[i], folder + name)});
                }
            }
            // Skip leaves this key; Stop also ends the category below.
            if (run.After_Entry(static_cast<std::int64_t>(i), Upper_Bound(values.names.size())) !=
                EntryStep::Continue) {
                break;
            }
        }
        args.control.SkipRequested = false;
        if (run.Stop_Requested()) break;
    }
    run.Finish();
}

void Scan_Uninstall_Entries(ScanArguments& args) {
    CategoryRun run(args);
    ScanTarget& target = args.target;
    const std::string uninstall = kUninstallKey;
    if (!target.Check_Access(kHkeyLocalMachineRoot, uninstall, kKeyQueryValue)) {
        run.Finish();
        return;
    }
    const std::vector<std::string> entries = target.Enum_Key(kHkeyLocalMachineRoot, uninstall);
    InstallSourceReader reader(target);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string entryKey = uninstall + "\\" + entries[i];
        if (!run.Is_Excepted(Hklm(entryKey))) {
            std::string source;
            const remote::StringRead read = reader.Read(entryKey, source);
            const std::string sourceRead = source;
            if (!run.Is_Excepted(Hklm(entryKey) + "\\" + source)) {
                if (read != remote::StringRead::Read) {
                    if (reader.Is_Empty(entryKey)) {
                        run.Add_Registry_Problem({.type = FixType::KeyTree,
                                                  .text = entries[i],
                                                  .data = "",
                                                  .problem = "No values",
                                                  .keyPath = entryKey,
                                                  .registryKey = Hklm(uninstall),
                                                  .valueName = ""});
                    }
                } else if (Extract_File_Path(source) && target.Is_Fixed_Drive(source.substr(0, 2)) &&
                           !target.Remote_Folder_Exists(source)) {
                    run.Add_Registry_Problem({.type = FixType::Value,
                                              .text = source,
                                              .data = "",
                                              .problem = "Folder not found",
                                              .keyPath = entryKey,
                                              .registryKey = Hklm(entryKey),
                                              .valueName = "InstallSource",
                                              .evidence = Data_Evidence(sourceRead, source)});
                }
            }
        }
        if (run.After_Entry(static_cast<std::int64_t>(i) + 1, Upper_Bound(entries.size())) != EntryStep::Continue) {
            break;
        }
    }
    run.Finish();
}

void Scan_Application_Paths(ScanArguments& args) {
    CategoryRun run(args);
    ScanTarget& target = args.target;
    const std::string appPaths = kAppPathsKey;
    if (run.Is_Excepted(Hklm(appPaths) + "\\") ||
        !target.Check_Access(kHkeyLocalMachineRoot, appPaths, kKeyQueryValue)) {
        run.Finish();
        return;
    }
    const std::vector<std::string> entries = target.Enum_Key(kHkeyLocalMachineRoot, appPaths);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string entryKey = appPaths + "\\" + entries[i];
        for (const char* valueName : {"", "Path"}) {
            std::string data;
            if (target.Get_String_Value(kHkeyLocalMachineRoot, entryKey, valueName, 1, data) !=
                remote::StringRead::Read) {
                continue;
            }
            const std::string dataRead = data;
            if (!Extract_File_Path(data)) continue;
            if (run.Is_Excepted(Hklm(entryKey) + "\\" + data)) continue;
            const bool isDefault = *valueName == '\0';
            const bool exists = isDefault ? target.Remote_File_Exists(data) : target.Remote_Folder_Exists(data);
            if (exists) continue;
            run.Add_Registry_Problem({.type = FixType::KeyTree,
                                      .text = data,
                                      .data = "",
                                      .problem = "File not found",
                                      .keyPath = entryKey,
                                      .registryKey = Hklm(entryKey),
                                      .valueName = "",
                                      .evidence = Data_Evidence(dataRead, data, valueName)});
        }
        if (run.After_Entry(static_cast<std::int64_t>(i), Upper_Bound(entries.size())) != EntryStep::Continue) break;
    }
    run.Finish();
}

void Scan_Windows_Fonts(ScanArguments& args) {
    CategoryRun run(args);
    ScanTarget& target = args.target;
    const std::string fonts = kFontsKey;
    std::string windowsDirectory;
    (void)target.Get_Windows_Directory(windowsDirectory);
    const std::string fontsFolder = windowsDirectory + "\\Fonts";

    StringValues values;
    if (run.Is_Excepted(Hklm(fonts)) || !target.Check_Access(kHkeyLocalMachineRoot, fonts, kKeyQueryValue) ||
        !target.Enum_String_Values(kHkeyLocalMachineRoot, fonts, values)) {
        run.Finish();
        return;
    }
    for (std::size_t i = 0; i < values.data.size(); ++i) {
        const std::string& file = values.data[i];
        // A value without text (another type, or empty) names no font file.
        if (!file.empty() && !run.Is_Excepted(Hklm(fonts) + "\\" + file)) {
            std::string path = (file.size() >= 3 && file.compare(1, 2, ":\\") == 0) ? file : fontsFolder + "\\" + file;
            if (Extract_File_Path(path) && !target.Remote_File_Exists(path)) {
                run.Add_Registry_Problem({.type = FixType::Value,
                                          .text = file,
                                          .data = fontsFolder,
                                          .problem = "Font not found",
                                          .keyPath = fonts + "\\",
                                          .registryKey = Hklm(fonts),
                                          .valueName = values.names[i],
                                          .evidence = Data_Evidence(file, path)});
            }
        }
        if (run.After_Entry(static_cast<std::int64_t>(i), Upper_Bound(values.data.size())) != EntryStep::Continue) {
            break;
        }
    }
    run.Finish();
}

void Scan_Shared_DLLs(ScanArguments& args) {
    CategoryRun run(args);
    ScanTarget& target = args.target;
    const std::string shared = kSharedDllsKey;
    if (run.Is_Excepted(Hklm(shared)) || !target.Check_Access(kHkeyLocalMachineRoot, shared, kKeyQueryValue)) {
        run.Finish();
        return;
    }
    const std::vector<std::string> names = target.Enum_Values(kHkeyLocalMachineRoot, shared);
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::string path = names[i];
        if (Extract_File_Path(path) && !run.Is_Excepted(Hklm(shared) + "\\" + path) &&
            !target.Remote_File_Exists(path)) {
            // The row deletes the value as it is named in the registry; the
            // reduced path is what the user sees.
            run.Add_Registry_Problem({.type = FixType::Value,
                                      .text = path,
                                      .data = "",
                                      .problem = "File not found",
                                      .keyPath = shared,
                                      .registryKey = Hklm(shared),
                                      .valueName = names[i],
                                      .evidence = Path_Evidence(path)});
        }
        if (run.After_Entry(static_cast<std::int64_t>(i), Upper_Bound(names.size())) != EntryStep::Continue) break;
    }
    run.Finish();
}

namespace {

constexpr RecheckRule kHelpFileRules[] = {{FixType::Value, Reason::PathMissing}};
constexpr RecheckRule kUninstallRules[] = {{FixType::Value, Reason::FolderMissing},  // InstallSource
                                           {FixType::KeyTree, Reason::EmptyKey}};
constexpr RecheckRule kAppPathRules[] = {{FixType::KeyTree, Reason::AppPathMissing}};
constexpr RecheckRule kFontRules[] = {{FixType::Value, Reason::PathMissing}};
constexpr RecheckRule kSharedDllRules[] = {{FixType::Value, Reason::PathMissing}};

constexpr ScanCategory kCategories[] = {
    {"fA", "Help Files", "HelpFile", "[Help Files]", &Scan_Help_Files, kHelpFileRules},
    {"fB", "Add/Remove Programs", "Add/RemovePrograms", "[Add/Remove Programs]", &Scan_Uninstall_Entries,
     kUninstallRules},
    {"fD", "Application Paths", "ApplicationPaths", "[Application Paths]", &Scan_Application_Paths, kAppPathRules},
    {"fE", "Windows Fonts", "WindowsFonts", "[Fonts]", &Scan_Windows_Fonts, kFontRules},
    {"fF", "Shared DLLs", "SharedDlls", "[Shared Dlls]", &Scan_Shared_DLLs, kSharedDllRules},
};

}  // namespace

std::span<const ScanCategory> Registry_Entry_Categories() { return kCategories; }

}  // namespace corvane::scan
