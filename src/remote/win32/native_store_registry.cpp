// The native store's registry: advapi32 on the 64-bit view, Win32 status
// codes passed through as the registry API returns them.
#include <windows.h>

#include <vector>

#include "base/win32/unique_com.h"
#include "base/win32/wide_text.h"
#include "remote/registry_bytes.h"
#include "remote/win32/native_store.h"

using namespace ::corvane::win32;  // the program's handle and COM owners, Widen and Narrow

namespace corvane::remote::win32 {
namespace {

constexpr REGSAM kView = KEY_WOW64_64KEY;

HKEY Root_Handle(std::uint32_t root) { return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root))); }

std::uint32_t Open_Key(std::uint32_t root, std::string_view keyPath, REGSAM access, unique_hkey& key,
                       DWORD options = 0) {
    return static_cast<std::uint32_t>(
        RegOpenKeyExW(Root_Handle(root), Widen(keyPath).c_str(), options, access | kView, key.put()));
}

// A registry link opened as itself, not as the key it points at: its
// sub-keys and values are its own (none, and "SymbolicLinkValue"), so a
// walk or a deletion never reaches through it.
std::uint32_t Open_Key_Itself(std::uint32_t root, std::string_view keyPath, REGSAM access, unique_hkey& key) {
    return Open_Key(root, keyPath, access, key, REG_OPTION_OPEN_LINK);
}

// ntdll's NtDeleteKey: deletes the key behind the handle, which for a link
// opened as itself is the link and not its target.
using NtDeleteKeyFunction = LONG(NTAPI*)(HANDLE);

// The few NTSTATUS codes NtDeleteKey answers with, as registry error codes.
DWORD Delete_Status_Code(LONG status) {
    constexpr LONG kObjectNameNotFound = static_cast<LONG>(0xC0000034);
    constexpr LONG kKeyDeleted = static_cast<LONG>(0xC000017C);
    if (status == kObjectNameNotFound || status == kKeyDeleted) return ERROR_FILE_NOT_FOUND;
    return ERROR_ACCESS_DENIED;
}

}  // namespace

std::uint32_t NativeStore::Enum_Keys(std::uint32_t root, std::string_view keyPath, std::vector<std::string>& names) {
    names.clear();
    unique_hkey key;
    if (const auto status = Open_Key_Itself(root, keyPath, KEY_ENUMERATE_SUB_KEYS, key)) return status;
    std::vector<wchar_t> name(256);
    for (DWORD index = 0;;) {
        DWORD length = static_cast<DWORD>(name.size());
        const LSTATUS status =
            RegEnumKeyExW(key.get(), index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status == ERROR_MORE_DATA) {
            name.resize(name.size() * 2);
            continue;
        }
        if (status != ERROR_SUCCESS) return static_cast<std::uint32_t>(status);
        names.push_back(Narrow(std::wstring_view(name.data(), length)));
        ++index;
    }
    return kStatusOk;
}

std::uint32_t NativeStore::Enum_Values(std::uint32_t root, std::string_view keyPath,
                                       std::vector<RegistryValueName>& values) {
    values.clear();
    unique_hkey key;
    if (const auto status = Open_Key_Itself(root, keyPath, KEY_QUERY_VALUE, key)) return status;
    std::vector<wchar_t> name(256);
    for (DWORD index = 0;;) {
        DWORD length = static_cast<DWORD>(name.size());
        DWORD type = REG_NONE;
        const LSTATUS status = RegEnumValueW(key.get(), index, name.data(), &length, nullptr, &type, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status == ERROR_MORE_DATA) {
            if (name.size() > 32768) return static_cast<std::uint32_t>(status);
            name.resize(name.size() * 2);
            continue;
        }
        if (status != ERROR_SUCCESS) return static_cast<std::uint32_t>(status);
        values.push_back({Narrow(std::wstring_view(name.data(), length)), type});
        ++index;
    }
    return kStatusOk;
}

