#include "remote/wmi_security.h"

#include "base/runtime_error.h"
#include "base/text.h"
#include "remote/wmi_results.h"

namespace corvane::remote {
namespace {

constexpr std::uint32_t kAceDenied = 1;

std::uint32_t Unsigned(const wmi::Variant& value) { return static_cast<std::uint32_t>(value.As_Int64()); }

// An object path keeps "\" and quotation marks of the key escaped.
std::string Object_Path_Text(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out;
}

}  // namespace

std::optional<FileSecurity> WMI_Get_File_Security(wmi::IServices& cimv2, std::string_view path) {
    try {
        const wmi::ObjectPtr setting =
            cimv2.Get("Win32_LogicalFileSecuritySetting.Path=\"" + Object_Path_Text(path) + "\"");
        const wmi::PropertyBag out = setting->Exec_Method("GetSecurityDescriptor", {});
        if (Return_Code(out) != 0) return std::nullopt;
        const auto descriptor = out.find("Descriptor");
        if (descriptor == out.end() || !descriptor->second.As_Object()) return std::nullopt;
        const wmi::ObjectPtr object = descriptor->second.As_Object();
        FileSecurity security;
        security.controlFlags = Unsigned(object->Get("ControlFlags"));
        const wmi::Variant dacl = object->Get("DACL");
        if (dacl.Is_Empty()) {
            security.controlFlags &= ~kSecurityDaclPresent;
            return security;
        }
        if (!dacl.Is_Array()) return std::nullopt;
        for (const wmi::Variant& item : dacl.As_Array()) {
            const wmi::ObjectPtr ace = item.As_Object();
            if (!ace) return std::nullopt;
            AccessEntry entry;
            entry.accessMask = Unsigned(ace->Get("AccessMask"));
            entry.aceType = Unsigned(ace->Get("AceType"));
            entry.aceFlags = Unsigned(ace->Get("AceFlags"));
            const wmi::ObjectPtr trustee = ace->Get("Trustee").As_Object();
            entry.sid = trustee ? trustee->Get("SIDString").As_String() : std::string();
            security.dacl.push_back(std::move(entry));
        }
        return security;
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
}

std::string Access_Beyond_Administrators(const FileSecurity& security) {
    if ((security.controlFlags & kSecurityDaclPresent) == 0) return "no access list: everyone has full access";
    // An empty list grants nobody, yet it is also what a list read wrongly
    // looks like; the restricted folder always names its two accounts.
    if (security.dacl.empty()) return "its access list is empty";
    for (const AccessEntry& entry : security.dacl) {
        if (entry.aceType == kAceDenied) continue;
        const bool administrators =
            entry.aceType == kAceAllowed &&
            (Equals_Ignore_Case(entry.sid, kAdministratorsSid) || Equals_Ignore_Case(entry.sid, kSystemSid));
        if (!administrators)
            return "it grants access to " + (entry.sid.empty() ? std::string("an unknown trustee") : entry.sid);
    }
    return {};
}

}  // namespace corvane::remote
