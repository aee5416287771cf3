// StdRegProv (root\default): the registry provider's class methods with the
// parameter names of the real provider (hDefKey, sSubKeyName, sValueName, ...).
// hDefKey defaults to HKEY_LOCAL_MACHINE and uRequired to 3 when not passed,
// as on Windows. An empty enumeration leaves sNames and Types Null.
// GetBinaryValue reads any type kept as raw bytes (REG_NONE among them).
// Every method takes exactly the in-parameters of Windows' provider, so
// SetBinaryValue writes REG_BINARY only; the store of the computer the
// program runs on also takes uType, with which the undo of a fix writes a
// value of any other type back with its own type.
#include <charconv>

#include "remote/provider.h"
#include "remote/wmi_errors.h"

namespace corvane::remote {
namespace {

using wmi::Variant;

std::uint32_t Root(const wmi::PropertyBag& in) {
    const Variant root = In_Parameter(in, "hDefKey");
    if (root.Is_Empty()) return kHkeyLocalMachine;
    return static_cast<std::uint32_t>(root.As_Int64());
}
std::string Key(const wmi::PropertyBag& in) { return In_Parameter(in, "sSubKeyName").As_String(); }
std::string Value_Name(const wmi::PropertyBag& in) { return In_Parameter(in, "sValueName").As_String(); }

// Only our own stores know when a value holds more than its read shows; the
// undo backup refuses such a value rather than keep a part of it.
void Mark_Not_Whole(wmi::PropertyBag& out, const RegistryValue& value) {
    if (!value.whole) out["bTruncated"] = Variant(true);
}

wmi::PropertyBag Enum_Key(IRegistryStore& store, const Instance*, const wmi::PropertyBag& in) {
    std::vector<std::string> names;
    const std::uint32_t status = store.Enum_Keys(Root(in), Key(in), names);
    wmi::PropertyBag out = Return_Value(status);
    if (status == kStatusOk && !names.empty()) {
        std::vector<Variant> list;
        list.reserve(names.size());
        for (auto& name : names) list.emplace_back(std::move(name));
        out["sNames"] = Variant(std::move(list));
    } else {
        out["sNames"] = Variant::Null();
    }
    return out;
}

wmi::PropertyBag Enum_Values(IRegistryStore& store, const Instance*, const wmi::PropertyBag& in) {
    std::vector<RegistryValueName> values;
    const std::uint32_t status = store.Enum_Values(Root(in), Key(in), values);
    wmi::PropertyBag out = Return_Value(status);
    if (status == kStatusOk && !values.empty()) {
        std::vector<Variant> names;
        std::vector<Variant> types;
        for (const auto& value : values) {
            names.emplace_back(value.name);
            types.emplace_back(static_cast<std::int32_t>(value.type));
        }
        out["sNames"] = Variant(std::move(names));
        out["Types"] = Variant(std::move(types));
    } else {
        out["sNames"] = Variant::Null();
        out["Types"] = Variant::Null();
    }
    return out;
}

wmi::PropertyBag Read_String(IRegistryStore& store, const wmi::PropertyBag& in, bool expand) {
    RegistryValue value;
    std::uint32_t status = store.Get_Value(Root(in), Key(in), Value_Name(in), value);
    if (status == kStatusOk && value.type != kRegSz && value.type != kRegExpandSz) {
        status = wmi::hresult::kWbemTypeMismatch;
    }
    wmi::PropertyBag out = Return_Value(status);
    if (status == kStatusOk) {
        out["sValue"] =
            Variant(expand && value.type == kRegExpandSz ? store.Expand_Environment(value.text) : value.text);
        Mark_Not_Whole(out, value);
    } else {
        out["sValue"] = Variant::Null();
    }
    return out;
}

wmi::PropertyBag Get_String_Value(IRegistryStore& store, const Instance*, const wmi::PropertyBag& in) {
    return Read_String(store, in, false);
}
wmi::PropertyBag Get_Expanded_String_Value(IRegistryStore& store, const Instance*, const wmi::PropertyBag& in) {
    return Read_String(store, in, true);
}

wmi::PropertyBag Get_Dword_Value(IRegistryStore& store, const Instance*, const wmi::PropertyBag& in) {
    RegistryValue value;
    std::uint32_t status = store.Get_Value(Root(in), Key(in), Value_Name(in), value);
    if (status == kStatusOk && value.type != kRegDword) status = wmi::hresult::kWbemTypeMismatch;
    wmi::PropertyBag out = Return_Value(status);
    out["uValue"] = status == kStatusOk ? Variant(static_cast<std::uint32_t>(value.number)) : Variant::Null();
    Mark_Not_Whole(out, value);
    return out;
}

wmi::PropertyBag Get_Qword_Value(IRegistryStore& store, const Instance*, const wmi::PropertyBag& in) {
    RegistryValue value;
    std::uint32_t status = store.Get_Value(Root(in), Key(in), Value_Name(in), value);
    if (status == kStatusOk && value.type != kRegQword) status = wmi::hresult::kWbemTypeMismatch;
    wmi::PropertyBag out = Return_Value(status);
    out["uValue"] = status == kStatusOk ? Variant(value.number) : Variant::Null();
    Mark_Not_Whole(out, value);
    return out;
}

bool Kept_As_Bytes(std::uint32_t type) {
    return type != kRegSz && type != kRegExpandSz && type != kRegMultiSz && type != kRegDword && type != kRegQword;
}

wmi::PropertyBag Get_Binary_Value(IRegistryStore& store, const Instance*, const wmi::PropertyBag& in) {
    RegistryValue value;
    std::uint32_t status = store.Get_Value(Root(in), Key(in), Value_Name(in), value);
    if (status == kStatusOk && !Kept_As_Bytes(value.type)) status = wmi::hresult::kWbemTypeMismatch;
    wmi::PropertyBag out = Return_Value(status);
    if (status == kStatusOk) {
        std::vector<Variant> bytes;
        bytes.reserve(value.bytes.size());
        for (const std::uint8_t byte : value.bytes) bytes.emplace_back(static_cast<std::int32_t>(byte));
        out["uValue"] = Variant(std::move(bytes));
    } else {
        out["uValue"] = Variant::Null();
    }
    return out;
}

wmi::PropertyBag Get_Multi_String_Value(IRegistryStore& store, const Instance*, const wmi::PropertyBag& in) {
    RegistryValue value;
    std::uint32_t status = store.Get_Value(Root(in), Key(in), Value_Name(in), value);
    if (status == kStatusOk && value.type != kRegMultiSz) status = wmi::hresult::kWbemTypeMismatch;
    wmi::PropertyBag out = Return_Value(status);
    if (status == kStatusOk && !value.parts.empty()) {
        std::vector<Variant> parts;
        for (auto& part : value.parts) parts.emplace_back(std::move(part));
        out["sValue"] = Variant(std::move(parts));
    } else {
        out["sValue"] = Variant::Null();
    }
    Mark_Not_Whole(out, value);
    return out;
}

wmi::PropertyBag Check_Access(IRegistryStore& store, const Instance*, const wmi::PropertyBag& in) {
    const Variant required = In_Parameter(in, "uRequired");
    bool granted = false;
    const std::uint32_t status = store.Check_Access(
        Root(in), Key(in), required.Is_Empty() ? 3u : static_cast<std::uint32_t>(required.As_Int64()), granted);
    wmi::PropertyBag out = Return_Value(status);
    out["bGranted"] = Variant(status == kStatusOk && granted);
    return out;
}

wmi::PropertyBag Create_Key(IRegistryStore& store, const Instance*, const wmi::PropertyBag& in) {
    return Return_Value(store.Create_Key(Root(in), Key(in)));
}
wmi::PropertyBag Delete_Key(IRegistryStore& store, const Instance*, const wmi::PropertyBag& in) {
    return Return_Value(store.Delete_Key(Root(in), Key(in)));
}
wmi::PropertyBag Delete_Value(IRegistryStore& store, const Instance*, const wmi::PropertyBag& in) {
    return Return_Value(store.Delete_Value(Root(in), Key(in), Value_Name(in)));
}
RegistryValue Typed(std::uint32_t type) {
    RegistryValue value;
    value.type = type;
    return value;
}
wmi::PropertyBag Set(IRegistryStore& store, const wmi::PropertyBag& in, const RegistryValue& value) {
    return Return_Value(store.Set_Value(Root(in), Key(in), Value_Name(in), value));
}
wmi::PropertyBag Set_Text(IRegistryStore& store, const wmi::PropertyBag& in, std::uint32_t type) {
    RegistryValue value = Typed(type);
    value.text = In_Parameter(in, "sValue").As_String();
    return Set(store, in, value);
}
wmi::PropertyBag Set_Number(IRegistryStore& store, const wmi::PropertyBag& in, std::uint32_t type,
                            std::uint64_t number) {
    RegistryValue value = Typed(type);
    value.number = number;
    return Set(store, in, value);
}
wmi::PropertyBag Set_String_Value(IRegistryStore& store, const Instance*, const wmi::PropertyBag& in) {
    return Set_Text(store, in, kRegSz);
}
wmi::PropertyBag Set_Expanded_String_Value(IRegistryStore& store, const Instance*, const wmi::PropertyBag& in) {
    return Set_Text(store, in, kRegExpandSz);
}
wmi::PropertyBag Set_Multi_String_Value(IRegistryStore& store, const Instance*, const wmi::PropertyBag& in) {
    RegistryValue value = Typed(kRegMultiSz);
    const Variant parts = In_Parameter(in, "sValue");
    for (const Variant& part : parts.As_Array()) value.parts.push_back(part.As_String());
    return Set(store, in, value);
}
wmi::PropertyBag Set_Dword_Value(IRegistryStore& store, const Instance*, const wmi::PropertyBag& in) {
    const auto number = static_cast<std::uint32_t>(In_Parameter(in, "uValue").As_Int64());
    return Set_Number(store, in, kRegDword, number);
}
wmi::PropertyBag Set_Qword_Value(IRegistryStore& store, const Instance*, const wmi::PropertyBag& in) {
    // uint64 values travel as decimal text through the scripting layer.
    const std::string text = In_Parameter(in, "uValue").As_String();
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return Return_Value(kStatusInvalidParameter);
    return Set_Number(store, in, kRegQword, value);
}
wmi::PropertyBag Set_Binary_Value(IRegistryStore& store, const Instance*, const wmi::PropertyBag& in) {
    const Variant type = In_Parameter(in, "uType");
    RegistryValue value = Typed(type.Is_Empty() ? kRegBinary : static_cast<std::uint32_t>(type.As_Int64()));
    if (!Kept_As_Bytes(value.type)) return Return_Value(kStatusInvalidParameter);
    const Variant bytes = In_Parameter(in, "uValue");
    for (const Variant& byte : bytes.As_Array()) {
        value.bytes.push_back(static_cast<std::uint8_t>(byte.As_Int64()));
    }
    return Set(store, in, value);
}

}  // namespace

std::vector<ClassDescriptor> Registry_Class_Descriptors() {
    std::vector<ClassDescriptor> classes;
    classes.push_back(
        {"StdRegProv",
         "default",
         {},
         nullptr,
         {{"EnumKey", true, {"hDefKey", "sSubKeyName"}, &Run_On<&Enum_Key>},
          {"EnumValues", true, {"hDefKey", "sSubKeyName"}, &Run_On<&Enum_Values>},
          {"GetStringValue", true, {"hDefKey", "sSubKeyName", "sValueName"}, &Run_On<&Get_String_Value>},
          {"GetExpandedStringValue",
           true,
           {"hDefKey", "sSubKeyName", "sValueName"},
           &Run_On<&Get_Expanded_String_Value>},
          {"GetDWORDValue", true, {"hDefKey", "sSubKeyName", "sValueName"}, &Run_On<&Get_Dword_Value>},
          {"GetQWORDValue", true, {"hDefKey", "sSubKeyName", "sValueName"}, &Run_On<&Get_Qword_Value>},
          {"GetBinaryValue", true, {"hDefKey", "sSubKeyName", "sValueName"}, &Run_On<&Get_Binary_Value>},
          {"GetMultiStringValue", true, {"hDefKey", "sSubKeyName", "sValueName"}, &Run_On<&Get_Multi_String_Value>},
          {"CheckAccess", true, {"hDefKey", "sSubKeyName", "uRequired"}, &Run_On<&Check_Access>},
          {"CreateKey", true, {"hDefKey", "sSubKeyName"}, &Run_On<&Create_Key>},
          {"DeleteKey", true, {"hDefKey", "sSubKeyName"}, &Run_On<&Delete_Key>},
          {"DeleteValue", true, {"hDefKey", "sSubKeyName", "sValueName"}, &Run_On<&Delete_Value>},
          {"SetStringValue", true, {"hDefKey", "sSubKeyName", "sValueName", "sValue"}, &Run_On<&Set_String_Value>},
          {"SetExpandedStringValue",
           true,
           {"hDefKey", "sSubKeyName", "sValueName", "sValue"},
           &Run_On<&Set_Expanded_String_Value>},
          {"SetMultiStringValue",
           true,
           {"hDefKey", "sSubKeyName", "sValueName", "sValue"},
           &Run_On<&Set_Multi_String_Value>},
          {"SetDWORDValue", true, {"hDefKey", "sSubKeyName", "sValueName", "uValue"}, &Run_On<&Set_Dword_Value>},
          {"SetQWORDValue", true, {"hDefKey", "sSubKeyName", "sValueName", "uValue"}, &Run_On<&Set_Qword_Value>},
          {"SetBinaryValue",
           true,
           {"hDefKey", "sSubKeyName", "sValueName", "uValue"},
           &Run_On<&Set_Binary_Value>,
           {"uType"}}},
         nullptr});
    return classes;
}

}  // namespace corvane::remote
