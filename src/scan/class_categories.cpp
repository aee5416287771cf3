#include "scan/class_categories.h"

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

constexpr const char* kClasses = "SOFTWARE\\Classes\\";
constexpr const char* kClassesCom = "SOFTWARE\\CLASSES\\";
constexpr const char* kUsersPrefix = "HKEY_USERS\\";
constexpr const char* kFileExts = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts";

std::int64_t Upper_Bound(std::size_t count) { return static_cast<std::int64_t>(count) - 1; }
std::int64_t Position(std::size_t index) { return static_cast<std::int64_t>(index) + 1; }

// The names of a key's sub-keys as a set. A key that cannot be listed, or
// that lists nothing because it cannot be read, fails: an empty set would
// make every reference to it look missing.
bool Read_Name_Set(ScanTarget& target, std::string_view keyPath, NameSet& set) {
    std::vector<std::string> names;
    if (!target.Enum_Key(kHkeyLocalMachineRoot, keyPath, names)) return false;
    if (names.empty() && !target.Check_Access(kHkeyLocalMachineRoot, keyPath, kKeyQueryValue)) return false;
    return Fill_Name_Set(set, names);
}

// No values, or only the default one (read as empty before).
bool No_Values_But_Default(const std::vector<std::string>& values) {
    return values.empty() || (values.size() == 1 && values[0].empty());
}

// Phase I of File Extensions: class keys with nothing in them.
void Scan_Empty_Class_Keys(CategoryRun& run) {
    ScanTarget& target = run.Args().target;
    const std::string parent = std::string(kHklmPrefix) + kClasses;
    if (run.Is_Excepted(parent)) return;
    const std::vector<std::string> keys = target.Enum_Key(kHkeyLocalMachineRoot, kClasses);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const std::string keyPath = kClasses + keys[i];
        if (!run.Is_Excepted(parent + keys[i])) {
            std::string defaultValue;
            const remote::StringRead read =
                target.Get_String_Value(kHkeyLocalMachineRoot, keyPath, "", 1, defaultValue);
            // An empty or (locally) absent default goes on, and so does a
            // failed read: the access test below keeps a key that cannot be
            // read from being taken for an empty one.
            if ((read == remote::StringRead::Empty || read == remote::StringRead::CallFailed) &&
                !Has_Elements(target.Enum_Key(kHkeyLocalMachineRoot, keyPath)) &&
                No_Values_But_Default(target.Enum_Values(kHkeyLocalMachineRoot, keyPath)) &&
                target.Check_Access(kHkeyLocalMachineRoot, keyPath, kKeyQueryValue)) {
                run.Add_Registry_Problem({.type = FixType::Key,
                                          .text = keys[i],
                                          .data = "",
                                          .problem = "No values",
                                          .keyPath = keyPath,
                                          .registryKey = std::string(kHklmPrefix) + "SOFTWARE\\Classes",
                                          .valueName = "",
                                          .root = kHkeyLocalMachineRoot});
            }
        }
        if (run.After_Entry(Position(i), Upper_Bound(keys.size())) != EntryStep::Continue) return;
    }
}

// Phase II of File Extensions: per-user Explorer extension keys whose whole
// tree holds nothing.
void Scan_Empty_File_Exts(CategoryRun& run) {
    ScanTarget& target = run.Args().target;
    if (run.Is_Excepted(kUsersPrefix)) return;
    for (const std::string& user : Registry_Users(target)) {
        if (run.Is_Excepted(kUsersPrefix + user)) continue;
        const std::string exts = user + kFileExts;
        if (!target.Check_Access(kHkeyUsersRoot, exts, kKeyQueryValue)) continue;
        const std::vector<std::string> extensions = target.Enum_Key(kHkeyUsersRoot, exts);
        for (std::size_t i = 0; i < extensions.size(); ++i) {
            const std::string keyPath = exts + "\\" + extensions[i];
            if (!run.Is_Excepted(kUsersPrefix + keyPath) && !Key_Has_Content(target, kHkeyUsersRoot, keyPath)) {
                run.Add_Registry_Problem({.type = FixType::KeyTree,
                                          .text = extensions[i],
                                          .data = "",
                                          .problem = "No values",
                                          .keyPath = keyPath,
                                          .registryKey = kUsersPrefix + exts,
                                          .valueName = "",
                                          .root = kHkeyUsersRoot});
            }
            if (run.After_Entry(static_cast<std::int64_t>(i), Upper_Bound(extensions.size())) != EntryStep::Continue) {
                return;
            }
        }
        if (run.Stop_Requested()) return;
    }
}

