#include "fix/fix_recheck.h"

#include <array>
#include <initializer_list>
#include <optional>
#include <string_view>
#include <vector>

#include "base/extract_file_path.h"
#include "base/text.h"
#include "base/ui/problem_kinds.h"
#include "base/ui/results_list.h"
#include "remote/wmi_connection.h"
#include "remote/wmi_files.h"
#include "remote/wmi_registry.h"

namespace corvane::fix {

namespace {

using remote::Existence;

// Past this depth a tree is not walked: it is taken as holding something.
constexpr int kMaxTreeDepth = 512;
constexpr std::int32_t kKeyNotFound = 2;

bool Is_Full_Path(std::string_view text) { return text.size() >= 3 && text[1] == ':' && text[2] == '\\'; }

// The path the row names: its text when that is a full path, else its data
// (a folder) joined with its text (a file name).
std::string Row_Path(const ListRow& row) {
    const std::string& text = row.text;
    const std::string& folder = row.Sub(1).text;
    if (Is_Full_Path(text) || folder.empty()) return text;
    return folder.back() == '\\' ? folder + text : folder + "\\" + text;
}

enum class Look { Files, Folders, Both };

Recheck Path_Missing(remote::TargetContext& context, wmi::IServices& cimv2, const std::string& path, Look look) {
    const Existence folder =
        look == Look::Files ? Existence::Missing : remote::Test_Folder_Existence(context, cimv2, path);
    const Existence file =
        look == Look::Folders ? Existence::Missing : remote::Test_File_Existence(context, cimv2, path);
    if (folder == Existence::Exists || file == Existence::Exists) return {ReasonState::NoLonger, path + " exists"};
    if (folder == Existence::Unknown || file == Existence::Unknown) {
        return {ReasonState::Undecided, context.Take_Undecided().lastError};
    }
    return {ReasonState::Holds, path + " is still missing"};
}

// The file named now by the key's default value, tested again: a value that
// changed is judged as it reads today.
Recheck Default_File_Missing(remote::TargetContext& context, remote::WmiConnection& connection, std::uint32_t root,
                             const std::string& keyPath) {
    wmi::Variant value;
    const remote::StringRead read =
        remote::WMI_Get_String_Value(context, connection.Registry(), root, keyPath, "", 1, value);
    if (read == remote::StringRead::Empty) return {ReasonState::NoLonger, "the key's default value is gone"};
    if (read != remote::StringRead::Read) return {ReasonState::Undecided, "the key's default value could not be read"};
    std::string path = value.As_String();
    if (!Extract_File_Path(path)) return {ReasonState::NoLonger, "the key's default value names no file now"};
    return Path_Missing(context, connection.Cimv2(), path, Look::Files);
}

// An application path row names the file of the entry's default value or
// the folder of its "Path" value; each is tested again as the scan tested
// it, so a "Path" naming a file (no folder) still counts as missing.
Recheck App_Path_Missing(const ListRow& row, std::uint32_t root, remote::TargetContext& context,
                         remote::WmiConnection& connection) {
    const std::string& keyPath = row.Sub(2).tag;
    Recheck outcome{ReasonState::NoLonger, "the entry's values no longer name " + row.text};
    for (const auto& [valueName, look] : {std::pair{"", Look::Files}, std::pair{"Path", Look::Folders}}) {
        wmi::Variant value;
        const remote::StringRead read =
            remote::WMI_Get_String_Value(context, connection.Registry(), root, keyPath, valueName, 1, value);
        if (read == remote::StringRead::CallFailed) {
            outcome = {ReasonState::Undecided, "the entry's values could not be read"};
            continue;
        }
        std::string path = read == remote::StringRead::Read ? value.As_String() : std::string();
        if (!Extract_File_Path(path) || !Equals_Ignore_Case(path, row.text)) continue;
        const Recheck named = Path_Missing(context, connection.Cimv2(), path, look);
        if (named.state == ReasonState::Holds) return named;
        if (outcome.state != ReasonState::Undecided) outcome = named;
    }
    return outcome;
}

// True only for a key that could be read and holds no value; its sub-keys
// must be absent too, or (walk) hold no value down the whole tree.
bool Holds_No_Value(wmi::IObject& registry, std::uint32_t root, const std::string& keyPath, bool walk, int depth) {
    std::vector<std::string> names;
    std::vector<std::int32_t> types;
    if (depth > kMaxTreeDepth || !remote::WMI_Enum_Value_Types(registry, root, keyPath, names, types) ||
        !names.empty()) {
        return false;
    }
    std::vector<std::string> subKeys;
    if (!remote::WMI_Enum_Key(registry, root, keyPath, subKeys) || (!walk && !subKeys.empty())) return false;
    for (const std::string& subKey : subKeys) {
        if (!Holds_No_Value(registry, root, keyPath + "\\" + subKey, walk, depth + 1)) return false;
    }
    // Listings of a key that refuses reading come back empty as well.
    std::int32_t code = 0;
    return remote::WMI_Check_Access(registry, root, keyPath, remote::kKeyQueryValue, code);
}

Recheck Still_Bare(wmi::IObject& registry, std::uint32_t root, const std::string& keyPath, bool walk) {
    if (Holds_No_Value(registry, root, keyPath, walk, 0)) return {ReasonState::Holds, "the key still holds nothing"};
    return {ReasonState::NoLonger, "the key holds something now or cannot be read"};
}

// Whether any of the keys is registered: granted reading means it is there,
// "not found" that it is not; any other answer decides nothing.
Recheck Keys_Missing(wmi::IObject& registry, std::uint32_t root, std::initializer_list<std::string> keyPaths) {
    for (const std::string& keyPath : keyPaths) {
        std::int32_t code = 0;
        if (remote::WMI_Check_Access(registry, root, keyPath, remote::kKeyQueryValue, code)) {
            return {ReasonState::NoLonger, keyPath + " exists"};
        }
        if (code != kKeyNotFound) {
            return {ReasonState::Undecided, keyPath + " could not be read (" + std::to_string(code) + ")"};
        }
    }
    return {ReasonState::Holds, "still not registered"};
}

// An ActiveX/COM row: which reference it is shows in the key it deletes.
Recheck Com_Reference(const ListRow& row, std::uint32_t root, remote::TargetContext& context,
                      remote::WmiConnection& connection) {
    constexpr std::string_view kClasses = "SOFTWARE\\CLASSES\\";
    const std::string& keyPath = row.Sub(2).tag;
    const std::string guid = row.text;
    const std::string last = Upper_Text(keyPath.substr(keyPath.rfind('\\') + 1));
    wmi::IObject& registry = connection.Registry();
    if (Fix_Type_Of(row.tag) == FixType::Value)
        return Keys_Missing(registry, root, {std::string(kClasses) + "AppId\\" + guid});
    if (last == "TYPELIB") return Keys_Missing(registry, root, {std::string(kClasses) + "TypeLib\\" + guid});
    if (last == "CLSID") {
        return Keys_Missing(
            registry, root,
            {std::string(kClasses) + "CLSID\\" + guid, std::string(kClasses) + "Wow6432Node\\CLSID\\" + guid});
    }
    return Default_File_Missing(context, connection, root, keyPath);
}

}  // namespace

Recheck Recheck_Reason(const ListRow& row, RecheckRuleLookup rules, std::uint32_t root, remote::TargetContext& context,
                       remote::WmiConnection& connection) {
    if (row.tag.size() < 3) return {};
    const std::string_view categoryKey = std::string_view(row.tag).substr(1, 2);
    // The scan builds no row without a rule (CategoryRun refuses it); a row
    // without one carries no reason, and its deletion needs it present.
    const std::optional<FixType> type = Fix_Type_Of(row.tag);
    const RecheckRule* rule = type ? Find_Rule(rules(categoryKey), *type) : nullptr;
    if (rule == nullptr) return {};
    wmi::IServices& cimv2 = connection.Cimv2();
    switch (rule->reason) {
        case Reason::PathMissing: return Path_Missing(context, cimv2, Row_Path(row), Look::Both);
        case Reason::FileMissing: return Path_Missing(context, cimv2, Row_Path(row), Look::Files);
        case Reason::FolderMissing: return Path_Missing(context, cimv2, Row_Path(row), Look::Folders);
        case Reason::NamedFolderMissing: {
            std::string folder = row.text;
            if (!Extract_File_Path(folder)) return {ReasonState::Undecided, "the row names no folder"};
            if (folder.back() != '\\') folder += '\\';
            return Path_Missing(context, cimv2, folder, Look::Folders);
        }
        case Reason::DefaultFileMissing: return Default_File_Missing(context, connection, root, row.Sub(2).tag);
        case Reason::AppPathMissing: return App_Path_Missing(row, root, context, connection);
        case Reason::EmptyKey: {
            if (remote::Is_Empty_Key(context, connection.Registry(), root, row.Sub(2).tag)) {
                return {ReasonState::Holds, "the key is still empty"};
            }
            return {ReasonState::NoLonger, "the key is no longer empty or cannot be read"};
        }
        case Reason::BareKey: return Still_Bare(connection.Registry(), root, row.Sub(2).tag, false);
        case Reason::BareTree: return Still_Bare(connection.Registry(), root, row.Sub(2).tag, true);
        case Reason::ComReference: return Com_Reference(row, root, context, connection);
        case Reason::Listed:
        case Reason::EntryPresent: return {};
    }
    return {};
}

}  // namespace corvane::fix
