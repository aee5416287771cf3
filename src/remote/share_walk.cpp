#include "remote/share_walk.h"

#include "base/text.h"
#include "remote/canonical_path.h"
#include "remote/listed_identity.h"
#include "remote/local_system.h"
#include "remote/provider.h"
#include "remote/wmi_errors.h"
#include "remote/wmi_files.h"

namespace corvane::remote {
namespace {

wmi::PropertyBag Properties_Of(IShell* shell, std::string_view folder, const ListedEntry& entry) {
    const std::string name = Lower_Ascii(std::string(folder) + (folder.ends_with('\\') ? "" : "\\") + entry.name);
    const std::string leaf = Lower_Ascii(entry.name);
    const std::size_t dot = leaf.find_last_of('.');
    const std::string extension = dot == std::string::npos ? std::string() : leaf.substr(dot + 1);
    wmi::PropertyBag properties;
    properties["Name"] = wmi::Variant(name);
    properties["Caption"] = wmi::Variant(name);
    properties["Drive"] = wmi::Variant(name.substr(0, 2));
    properties["FileName"] = wmi::Variant(dot == std::string::npos ? leaf : leaf.substr(0, dot));
    properties["Extension"] = wmi::Variant(extension);
    if (entry.isFolder) {
        properties["FileType"] = wmi::Variant(std::string("File Folder"));
    } else {
        properties["FileType"] =
            wmi::Variant(shell != nullptr ? shell->File_Type_Name(extension) : Unregistered_File_Type_Name(extension));
        properties["FileSize"] = wmi::Variant(std::to_string(entry.size));
    }
    return properties;
}

bool Holds(const wql::Condition* condition, const wmi::PropertyBag& properties) {
    if (condition == nullptr) return true;
    return wql::Evaluate_Condition(*condition, [&](std::string_view property) -> std::optional<wmi::Variant> {
        const auto found = properties.find(property);
        if (found == properties.end()) return std::nullopt;
        return found->second;
    });
}

}  // namespace

std::vector<std::string> Components_From(std::string_view startFolder, std::string_view path) {
    while (startFolder.size() > 3 && startFolder.ends_with('\\')) startFolder.remove_suffix(1);
    while (path.size() > 3 && path.ends_with('\\')) path.remove_suffix(1);
    std::vector<std::string> components;
    if (startFolder.empty() || !Is_At_Or_Below(path, startFolder)) return components;
    components.emplace_back(path.substr(0, startFolder.size()));
    for (std::size_t slash = path.find('\\', startFolder.size() + 1); slash != std::string_view::npos;
         slash = path.find('\\', slash + 1)) {
        components.emplace_back(path.substr(0, slash));
    }
    if (path.size() > startFolder.size()) components.emplace_back(path);
    return components;
}

WayCheck Check_Way(IShareLister& lister, std::string_view startFolder, std::string_view path) {
    const std::vector<std::string> components = Components_From(startFolder, path);
    if (components.empty()) return WayCheck::Unknown;
    for (const std::string& component : components) {
        ListedEntry entry;
        switch (lister.Entry_Of(component, entry)) {
            case ListingResult::Found: break;
            case ListingResult::NotFound: return WayCheck::Missing;
            case ListingResult::Unavailable: return WayCheck::Unknown;
        }
        if (entry.Is_Reparse_Point()) return WayCheck::ReparsePoint;
    }
    return WayCheck::Plain;
}

DeleteResult Delete_File_Item(const TargetContext& context, const FileItem& item) {
    IShareLister& lister = context.Shares();
    if (!context.IsRemote) return lister.Delete_Checked(item.path, item.startFolder, item.identity);
    return lister.Delete_Checked(Share_Path(context.ComputerName, item.path),
                                 Share_Path(context.ComputerName, item.startFolder), item.identity);
}

FileIdentity Present_Identity(const TargetContext& context, std::string_view path) {
    ListedEntry entry;
    const std::string viewed = context.IsRemote ? Share_Path(context.ComputerName, path) : std::string(path);
    if (context.Shares().Entry_Of(viewed, entry) != ListingResult::Found || entry.Is_Reparse_Point()) return {};
    return entry.identity;
}

std::string Share_Reparse_Refusal(IShareLister& lister, std::string_view computerName, std::string_view canonicalPath) {
    const std::size_t first = canonicalPath.find('\\', 3);
    const std::string_view top = canonicalPath.substr(0, first);
    switch (Check_Way(lister, Share_Path(computerName, top), Share_Path(computerName, canonicalPath))) {
        case WayCheck::ReparsePoint: return kReparsePointOnTheWay;
        case WayCheck::Unknown: return "the administrative share cannot be listed";
        case WayCheck::Plain:
        case WayCheck::Missing: break;
    }
    return {};
}

std::optional<std::string> Share_Long_Path(IShareLister& lister, std::string_view computerName,
                                           std::string_view canonicalPath) {
    if (canonicalPath.size() < 3) return std::nullopt;
    std::string longPath(canonicalPath.substr(0, 2));
    std::size_t start = 3;
    while (start < canonicalPath.size()) {
        const std::size_t slash = canonicalPath.find('\\', start);
        const std::string_view part =
            canonicalPath.substr(start, slash == std::string_view::npos ? slash : slash - start);
        ListedEntry entry;
        if (lister.Entry_Of(Share_Path(computerName, longPath + "\\" + std::string(part)), entry) !=
                ListingResult::Found ||
            entry.name.empty()) {
            return std::nullopt;
        }
        longPath += "\\" + entry.name;
        if (slash == std::string_view::npos) break;
        start = slash + 1;
    }
    return longPath.size() == 2 ? longPath + "\\" : longPath;
}

std::string Long_Form(const TargetContext& context, std::string_view canonicalPath) {
    if (!Has_Short_Name_Mark(canonicalPath)) return std::string(canonicalPath);
    const auto longPath = context.IsRemote ? Share_Long_Path(context.Shares(), context.ComputerName, canonicalPath)
                                           : context.Ports().localSystem.Long_Path(canonicalPath);
    if (!longPath) return {};
    const auto again = Canonical_Path(*longPath);
    return again ? *again : std::string();
}

ListingResult List_Share_Folder(IShareLister& lister, IShell* shell, std::string_view computerName,
                                std::string_view folder, const wql::Condition* folderCondition,
                                const wql::Condition* fileCondition, ShareFolder& listed) {
    std::string sharePath = Share_Path(computerName, folder);
    if (!sharePath.ends_with('\\')) sharePath += '\\';
    std::vector<ListedEntry> entries;
    const ListingResult result = lister.List_Folder(sharePath, entries, true);
    if (result != ListingResult::Found) return result;
    for (const ListedEntry& entry : entries) {
        // A junction or link leads into another folder: neither listed nor entered.
        if (entry.Is_Reparse_Point()) continue;
        wmi::PropertyBag properties = Properties_Of(shell, folder, entry);
        if (!Holds(entry.isFolder ? folderCondition : fileCondition, properties)) continue;
        Add_Identity(entry.identity, properties);
        (entry.isFolder ? listed.folders : listed.files).push_back(Embedded_Object(std::move(properties)).As_Object());
    }
    return ListingResult::Found;
}

std::string Delete_Outcome_Text(const DeleteResult& result) {
    switch (result.outcome) {
        case DeleteOutcome::Deleted: return "deleted";
        case DeleteOutcome::Gone: return "already gone";
        case DeleteOutcome::IdentityDiffers: return "another file has its name now";
        case DeleteOutcome::ReparsePoint: return "a reparse point on the way";
        case DeleteOutcome::NotEmpty: return "folder not empty";
        case DeleteOutcome::OutsideStart: return "not below the folder it was found in";
        case DeleteOutcome::Error: return "error " + std::to_string(result.code);
    }
    return "error";
}

}  // namespace corvane::remote