// The default value of a sub-key of a COM registration, when it is a
// non-empty string.
bool Read_Default(ScanTarget& target, std::string_view keyPath, std::string& value) {
    return target.Get_String_Value(kHkeyLocalMachineRoot, keyPath, "", 1, value) == remote::StringRead::Read;
}

// The per-run sets and the existence cache of ActiveX/COM.
struct ComRun {
    CategoryRun& run;
    ScanTarget& target;
    NameSet typeLibs;
    NameSet appIds;
    NameSet classIds;
    FileExistsCache files;
};

// The server checks of a class ID (in-process, local, toolbox bitmap): the
// file named by the default value of that sub-key.
void Check_Server_File(ComRun& com, const std::string& classKey, const std::string& classId, const char* subKey) {
    std::string value;
    if (!Read_Default(com.target, classKey + "\\" + subKey, value)) return;
    std::string path = value;
    if (!Extract_File_Path(path)) return;
    const std::string registryKey = std::string(kHklmPrefix) + kClassesCom + "CLSID\\" + classId + "\\" + subKey;
    if (com.run.Is_Excepted(registryKey + "\\" + value)) return;
    if (Cached_File_Exists(com.files, com.target, path)) return;
    com.run.Add_Registry_Problem({.type = FixType::Key,
                                  .text = value,
                                  .data = "",
                                  .problem = "File not found",
                                  .keyPath = classKey + "\\" + subKey,
                                  .registryKey = registryKey,
                                  .valueName = "",
                                  .root = kHkeyLocalMachineRoot,
                                  .evidence = Data_Evidence(value, path)},
                                 "File");
}

// A reference (the default of keyPath) to a GUID that must be registered.
void Check_Type_Lib(ComRun& com, const std::string& keyPath) {
    std::string typeLib;
    if (!Read_Default(com.target, keyPath, typeLib)) return;
    const std::string typeLibRead = typeLib;  // the member's name is completed below
    const std::string registryKey = kHklmPrefix + keyPath;
    if (com.run.Is_Excepted(registryKey + "\\" + typeLib)) return;
    if (Name_In_Set(com.typeLibs, typeLib)) return;
    com.run.Add_Registry_Problem({.type = FixType::Key,
                                  .text = typeLib,
                                  .data = "",
                                  .problem = "TypeLib not found",
                                  .keyPath = keyPath,
                                  .registryKey = registryKey,
                                  .valueName = "",
                                  .root = kHkeyLocalMachineRoot,
                                  .evidence = Data_Evidence(typeLibRead, typeLib)});
}

void Check_Class_Id(ComRun& com, const std::string& classId) {
    const std::string classKey = std::string(kClassesCom) + "CLSID\\" + classId;
    const std::string registryKey = kHklmPrefix + classKey;
    std::string appId;
    std::string appIdRead;
    if (com.target.Get_String_Value(kHkeyLocalMachineRoot, classKey, "AppId", 1, appIdRead) ==
            remote::StringRead::Read &&
        !com.run.Is_Excepted(registryKey + "\\AppId\\" + appIdRead) && !Name_In_Set(com.appIds, appId = appIdRead)) {
        com.run.Add_Registry_Problem({.type = FixType::Value,
                                      .text = appId,
                                      .data = "",
                                      .problem = "AppId not found",
                                      .keyPath = classKey,
                                      .registryKey = registryKey + "\\AppId",
                                      .valueName = "AppId",
                                      .root = kHkeyLocalMachineRoot,
                                      .evidence = Data_Evidence(appIdRead, appId)});
    }
    Check_Server_File(com, classKey, classId, "InProcServer32");
    Check_Type_Lib(com, classKey + "\\TypeLib");
    Check_Server_File(com, classKey, classId, "LocalServer32");
    Check_Server_File(com, classKey, classId, "ToolboxBitmap32");
}

