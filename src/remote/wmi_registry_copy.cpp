#include "remote/wmi_registry_copy.h"

#include <charconv>
#include <optional>

#include "base/runtime_error.h"
#include "base/text.h"
#include "remote/wmi_results.h"

namespace corvane::remote {
namespace {

using wmi::Variant;

wmi::PropertyBag Key_Parameters(std::uint32_t rootKey, std::string_view keyPath) {
    wmi::PropertyBag in;
    in["hDefKey"] = Variant(rootKey);
    in["sSubKeyName"] = Variant(keyPath);
    return in;
}

wmi::PropertyBag Value_Parameters(std::uint32_t rootKey, std::string_view keyPath, std::string_view valueName) {
    wmi::PropertyBag in = Key_Parameters(rootKey, keyPath);
    in["sValueName"] = Variant(valueName);
    return in;
}

// A reference, so that loops over an array out-parameter stay valid.
const Variant& Out(const wmi::PropertyBag& out, std::string_view name) {
    static const Variant kMissing;
    const auto found = out.find(name);
    return found == out.end() ? kMissing : found->second;
}

std::string Full_Key(std::uint32_t rootKey, std::string_view keyPath) {
    return Root_Key_Name(rootKey) + (keyPath.empty() ? "" : "\\") + std::string(keyPath);
}

// uint64 values come as a number or as decimal text.
bool Read_Uint64(const Variant& value, std::uint64_t& number) {
    if (value.Kind() == Variant::Type::UInt64 || value.Kind() == Variant::Type::String) {
        const std::string text = value.As_String();
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
        return error == std::errc() && end == text.data() + text.size() && !text.empty();
    }
    if (value.Is_Empty()) return false;
    number = static_cast<std::uint64_t>(value.As_Int64());
    return true;
}

// Read_Data's answers besides a method's own return codes.
constexpr std::int32_t kUnexpectedAnswer = -1;  // the answer was not what the type needs
constexpr std::int32_t kPartOnly = -2;          // the store holds more than the method could give

// Reads one value of a known type; the method's return code, or one of the two above.
std::int32_t Read_Data(wmi::IObject& registry, std::uint32_t rootKey, std::string_view keyPath,
                       std::string_view valueName, std::uint32_t type, RegistryValue& value, std::string& method) {
    value = RegistryValue();
    value.type = type;
    switch (type) {
        // GetStringValue gives expandable text as stored; GetExpandedStringValue would expand it.
        case kRegSz:
        case kRegExpandSz: method = "GetStringValue"; break;
        case kRegMultiSz: method = "GetMultiStringValue"; break;
        case kRegDword: method = "GetDWORDValue"; break;
        case kRegQword: method = "GetQWORDValue"; break;
        default: method = "GetBinaryValue"; break;
    }
    const wmi::PropertyBag out = registry.Exec_Method(method, Value_Parameters(rootKey, keyPath, valueName));
    if (const std::int32_t code = Return_Code(out); code != 0) return code;
    if (Out(out, "bTruncated").As_Bool()) return kPartOnly;
    switch (type) {
        case kRegSz:
        case kRegExpandSz: value.text = Out(out, "sValue").As_String(); break;
        case kRegMultiSz:
            for (const Variant& part : Out(out, "sValue").As_Array()) value.parts.push_back(part.As_String());
            break;
        case kRegDword:
            if (Out(out, "uValue").Is_Empty()) return kUnexpectedAnswer;
            value.number = static_cast<std::uint32_t>(Out(out, "uValue").As_Int64());
            break;
        case kRegQword:
            if (!Read_Uint64(Out(out, "uValue"), value.number)) return kUnexpectedAnswer;
            break;
        default:
            for (const Variant& byte : Out(out, "uValue").As_Array()) {
                value.bytes.push_back(static_cast<std::uint8_t>(byte.As_Int64()));
            }
            break;
    }
    return 0;
}

std::string Code_Text(std::string_view method, std::int32_t code, std::uint32_t rootKey, std::string_view keyPath) {
    const std::string what =
        code == kPartOnly ? " could read only a part of a value of " : " returned " + std::to_string(code) + " for ";
    return std::string(method) + what + Full_Key(rootKey, keyPath);
}

std::string Type_Name(std::uint32_t type) {
    switch (type) {
        case kRegNone: return "REG_NONE";
        case 5: return "REG_DWORD_BIG_ENDIAN";
        case 6: return "REG_LINK";
        case 8: return "REG_RESOURCE_LIST";
        case 9: return "REG_FULL_RESOURCE_DESCRIPTOR";
        case 10: return "REG_RESOURCE_REQUIREMENTS_LIST";
        default: return "type " + std::to_string(type);
    }
}

struct ValueList {
    std::vector<std::string> names;
    std::vector<std::uint32_t> types;
};

std::int32_t Enum_Values(wmi::IObject& registry, std::uint32_t rootKey, std::string_view keyPath, ValueList& list) {
    const wmi::PropertyBag out = registry.Exec_Method("EnumValues", Key_Parameters(rootKey, keyPath));
    for (const Variant& name : Out(out, "sNames").As_Array()) list.names.push_back(name.As_String());
    for (const Variant& type : Out(out, "Types").As_Array()) {
        list.types.push_back(static_cast<std::uint32_t>(type.As_Int64()));
    }
    if (Return_Code(out) == 0 && list.names.size() != list.types.size()) return -1;
    return Return_Code(out);
}

// The key's values into a block: every value, or only the one named
// onlyName. False, with the failure's text, when the listing or a read fails.
bool Read_Values(wmi::IObject& registry, std::uint32_t rootKey, std::string_view keyPath,
                 std::optional<std::string_view> onlyName, ValueTypes types, RegKeyBlock& block, std::string& failure) {
    ValueList list;
    if (const std::int32_t code = Enum_Values(registry, rootKey, keyPath, list); code != 0) {
        failure = Code_Text("EnumValues", code, rootKey, keyPath);
        return false;
    }
    block.root = rootKey;
    block.keyPath = std::string(keyPath);
    for (std::size_t i = 0; i < list.names.size(); ++i) {
        if (onlyName && !Equals_Ignore_Case(list.names[i], *onlyName)) continue;
        if (types == ValueTypes::WritableThroughWmi && !Writable_Through_Wmi(list.types[i])) {
            failure = "The value \"" + list.names[i] + "\" of " + Full_Key(rootKey, keyPath) + " has the type " +
                      Type_Name(list.types[i]) + ", which StdRegProv cannot write back";
            return false;
        }
        RegistryValue value;
        std::string method;
        if (const std::int32_t code =
                Read_Data(registry, rootKey, keyPath, list.names[i], list.types[i], value, method);
            code != 0) {
            failure = Code_Text(method, code, rootKey, keyPath) + ", value \"" + list.names[i] + "\"";
            return false;
        }
        block.values.push_back({.name = list.names[i], .value = std::move(value)});
        if (onlyName) break;
    }
    return true;
}

bool Read_Key(wmi::IObject& registry, std::uint32_t rootKey, const std::string& keyPath, bool withSubKeys,
              ValueTypes types, std::vector<RegKeyBlock>& blocks, std::string& failure) {
    RegKeyBlock block;
    if (!Read_Values(registry, rootKey, keyPath, std::nullopt, types, block, failure)) return false;
    blocks.push_back(std::move(block));
    if (!withSubKeys) return true;

    const wmi::PropertyBag out = registry.Exec_Method("EnumKey", Key_Parameters(rootKey, keyPath));
    if (const std::int32_t code = Return_Code(out); code != 0) {
        failure = Code_Text("EnumKey", code, rootKey, keyPath);
        return false;
    }
    for (const Variant& name : Out(out, "sNames").As_Array()) {
        if (!Read_Key(registry, rootKey, keyPath + "\\" + name.As_String(), true, types, blocks, failure)) {
            return false;
        }
    }
    return true;
}

bool Same_Data(const RegistryValue& a, const RegistryValue& b) {
    return a.type == b.type && a.text == b.text && a.parts == b.parts && a.number == b.number && a.bytes == b.bytes;
}

std::int32_t Write_Data(wmi::IObject& registry, std::uint32_t rootKey, std::string_view keyPath,
                        std::string_view valueName, const RegistryValue& value) {
    wmi::PropertyBag in = Value_Parameters(rootKey, keyPath, valueName);
    std::string_view method;
    switch (value.type) {
        case kRegSz:
        case kRegExpandSz:
            method = value.type == kRegSz ? "SetStringValue" : "SetExpandedStringValue";
            in["sValue"] = Variant(value.text);
            break;
        case kRegMultiSz: {
            method = "SetMultiStringValue";
            std::vector<Variant> parts(value.parts.begin(), value.parts.end());
            in["sValue"] = Variant(std::move(parts));
            break;
        }
        case kRegDword:
            method = "SetDWORDValue";
            in["uValue"] = Variant(static_cast<std::uint32_t>(value.number));
            break;
        case kRegQword:
            method = "SetQWORDValue";
            in["uValue"] = Variant(std::to_string(value.number));
            break;
        default: {
            method = "SetBinaryValue";
            std::vector<Variant> bytes;
            for (const std::uint8_t byte : value.bytes) bytes.emplace_back(static_cast<std::int32_t>(byte));
            in["uValue"] = Variant(std::move(bytes));
            // StdRegProv writes REG_BINARY only; uType is the local store's own
            // addition, and any other provider refuses the call.
            if (value.type != kRegBinary) in["uType"] = Variant(value.type);
            break;
        }
    }
    return Return_Code(registry.Exec_Method(method, in));
}

void Write_Block(wmi::IObject& registry, const RegKeyBlock& block, const OverwriteQuestion& mayOverwrite,
                 RegistryWriteReport& report) {
    const std::string fullKey = Full_Key(block.root, block.keyPath);
    if (const std::int32_t code =
            Return_Code(registry.Exec_Method("CreateKey", Key_Parameters(block.root, block.keyPath)));
        code != 0) {
        report.failures.push_back("CreateKey returned " + std::to_string(code) + " for " + fullKey);
        return;
    }
    ++report.keys;
    ValueList present;
    if (const std::int32_t code = Enum_Values(registry, block.root, block.keyPath, present); code != 0) {
        report.failures.push_back(Code_Text("EnumValues", code, block.root, block.keyPath));
        return;
    }
    for (const RegValueLine& line : block.values) {
        if (!line.value) continue;
        std::size_t at = 0;
        while (at < present.names.size() && !Equals_Ignore_Case(present.names[at], line.name)) ++at;
        if (at < present.names.size()) {
            RegistryValue current;
            std::string method;
            const std::int32_t code =
                Read_Data(registry, block.root, block.keyPath, line.name, present.types[at], current, method);
            if (code == 0 && Same_Data(current, *line.value)) {
                ++report.valuesUnchanged;
                continue;
            }
            if (!mayOverwrite || !mayOverwrite(fullKey, line.name)) {
                ++report.valuesKept;
                continue;
            }
        }
        const std::string what = "Writing \"" + line.name + "\" of " + fullKey;
        try {
            if (const std::int32_t code = Write_Data(registry, block.root, block.keyPath, line.name, *line.value);
                code != 0) {
                report.failures.push_back(what + " returned " + std::to_string(code));
            } else {
                ++report.valuesWritten;
            }
        } catch (const RuntimeError& error) {
            const std::string type =
                Writable_Through_Wmi(line.value->type) ? std::string() : " (" + Type_Name(line.value->type) + ")";
            report.failures.push_back(what + type + ": " + error.Description());
        }
    }
}

}  // namespace

bool Writable_Through_Wmi(std::uint32_t type) {
    return type == kRegSz || type == kRegExpandSz || type == kRegBinary || type == kRegDword || type == kRegMultiSz ||
           type == kRegQword;
}

bool WMI_Read_Value_Block(wmi::IObject& registry, std::uint32_t rootKey, std::string_view keyPath,
                          std::string_view valueName, ValueTypes types, std::vector<RegKeyBlock>& blocks,
                          std::string& failure) {
    try {
        RegKeyBlock block;
        if (!Read_Values(registry, rootKey, keyPath, valueName, types, block, failure)) return false;
        if (!block.values.empty()) blocks.push_back(std::move(block));
        return true;
    } catch (const RuntimeError& error) {
        failure = "Reading " + Full_Key(rootKey, keyPath) + ": " + error.Description();
        return false;
    }
}

bool WMI_Read_Key_Blocks(wmi::IObject& registry, std::uint32_t rootKey, std::string_view keyPath, bool withSubKeys,
                         ValueTypes types, std::vector<RegKeyBlock>& blocks, std::string& failure) {
    std::vector<RegKeyBlock> read;
    try {
        if (!Read_Key(registry, rootKey, std::string(keyPath), withSubKeys, types, read, failure)) return false;
    } catch (const RuntimeError& error) {
        failure = "Reading " + Full_Key(rootKey, keyPath) + ": " + error.Description();
        return false;
    }
    blocks.insert(blocks.end(), std::make_move_iterator(read.begin()), std::make_move_iterator(read.end()));
    return true;
}

RegistryWriteReport WMI_Write_Blocks(wmi::IObject& registry, const RegFile& file,
                                     const OverwriteQuestion& mayOverwrite) {
    RegistryWriteReport report;
    for (const RegKeyBlock& block : file.keys) {
        if (block.deleteKey) continue;
        try {
            Write_Block(registry, block, mayOverwrite, report);
        } catch (const RuntimeError& error) {
            report.failures.push_back(Full_Key(block.root, block.keyPath) + ": " + error.Description());
        }
    }
    return report;
}

}  // namespace corvane::remote
