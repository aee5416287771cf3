#include "fix/fix_recheck.h"

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <string_view>
#include <vector>

#include "base/text.h"
#include "remote/machine_store.h"
#include "remote/wmi_connection.h"
#include "remote/wmi_files.h"
#include "remote/wmi_registry.h"
#include "remote/wmi_system.h"

namespace corvane::fix {

namespace {

using remote::Existence;

// Past this depth a tree is not walked: it is taken as holding something.
constexpr int kMaxTreeDepth = 512;
constexpr std::int32_t kKeyNotFound = 2;
constexpr auto kStringType = static_cast<std::int32_t>(remote::kRegSz);
constexpr auto kExpandStringType = static_cast<std::int32_t>(remote::kRegExpandSz);
constexpr auto kBinaryType = static_cast<std::int32_t>(remote::kRegBinary);

enum class Look { Files, Folders, Both };

Recheck Path_Missing(remote::TargetContext& context, wmi::IServices& cimv2, const std::string& path, Look look) {
    if (path.empty()) return {ReasonState::Undecided, "the row names no path to test"};
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

// What a value holds now, in the form the scan keeps it in: the text of a
// string value (an expandable one expanded by the computer), the bytes of a
// binary one, nothing for other types.
struct ValueNow {
    enum class State { Read, Gone, Unreadable } state = State::Unreadable;
    std::string data;
};

ValueNow Read_Value_Now(remote::TargetContext& context, wmi::IObject& registry, const RegistryItem& key,
                        const std::string& valueName) {
    std::vector<std::string> names;
    std::vector<std::int32_t> types;
    if (!remote::WMI_Enum_Value_Types(registry, key.root, key.keyPath, names, types)) return {};
    const auto found =
        std::ranges::find_if(names, [&](const std::string& name) { return Equals_Ignore_Case(name, valueName); });
    if (found == names.end()) return {ValueNow::State::Gone, {}};
    const std::size_t index = static_cast<std::size_t>(found - names.begin());
    const std::int32_t type = index < types.size() ? types[index] : 0;
    if (type == kBinaryType) {
        std::vector<std::uint8_t> bytes;
        if (!remote::WMI_Get_Binary_Value(registry, key.root, key.keyPath, valueName, bytes)) return {};
        return {ValueNow::State::Read, Binary_Evidence(bytes)};
    }
    if (type != kStringType && type != kExpandStringType) return {ValueNow::State::Read, {}};
    wmi::Variant value;
    const remote::StringRead read =
        type == kStringType
            ? remote::WMI_Get_String_Value(context, registry, key.root, key.keyPath, valueName, kStringType, value)
            : remote::WMI_Get_Expanded_String_Value(registry, key.root, key.keyPath, valueName, value);
    switch (read) {
        case remote::StringRead::Read:
        case remote::StringRead::Empty: return {ValueNow::State::Read, value.Is_Array() ? "" : value.As_String()};
        case remote::StringRead::ProviderError: return {ValueNow::State::Gone, {}};
        case remote::StringRead::CallFailed: break;
    }
    return {};
}

// The value the scan judged by its data, read again: nullopt while it holds
// the data the scan read (or the scan judged no data), else the answer.
std::optional<Recheck> Data_Changed(const Problem& problem, remote::TargetContext& context,
                                    remote::WmiConnection& connection) {
    const ScanEvidence& evidence = problem.evidence;
    if (!evidence.valueData) return std::nullopt;
    const std::string& valueName = problem.type == FixType::Value ? problem.registry.valueName : evidence.valueName;
    const ValueNow now = Read_Value_Now(context, connection.Registry(), problem.registry, valueName);
    switch (now.state) {
        case ValueNow::State::Unreadable:
            return Recheck{ReasonState::Undecided, "the value \"" + valueName + "\" could not be read again"};
        case ValueNow::State::Gone: return Recheck{ReasonState::NoLonger, "the value \"" + valueName + "\" is gone"};
        case ValueNow::State::Read: break;
    }
    if (now.data != *evidence.valueData) {
        return Recheck{ReasonState::NoLonger, "the value \"" + valueName + "\" holds other data than at the scan"};
    }
    return std::nullopt;
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

Recheck Still_Bare(wmi::IObject& registry, const RegistryItem& key, bool walk) {
    if (Holds_No_Value(registry, key.root, key.keyPath, walk, 0))
        return {ReasonState::Holds, "the key still holds nothing"};
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

// An ActiveX/COM row: which reference it is shows in the key it deletes; the
// class, type library or AppId it names is the member the scan looked for.
Recheck Com_Reference(const Problem& problem, remote::TargetContext& context, remote::WmiConnection& connection) {
    constexpr std::string_view kClasses = "SOFTWARE\\CLASSES\\";
    const std::string& keyPath = problem.registry.keyPath;
    const std::string& guid = problem.evidence.testedPath;
    const std::string last = Upper_Text(keyPath.substr(keyPath.rfind('\\') + 1));
    wmi::IObject& registry = connection.Registry();
    if (guid.empty()) return {ReasonState::Undecided, "the row names no registration"};
    if (problem.type == FixType::Value) {
        return Keys_Missing(registry, problem.registry.root, {std::string(kClasses) + "AppId\\" + guid});
    }
    if (last == "TYPELIB") {
        return Keys_Missing(registry, problem.registry.root, {std::string(kClasses) + "TypeLib\\" + guid});
    }
    if (last == "CLSID") {
        return Keys_Missing(
            registry, problem.registry.root,
            {std::string(kClasses) + "CLSID\\" + guid, std::string(kClasses) + "Wow6432Node\\CLSID\\" + guid});
    }
    return Path_Missing(context, connection.Cimv2(), guid, Look::Files);
}

// A file or folder row: still where the scan saw it.
Recheck Entry_Present(const Problem& problem, remote::TargetContext& context, wmi::IServices& cimv2) {
    const std::string& path = problem.file.path;
    const Existence found = problem.type == FixType::Folder ? remote::Test_Folder_Existence(context, cimv2, path)
                                                            : remote::Test_File_Existence(context, cimv2, path);
    if (found == Existence::Missing) return {ReasonState::Gone, path + " is gone"};
    if (found == Existence::Unknown) return {ReasonState::Undecided, context.Take_Undecided().lastError};
    return {ReasonState::Holds, path + " is still there"};
}

// A browser's file or folder: still there, and the browser not running for
// the user whose profile holds it (a cache deleted under a running browser
// can corrupt it). A process list that cannot be read counts as running.
Recheck Entry_Present_Program_Closed(const Problem& problem, remote::TargetContext& context, wmi::IServices& cimv2) {
    const FileItem& item = problem.file;
    if (item.keptBy.empty() || item.ownerSid.empty())
        return {ReasonState::Undecided, "the row names no program or user"};
    const Recheck present = Entry_Present(problem, context, cimv2);
    if (present.state != ReasonState::Holds) return present;
    const auto owners = remote::WMI_Process_Owners(cimv2, item.keptBy);
    if (!owners) return {ReasonState::InUse, "the processes of " + item.keptBy + " could not be read"};
    if (std::ranges::any_of(*owners, [&](const std::string& sid) { return Equals_Ignore_Case(sid, item.ownerSid); })) {
        return {ReasonState::InUse, item.keptBy + " runs for user " + item.ownerSid};
    }
    return present;
}

}  // namespace

Recheck Recheck_Reason(const Problem& problem, Reason reason, remote::TargetContext& context,
                       remote::WmiConnection& connection) {
    wmi::IServices& cimv2 = connection.Cimv2();
    const std::string& tested = problem.evidence.testedPath;
    switch (reason) {
        case Reason::EntryPresent: return Entry_Present(problem, context, cimv2);
        case Reason::EntryPresentProgramClosed: return Entry_Present_Program_Closed(problem, context, cimv2);
        case Reason::ShortcutTargetMissing: {
            const Recheck shortcut = Entry_Present(problem, context, cimv2);
            if (shortcut.state != ReasonState::Holds) return shortcut;
            return Path_Missing(context, cimv2, tested, Look::Both);
        }
        case Reason::EmptyKey:
            if (remote::Is_Empty_Key(context, connection.Registry(), problem.registry.root, problem.registry.keyPath)) {
                return {ReasonState::Holds, "the key is still empty"};
            }
            return {ReasonState::NoLonger, "the key is no longer empty or cannot be read"};
        case Reason::BareKey: return Still_Bare(connection.Registry(), problem.registry, false);
        case Reason::BareTree: return Still_Bare(connection.Registry(), problem.registry, true);
        case Reason::Listed:
            if (!problem.evidence.valueData) return {ReasonState::Undecided, "the scan kept no data to compare"};
            break;
        default: break;
    }
    // The remaining reasons came from a value's data: data that changed
    // since the scan name something else now.
    if (const std::optional<Recheck> changed = Data_Changed(problem, context, connection)) return *changed;
    switch (reason) {
        case Reason::Listed: return {ReasonState::Holds, "the value still holds the data the scan read"};
        case Reason::PathMissing: return Path_Missing(context, cimv2, tested, Look::Both);
        case Reason::FileMissing: return Path_Missing(context, cimv2, tested, Look::Files);
        case Reason::FolderMissing: return Path_Missing(context, cimv2, tested, Look::Folders);
        case Reason::AppPathMissing:
            // The entry's default value names a file, its "Path" value a folder.
            return Path_Missing(context, cimv2, tested,
                                problem.evidence.valueName.empty() ? Look::Files : Look::Folders);
        case Reason::ComReference: return Com_Reference(problem, context, connection);
        default: return {ReasonState::Undecided, "the row's reason cannot be tested again"};
    }
}

}  // namespace corvane::fix
