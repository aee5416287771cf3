#include "remote/wmi_registry.h"

#include "base/runtime_error.h"
#include "base/text.h"
#include "remote/machine_store.h"

namespace corvane::remote {
namespace {

// A key path with trailing backslashes names the same key as without them
// (some rows carry one); not every provider accepts them, so they go.
std::string_view Key_Path(std::string_view keyPath) {
    while (!keyPath.empty() && keyPath.back() == '\\') keyPath.remove_suffix(1);
    return keyPath;
}

constexpr std::int32_t kInvalidArgument = 5;  // "Invalid procedure call or argument"

// A name with a zero character would be cut short by the registry functions
// and name another key or value: such a deletion is refused.
void Refuse_Zero_Character(std::string_view name) {
    if (name.find('\0') != std::string_view::npos) {
        throw RuntimeError(kInvalidArgument, "The registry name contains a zero character: nothing is deleted");
    }
}

wmi::PropertyBag Key_Parameters(std::uint32_t rootKey, std::string_view keyPath) {
    wmi::PropertyBag in;
    in["hDefKey"] = wmi::Variant(rootKey);
    in["sSubKeyName"] = wmi::Variant(Key_Path(keyPath));
    return in;
}

wmi::PropertyBag Value_Parameters(std::uint32_t rootKey, std::string_view keyPath, std::string_view valueName) {
    wmi::PropertyBag in = Key_Parameters(rootKey, keyPath);
    in["sValueName"] = wmi::Variant(valueName);
    return in;
}

// Array elements as texts; an unassigned (Null) array is empty.
std::vector<std::string> Texts(const wmi::PropertyBag& out, std::string_view name) {
    std::vector<std::string> texts;
    const auto found = out.find(name);
    if (found == out.end()) return texts;
    for (const wmi::Variant& element : found->second.As_Array()) texts.push_back(element.As_String());
    return texts;
}

// EnumKey or EnumValues: true once the call was made, whatever it returned.
bool Enum_Names(wmi::IObject& registry, std::string_view method, std::uint32_t rootKey, std::string_view keyPath,
                std::vector<std::string>& names) {
    try {
        names = Texts(registry.Exec_Method(method, Key_Parameters(rootKey, keyPath)), "sNames");
        return true;
    } catch (const RuntimeError& error) {
        Raise_Unless_Swallowed(error);
        return false;
    }
}

}  // namespace

bool WMI_Enum_Key(wmi::IObject& registry, std::uint32_t rootKey, std::string_view keyPath,
                  std::vector<std::string>& subKeyNames) {
    return Enum_Names(registry, "EnumKey", rootKey, keyPath, subKeyNames);
}

bool WMI_Enum_Values(wmi::IObject& registry, std::uint32_t rootKey, std::string_view keyPath,
                     std::vector<std::string>& valueNames) {
    return Enum_Names(registry, "EnumValues", rootKey, keyPath, valueNames);
}

bool WMI_Enum_Value_Types(wmi::IObject& registry, std::uint32_t rootKey, std::string_view keyPath,
                          std::vector<std::string>& valueNames, std::vector<std::int32_t>& valueTypes) {
    try {
        const wmi::PropertyBag out = registry.Exec_Method("EnumValues", Key_Parameters(rootKey, keyPath));
        if (Return_Code(out) != 0) return false;
        std::vector<std::string> names = Texts(out, "sNames");
        std::vector<std::int32_t> types;
        if (const auto found = out.find("Types"); found != out.end()) {
            for (const wmi::Variant& type : found->second.As_Array()) types.push_back(type.As_Int32());
        }
        if (names.size() != types.size()) return false;
        valueNames = std::move(names);
        valueTypes = std::move(types);
        return true;
    } catch (const RuntimeError& error) {
        Raise_Unless_Swallowed(error);
        return false;
    }
}

bool WMI_Enum_String_Values(wmi::IObject& registry, std::uint32_t rootKey, std::string_view keyPath,
                            std::vector<std::string>& valueNames, std::vector<std::int32_t>& valueTypes,
                            std::vector<wmi::Variant>& values) {
    try {
        const wmi::PropertyBag out = registry.Exec_Method("EnumValues", Key_Parameters(rootKey, keyPath));
        std::vector<std::string> names = Texts(out, "sNames");
        std::vector<std::int32_t> types;
        if (const auto found = out.find("Types"); found != out.end()) {
            for (const wmi::Variant& type : found->second.As_Array()) types.push_back(type.As_Int32());
        }
        if (Return_Code(out) != 0 || types.empty()) {
            valueNames = std::move(names);
            valueTypes = std::move(types);
            return false;
        }
        std::vector<wmi::Variant> read(types.size());
        for (std::size_t i = 0; i < types.size(); ++i) {
            if (types[i] != 1 && types[i] != 2) continue;
            const wmi::PropertyBag value =
                registry.Exec_Method(types[i] == 1 ? "GetStringValue" : "GetExpandedStringValue",
                                     Value_Parameters(rootKey, keyPath, i < names.size() ? names[i] : std::string()));
            if (const auto found = value.find("sValue"); found != value.end()) read[i] = found->second;
        }
        valueNames = std::move(names);
        valueTypes = std::move(types);
        values = std::move(read);
        return true;
    } catch (const RuntimeError& error) {
        Raise_Unless_Swallowed(error);
        return false;
    }
}

namespace {

StringRead Read_Or_Empty(const wmi::Variant& value) {
    const bool empty = value.Is_Empty() || (value.Kind() == wmi::Variant::Type::String && value.As_String().empty());
    return empty ? StringRead::Empty : StringRead::Read;
}

// GetStringValue or GetExpandedStringValue; a refused call reads nothing.
StringRead Call_String_Method(wmi::IObject& registry, std::string_view method, std::uint32_t rootKey,
                              std::string_view keyPath, std::string_view valueName, wmi::Variant& value) {
    try {
        const wmi::PropertyBag out = registry.Exec_Method(method, Value_Parameters(rootKey, keyPath, valueName));
        if (Return_Code(out) != 0) return StringRead::ProviderError;
        const auto found = out.find("sValue");
        value = found == out.end() ? wmi::Variant() : found->second;
        return Read_Or_Empty(value);
    } catch (const RuntimeError& error) {
        Raise_Unless_Swallowed(error);
        return StringRead::CallFailed;
    }
}

}  // namespace

StringRead WMI_Get_String_Value(TargetContext& context, wmi::IObject& registry, std::uint32_t rootKey,
                                std::string_view keyPath, std::string_view valueName, std::int32_t valueType,
                                wmi::Variant& value) {
    if (context.IsRemote) {
        if (valueType != 1) return Read_Or_Empty(value);
        return Call_String_Method(registry, "GetStringValue", rootKey, keyPath, valueName, value);
    }
    try {
        value = Query_Local_Value(context.Ports().localRegistry, rootKey, Key_Path(keyPath), valueName);
        return Read_Or_Empty(value);
    } catch (const RuntimeError& error) {
        Raise_Unless_Swallowed(error);
        return StringRead::CallFailed;
    }
}

StringRead WMI_Get_Expanded_String_Value(wmi::IObject& registry, std::uint32_t rootKey, std::string_view keyPath,
                                         std::string_view valueName, wmi::Variant& value) {
    return Call_String_Method(registry, "GetExpandedStringValue", rootKey, keyPath, valueName, value);
}

bool WMI_Get_Binary_Value(wmi::IObject& registry, std::uint32_t rootKey, std::string_view keyPath,
                          std::string_view valueName, std::vector<std::uint8_t>& bytes) {
    try {
        const wmi::PropertyBag out =
            registry.Exec_Method("GetBinaryValue", Value_Parameters(rootKey, keyPath, valueName));
        if (Return_Code(out) != 0) return false;
        bytes.clear();
        const auto found = out.find("uValue");
        if (found == out.end() || !found->second.Is_Array()) return true;
        for (const wmi::Variant& byte : found->second.As_Array()) {
            bytes.push_back(static_cast<std::uint8_t>(byte.As_Int32()));
        }
        return true;
    } catch (const RuntimeError& error) {
        Raise_Unless_Swallowed(error);
        return false;
    }
}

bool Is_Empty_Key(TargetContext& context, wmi::IObject& registry, std::uint32_t rootKey, std::string_view keyPath) {
    std::vector<std::string> names;
    std::vector<std::int32_t> types;
    if (!WMI_Enum_Value_Types(registry, rootKey, keyPath, names, types)) return false;
    return Is_Empty_Key(context, registry, rootKey, keyPath, names, types);
}

bool Is_Empty_Key(TargetContext& context, wmi::IObject& registry, std::uint32_t rootKey, std::string_view keyPath,
                  const std::vector<std::string>& names, const std::vector<std::int32_t>& types) {
    if (names.size() != types.size()) return false;
    if (names.size() > 1 || (names.size() == 1 && (!names[0].empty() || types[0] != kRegSz))) return false;
    std::vector<std::string> subKeys;
    if (!WMI_Enum_Key(registry, rootKey, keyPath, subKeys) || !subKeys.empty()) return false;
    if (names.size() == 1) {
        wmi::Variant value;
        if (WMI_Get_String_Value(context, registry, rootKey, keyPath, "", kRegSz, value) != StringRead::Empty) {
            return false;
        }
    }
    std::int32_t returnCode = 0;
    return WMI_Check_Access(registry, rootKey, keyPath, kKeyQueryValue, returnCode);
}

bool WMI_Check_Access(wmi::IObject& registry, std::uint32_t rootKey, std::string_view keyPath, std::uint32_t required,
                      std::int32_t& returnCode) {
    try {
        wmi::PropertyBag in = Key_Parameters(rootKey, keyPath);
        in["uRequired"] = wmi::Variant(required);
        const wmi::PropertyBag out = registry.Exec_Method("CheckAccess", in);
        returnCode = Return_Code(out);
        const auto granted = out.find("bGranted");
        return granted != out.end() && granted->second.As_Bool();
    } catch (const RuntimeError& error) {
        Raise_Unless_Swallowed(error);
        return false;
    }
}

bool WMI_Delete_Value(wmi::IObject& registry, std::uint32_t rootKey, std::string_view keyPath,
                      std::string_view valueName, std::int32_t& returnCode) {
    Refuse_Zero_Character(keyPath);
    Refuse_Zero_Character(valueName);
    try {
        returnCode = Return_Code(registry.Exec_Method("DeleteValue", Value_Parameters(rootKey, keyPath, valueName)));
        return Return_Code_Succeeded(returnCode);
    } catch (const RuntimeError& error) {
        Raise_Unless_Swallowed(error);
        return false;
    }
}

bool WMI_Delete_Key(wmi::IObject& registry, std::uint32_t rootKey, std::string_view keyPath, std::int32_t& returnCode) {
    Refuse_Zero_Character(keyPath);
    try {
        returnCode = Return_Code(registry.Exec_Method("DeleteKey", Key_Parameters(rootKey, keyPath)));
        return Return_Code_Succeeded(returnCode);
    } catch (const RuntimeError& error) {
        Raise_Unless_Swallowed(error);
        return false;
    }
}

namespace {

constexpr int kMaxKeyTreeDepth = 512;
constexpr std::int32_t kRegLink = 6;
constexpr std::int32_t kOutOfStackSpace = 28;

// A registry link holds its target in "SymbolicLinkValue" (REG_LINK): it is
// deleted as itself, never walked, so a deletion never reaches through it.
bool Is_Registry_Link(wmi::IObject& registry, std::uint32_t rootKey, std::string_view keyPath) {
    std::vector<std::string> names;
    std::vector<std::int32_t> types;
    if (!WMI_Enum_Value_Types(registry, rootKey, keyPath, names, types)) return false;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (types[i] == kRegLink && Lower_Ascii(names[i]) == "symboliclinkvalue") return true;
    }
    return false;
}

bool Delete_Key_Tree(wmi::IObject& registry, std::uint32_t rootKey, std::string_view keyPath, std::int32_t& returnCode,
                     int depth) {
    if (depth > kMaxKeyTreeDepth) {
        throw RuntimeError(kOutOfStackSpace, "The key tree is deeper than 512 levels: deletion stopped");
    }
    std::vector<std::string> subKeys;
    if (!Is_Registry_Link(registry, rootKey, keyPath)) (void)WMI_Enum_Key(registry, rootKey, keyPath, subKeys);
    for (const std::string& name : subKeys) Refuse_Zero_Character(name);
    for (const std::string& name : subKeys) {
        std::int32_t innerCode = 0;
        (void)Delete_Key_Tree(registry, rootKey, std::string(Key_Path(keyPath)) + "\\" + name, innerCode, depth + 1);
    }
    return WMI_Delete_Key(registry, rootKey, keyPath, returnCode);
}

}  // namespace

bool WMI_Delete_Key_Tree(wmi::IObject& registry, std::uint32_t rootKey, std::string_view keyPath,
                         std::int32_t& returnCode) {
    Refuse_Zero_Character(keyPath);
    return Delete_Key_Tree(registry, rootKey, keyPath, returnCode, 0);
}

}  // namespace corvane::remote