// Phase I: class IDs. False when the category ends (Stop).
bool Scan_Class_Ids(ComRun& com, bool haveTypeLibs) {
    ScanTarget& target = com.target;
    const std::string clsid = std::string(kClassesCom) + "CLSID";
    if (!haveTypeLibs || com.run.Is_Excepted(kHklmPrefix + clsid) ||
        !target.Check_Access(kHkeyLocalMachineRoot, clsid, kKeyQueryValue) ||
        !Read_Name_Set(target, std::string(kClassesCom) + "AppId", com.appIds)) {
        return true;
    }
    const std::vector<std::string> classIds = target.Enum_Key(kHkeyLocalMachineRoot, clsid);
    for (std::size_t i = 0; i < classIds.size(); ++i) {
        if (!com.run.Is_Excepted(kHklmPrefix + clsid + "\\" + classIds[i])) Check_Class_Id(com, classIds[i]);
        const EntryStep step = com.run.After_Entry(Position(i), Upper_Bound(classIds.size()));
        if (step == EntryStep::Stop) return false;
        if (step == EntryStep::Skip) break;
    }
    return true;
}

// Phase II: interfaces. False when the category ends (Stop).
bool Scan_Interfaces(ComRun& com, bool haveTypeLibs) {
    ScanTarget& target = com.target;
    const std::string interfaces = std::string(kClassesCom) + "Interface";
    if (!haveTypeLibs || com.run.Is_Excepted(kHklmPrefix + interfaces) ||
        !target.Check_Access(kHkeyLocalMachineRoot, interfaces, kKeyQueryValue)) {
        return true;
    }
    const std::vector<std::string> names = target.Enum_Key(kHkeyLocalMachineRoot, interfaces);
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string keyPath = interfaces + "\\" + names[i];
        if (!com.run.Is_Excepted(kHklmPrefix + keyPath)) Check_Type_Lib(com, keyPath + "\\TypeLib");
        const EntryStep step = com.run.After_Entry(Position(i), Upper_Bound(names.size()));
        if (step == EntryStep::Stop) return false;
        if (step == EntryStep::Skip) break;
    }
    return true;
}

// Phase III: programmatic identifiers whose class ID is not registered.
void Scan_Prog_Ids(ComRun& com) {
    ScanTarget& target = com.target;
    const std::string classes = std::string(kHklmPrefix) + kClassesCom;
    if (com.run.Is_Excepted(classes)) return;
    if (!Read_Name_Set(target, std::string(kClassesCom) + "CLSID", com.classIds)) return;
    // Programmatic IDs are shared by both views of a 64-bit Windows, while
    // the classes of 32-bit servers are registered in the 32-bit view only:
    // those count as registered too.
    if (target.Context().AddressWidth == 64 &&
        !Read_Name_Set(target, std::string(kClassesCom) + "Wow6432Node\\CLSID", com.classIds)) {
        return;
    }
    const std::vector<std::string> names = target.Enum_Key(kHkeyLocalMachineRoot, kClassesCom);
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string keyPath = kClassesCom + names[i] + "\\CLSID";
        std::string classId;
        std::string classIdRead;
        if (!com.run.Is_Excepted(kHklmPrefix + keyPath) && Read_Default(target, keyPath, classIdRead) &&
            !com.run.Is_Excepted(kHklmPrefix + keyPath + "\\" + classIdRead) &&
            !Name_In_Set(com.classIds, classId = classIdRead)) {
            com.run.Add_Registry_Problem({.type = FixType::Key,
                                          .text = classId,
                                          .data = "",
                                          .problem = "CLSID not found",
                                          .keyPath = keyPath,
                                          .registryKey = kHklmPrefix + keyPath,
                                          .valueName = "",
                                          .root = kHkeyLocalMachineRoot,
                                          .evidence = Data_Evidence(classIdRead, classId)});
        }
        if (com.run.After_Entry(Position(i), Upper_Bound(names.size())) != EntryStep::Continue) return;
    }
}

}  // namespace

