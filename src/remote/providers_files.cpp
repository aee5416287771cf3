// CIM_DataFile, Win32_Directory, Win32_ShortcutFile and
// Win32_LogicalFileSecuritySetting (root\cimv2). As on a
// real computer, Name, Drive, Path, FileName and Extension come back in lower
// case. A query whose WHERE requires a Name, or a Drive and a Path, reads only
// that entry or that one folder from the store.
#include "base/text.h"
#include "remote/listed_identity.h"
#include "remote/provider.h"
#include "remote/wmi_datetime.h"
#include "remote/wmi_errors.h"

namespace corvane::remote {
namespace {

using wmi::Variant;

enum class Kind { File, Folder, Shortcut };

// HRESULT_FROM_WIN32 of a store's status.
constexpr std::uint32_t kWin32ErrorFacility = 0x80070000u;

bool Is_Shortcut(const FileEntry& entry) {
    const std::string lower = Lower_Ascii(entry.path);
    return lower.size() > 4 && lower.compare(lower.size() - 4, 4, ".lnk") == 0;
}

bool Fits(const FileEntry& entry, Kind kind) {
    switch (kind) {
        case Kind::File: return !entry.isFolder;
        case Kind::Folder: return entry.isFolder;
        case Kind::Shortcut: return !entry.isFolder && Is_Shortcut(entry);
    }
    return false;
}

Instance Make_Instance(IFileStore& store, const FileEntry& entry, Kind kind) {
    const std::string name = Lower_Ascii(entry.path);
    std::string drive = name.size() >= 2 ? name.substr(0, 2) : name;
    std::string path = "\\";
    std::string leaf;
    const std::size_t lastSlash = name.find_last_of('\\');
    if (lastSlash != std::string::npos && lastSlash + 1 < name.size()) {
        path = name.substr(2, lastSlash - 1);
        leaf = name.substr(lastSlash + 1);
    }
    std::string fileName = leaf;
    std::string extension;
    const std::size_t dot = leaf.find_last_of('.');
    if (dot != std::string::npos) {
        fileName = leaf.substr(0, dot);
        extension = leaf.substr(dot + 1);
    }
    Instance row;
    row.key = entry.path;
    row.values["Name"] = Variant(name);
    row.values["Caption"] = Variant(name);
    row.values["Drive"] = Variant(drive);
    row.values["Path"] = Variant(path);
    row.values["FileName"] = Variant(fileName);
    row.values["Extension"] = Variant(extension);
    row.values["FileType"] = Variant(entry.fileType);
    row.values["CreationDate"] = Variant(Format_Wmi_Date_Time(entry.created));
    if (kind != Kind::Folder) {
        // 64-bit numbers reach scripts as text.
        row.values["FileSize"] = Variant(std::to_string(entry.size));
    }
    Add_Identity(entry.identity, row.values);
    if (kind == Kind::Shortcut) row.values["Target"] = Variant(store.Shortcut_Target(entry.path));
    return row;
}

FillStatus Fill_Entries(IFileStore& store, const wql::Condition* where, std::vector<Instance>& out, Kind kind) {
    if (const Variant* name = wql::Required_Equality(where, "Name")) {
        if (const auto entry = store.Find_Entry(name->As_String()); entry && Fits(*entry, kind)) {
            out.push_back(Make_Instance(store, *entry, kind));
        }
        return FillStatus::Filtered;
    }
    const Variant* drive = wql::Required_Equality(where, "Drive");
    const Variant* path = wql::Required_Equality(where, "Path");
    if (drive != nullptr && path != nullptr) {
        const std::string folder = drive->As_String() + path->As_String();
        // A junction or link is never listed through: it would show (and
        // let the program delete) the content of another folder or drive.
        if (const auto self = store.Find_Entry(folder); self && self->isReparsePoint) return FillStatus::Filtered;
        std::vector<FileEntry> entries;
        const std::uint32_t status = store.List_Folder(folder, entries);
        if (status != kStatusOk && status != kStatusNotFound && status != kStatusPathNotFound) {
            // A folder that cannot be listed is never taken for an empty one.
            wmi::Raise_Hresult(kWin32ErrorFacility | status);
        }
        for (const FileEntry& entry : entries) {
            if (!entry.isReparsePoint && Fits(entry, kind)) out.push_back(Make_Instance(store, entry, kind));
        }
        return FillStatus::Filtered;
    }
    for (const FileEntry& entry : store.All_Entries(kind == Kind::Folder)) {
        if (!entry.isReparsePoint && Fits(entry, kind)) out.push_back(Make_Instance(store, entry, kind));
    }
    return FillStatus::Unfiltered;
}

FillStatus Fill_Files(IFileStore& store, const wql::Condition* where, std::vector<Instance>& out) {
    return Fill_Entries(store, where, out, Kind::File);
}
FillStatus Fill_Folders(IFileStore& store, const wql::Condition* where, std::vector<Instance>& out) {
    return Fill_Entries(store, where, out, Kind::Folder);
}
FillStatus Fill_Shortcuts(IFileStore& store, const wql::Condition* where, std::vector<Instance>& out) {
    return Fill_Entries(store, where, out, Kind::Shortcut);
}

wmi::PropertyBag Run_Delete_File(IFileStore& store, const Instance* instance, const wmi::PropertyBag&) {
    return Return_Value(File_Method_Code(store.Delete_File(instance->key)));
}
wmi::PropertyBag Run_Delete_Folder(IFileStore& store, const Instance* instance, const wmi::PropertyBag&) {
    return Return_Value(File_Method_Code(store.Delete_Folder(instance->key)));
}
wmi::PropertyBag Run_Rename(IFileStore& store, const Instance* instance, const wmi::PropertyBag& in) {
    const std::string newName = In_Parameter(in, "FileName").As_String();
    if (newName.empty()) return Return_Value(21);
    return Return_Value(File_Method_Code(store.Rename_File(instance->key, newName)));
}
wmi::PropertyBag Run_Compress(IFileStore& store, const Instance* instance, const wmi::PropertyBag&) {
    return Return_Value(File_Method_Code(store.Compress_File(instance->key)));
}

// Win32_LogicalFileSecuritySetting cannot be listed: an instance exists only
// for a path asked for by name (its object path), and only when the file or
// folder is there.
FillStatus Fill_Security_Settings(IFileStore& store, const wql::Condition* where, std::vector<Instance>& out) {
    const Variant* path = wql::Required_Equality(where, "Path");
    if (path == nullptr) return FillStatus::Filtered;
    const auto entry = store.Find_Entry(path->As_String());
    if (!entry) return FillStatus::Filtered;
    Instance row;
    row.key = entry->path;
    row.values["Path"] = Variant(path->As_String());
    row.values["Caption"] = Variant("Security settings of " + path->As_String());
    out.push_back(std::move(row));
    return FillStatus::Filtered;
}

Variant Trustee_Object(const std::string& sid) {
    wmi::PropertyBag trustee;
    trustee["SIDString"] = Variant(sid);
    trustee["Name"] = Variant::Null();
    trustee["Domain"] = Variant::Null();
    return Embedded_Object(std::move(trustee));
}

// Win32_SecurityDescriptor with its DACL of Win32_ACE objects, each naming
// its trustee by SIDString; no DACL at all (Null) when the object has none.
wmi::PropertyBag Run_Get_Security_Descriptor(IFileStore& store, const Instance* instance, const wmi::PropertyBag&) {
    FileSecurity security;
    const std::uint32_t status = store.Get_Security(instance->key, security);
    if (status != kStatusOk) return Return_Value(status == kStatusAccessDenied ? 2 : 8);
    wmi::PropertyBag descriptor;
    descriptor["ControlFlags"] = Variant(security.controlFlags);
    descriptor["Owner"] = security.ownerSid.empty() ? Variant::Null() : Trustee_Object(security.ownerSid);
    if ((security.controlFlags & kSecurityDaclPresent) != 0) {
        std::vector<Variant> aces;
        for (const AccessEntry& entry : security.dacl) {
            wmi::PropertyBag ace;
            ace["AccessMask"] = Variant(entry.accessMask);
            ace["AceType"] = Variant(entry.aceType);
            ace["AceFlags"] = Variant(entry.aceFlags);
            ace["Trustee"] = Trustee_Object(entry.sid);
            aces.push_back(Embedded_Object(std::move(ace)));
        }
        descriptor["DACL"] = Variant(std::move(aces));
    } else {
        descriptor["DACL"] = Variant::Null();
    }
    wmi::PropertyBag out = Return_Value(0);
    out["Descriptor"] = Embedded_Object(std::move(descriptor));
    return out;
}

std::vector<PropertyDecl> Entry_Properties(Kind kind) {
    std::vector<PropertyDecl> properties = {
        {"Name", PropertyType::Text},     {"Caption", PropertyType::Text},
        {"Drive", PropertyType::Text},    {"Path", PropertyType::Text},
        {"FileName", PropertyType::Text}, {"Extension", PropertyType::Text},
        {"FileType", PropertyType::Text}, {"CreationDate", PropertyType::DateTimeText}};
    if (kind != Kind::Folder) properties.push_back({"FileSize", PropertyType::UInt64Text});
    if (kind == Kind::Shortcut) properties.push_back({"Target", PropertyType::Text});
    return properties;
}

}  // namespace

std::vector<ClassDescriptor> File_Class_Descriptors() {
    std::vector<ClassDescriptor> classes;
    classes.push_back({"CIM_DataFile",
                       "cimv2",
                       Entry_Properties(Kind::File),
                       &Fill_From<&Fill_Files>,
                       {{"Delete", false, {}, &Run_On<&Run_Delete_File>},
                        {"Rename", false, {"FileName"}, &Run_On<&Run_Rename>},
                        {"Compress", false, {}, &Run_On<&Run_Compress>}},
                       nullptr});
    classes.push_back({"Win32_Directory",
                       "cimv2",
                       Entry_Properties(Kind::Folder),
                       &Fill_From<&Fill_Folders>,
                       {{"Delete", false, {}, &Run_On<&Run_Delete_Folder>},
                        {"Rename", false, {"FileName"}, &Run_On<&Run_Rename>},
                        {"Compress", false, {}, &Run_On<&Run_Compress>}},
                       nullptr});
    classes.push_back({"Win32_ShortcutFile",
                       "cimv2",
                       Entry_Properties(Kind::Shortcut),
                       &Fill_From<&Fill_Shortcuts>,
                       {{"Delete", false, {}, &Run_On<&Run_Delete_File>}},
                       nullptr});
    classes.push_back({"Win32_LogicalFileSecuritySetting",
                       "cimv2",
                       {{"Path", PropertyType::Text}, {"Caption", PropertyType::Text}},
                       &Fill_From<&Fill_Security_Settings>,
                       {{"GetSecurityDescriptor", false, {}, &Run_On<&Run_Get_Security_Descriptor>}},
                       nullptr});
    return classes;
}

}  // namespace corvane::remote