std::uint32_t NativeStore::Get_Value(std::uint32_t root, std::string_view keyPath, std::string_view valueName,
                                     RegistryValue& value) {
    unique_hkey key;
    if (const auto status = Open_Key(root, keyPath, KEY_QUERY_VALUE, key)) return status;
    const std::wstring name = Widen(valueName);
    std::vector<std::uint8_t> data(1024);
    DWORD type = REG_NONE;
    for (;;) {
        DWORD size = static_cast<DWORD>(data.size());
        const LSTATUS status = RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, data.data(), &size);
        if (status == ERROR_MORE_DATA) {
            data.resize(size > data.size() ? size : data.size() * 2);
            continue;
        }
        if (status != ERROR_SUCCESS) return static_cast<std::uint32_t>(status);
        data.resize(size);
        break;
    }
    value = Decode_Registry_Bytes(type, data);
    return kStatusOk;
}

std::string NativeStore::Expand_Environment(std::string_view text) {
    const std::wstring source = Widen(text);
    std::vector<wchar_t> expanded(source.size() + 256);
    for (;;) {
        const DWORD length =
            ExpandEnvironmentStringsW(source.c_str(), expanded.data(), static_cast<DWORD>(expanded.size()));
        if (length == 0) return std::string(text);
        if (length <= expanded.size()) return Narrow(std::wstring_view(expanded.data(), length - 1));
        expanded.resize(length);
    }
}

std::uint32_t NativeStore::Check_Access(std::uint32_t root, std::string_view keyPath, std::uint32_t required,
                                        bool& granted) {
    unique_hkey key;
    const auto status = Open_Key(root, keyPath, static_cast<REGSAM>(required), key);
    granted = status == kStatusOk;
    return status;
}

std::uint32_t NativeStore::Create_Key(std::uint32_t root, std::string_view keyPath) {
    unique_hkey key;
    return static_cast<std::uint32_t>(RegCreateKeyExW(Root_Handle(root), Widen(keyPath).c_str(), 0, nullptr,
                                                      REG_OPTION_NON_VOLATILE, KEY_QUERY_VALUE | kView, nullptr,
                                                      key.put(), nullptr));
}

std::uint32_t NativeStore::Delete_Key(std::uint32_t root, std::string_view keyPath) {
    // An empty path would name the root itself.
    if (keyPath.empty()) return kStatusAccessDenied;
    unique_hkey key;
    if (const auto status = Open_Key_Itself(root, keyPath, KEY_QUERY_VALUE | DELETE, key)) return status;
    DWORD subKeys = 0;
    const LSTATUS status = RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr,
                                            nullptr, nullptr, nullptr, nullptr);
    if (status != ERROR_SUCCESS) return static_cast<std::uint32_t>(status);
    if (subKeys > 0) return kStatusAccessDenied;
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const auto deleteKey =
        ntdll != nullptr
            ? reinterpret_cast<NtDeleteKeyFunction>(reinterpret_cast<void*>(GetProcAddress(ntdll, "NtDeleteKey")))
            : nullptr;
    if (deleteKey == nullptr) return static_cast<std::uint32_t>(ERROR_CALL_NOT_IMPLEMENTED);
    const LONG ntStatus = deleteKey(key.get());
    return ntStatus >= 0 ? kStatusOk : static_cast<std::uint32_t>(Delete_Status_Code(ntStatus));
}

std::uint32_t NativeStore::Delete_Value(std::uint32_t root, std::string_view keyPath, std::string_view valueName) {
    unique_hkey key;
    if (const auto status = Open_Key(root, keyPath, KEY_SET_VALUE, key)) return status;
    return static_cast<std::uint32_t>(RegDeleteValueW(key.get(), Widen(valueName).c_str()));
}

std::uint32_t NativeStore::Set_Value(std::uint32_t root, std::string_view keyPath, std::string_view valueName,
                                     const RegistryValue& value) {
    unique_hkey key;
    if (const auto status = Open_Key(root, keyPath, KEY_SET_VALUE, key)) return status;
    const std::vector<std::uint8_t> data = Encode_Registry_Value(value);
    return static_cast<std::uint32_t>(RegSetValueExW(key.get(), Widen(valueName).c_str(), 0, value.type,
                                                     data.empty() ? nullptr : data.data(),
                                                     static_cast<DWORD>(data.size())));
}

}  // namespace corvane::remote::win32