bool Key_Has_Content(ScanTarget& target, std::uint32_t root, std::string_view keyPath) {
    // The listing first: a key with values then costs one call, not two.
    if (Has_Elements(target.Enum_Values(root, keyPath))) return true;
    std::string defaultValue;
    if (target.Get_String_Value(root, keyPath, "", 1, defaultValue) == remote::StringRead::Read) return true;
    std::vector<std::string> subKeys;
    if (!target.Enum_Key(root, keyPath, subKeys)) return true;
    const std::string prefix = std::string(keyPath) + "\\";
    for (const std::string& subKey : subKeys) {
        if (Key_Has_Content(target, root, prefix + subKey)) return true;
    }
    // Everything read empty; that means empty only when the key could be read.
    return !target.Check_Access(root, keyPath, kKeyQueryValue);
}

bool Fill_Name_Set(NameSet& set, const std::vector<std::string>& names) {
    for (const std::string& name : names) set.insert(Upper_Text(name));
    return true;
}

bool Name_In_Set(const NameSet& set, std::string& guid) {
    if (guid.empty() || guid.front() != '{') guid = "{" + guid + "}";
    if (guid.back() == '\\') std::erase(guid, '\\');
    return set.contains(Upper_Text(guid));
}

bool Cached_File_Exists(FileExistsCache& cache, ScanTarget& target, std::string_view path) {
    const std::string key = Upper_Text(path);
    if (const auto found = cache.find(key); found != cache.end()) return found->second;
    const bool exists = target.Remote_File_Exists(path);
    cache.emplace(key, exists);
    return exists;
}

void Scan_File_Extensions(ScanArguments& args) {
    CategoryRun run(args);
    args.progress.Category_Phase("File Extensions - Phase I of II");
    Scan_Empty_Class_Keys(run);
    if (!run.Stop_Requested()) {
        args.control.SkipRequested = false;
        args.progress.Category_Phase("File Extensions - Phase II of II");
        Scan_Empty_File_Exts(run);
    }
    run.Finish();
}

void Scan_ActiveX_COM(ScanArguments& args) {
    CategoryRun run(args);
    ComRun com{run, args.target, {}, {}, {}, {}};
    args.progress.Category_Phase("ActiveX/COMs - Phase I of III");
    const bool haveTypeLibs = Read_Name_Set(args.target, std::string(kClassesCom) + "TypeLib", com.typeLibs);
    if (Scan_Class_Ids(com, haveTypeLibs)) {
        args.control.SkipRequested = false;
        args.progress.Category_Phase("ActiveX/COMs - Phase II of III");
        if (Scan_Interfaces(com, haveTypeLibs)) {
            args.control.SkipRequested = false;
            args.progress.Category_Phase("ActiveX/COMs - Phase III of III");
            Scan_Prog_Ids(com);
        }
    }
    run.Finish();
}

namespace {

// A class's AppId is a value; a server file, type library or programmatic
// ID's class is a key.
constexpr RecheckRule kComRules[] = {{FixType::Value, Reason::ComReference}, {FixType::Key, Reason::ComReference}};
constexpr RecheckRule kFileExtensionRules[] = {{FixType::Key, Reason::EmptyKey},       // class key
                                               {FixType::KeyTree, Reason::BareTree}};  // a user's Explorer key

constexpr ScanCategory kCategories[] = {
    {"fC", "ActiveX/COM", "ActiveX/COM", "[ActiveX/COM]", &Scan_ActiveX_COM, kComRules},
    {"fH", "File Extension", "FileExtensions", "[File Extension]", &Scan_File_Extensions, kFileExtensionRules},
};

}  // namespace

std::span<const ScanCategory> Class_Categories() { return kCategories; }

}  // namespace corvane::scan
