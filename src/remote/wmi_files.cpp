#include "remote/wmi_files.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <utility>

#include "base/runtime_error.h"
#include "base/text.h"
#include "remote/canonical_path.h"
#include "remote/folder_path.h"
#include "remote/wmi_results.h"

namespace corvane::remote {
namespace {

bool Any(wmi::IServices& cimv2, const std::string& query) {
    return !cimv2.ExecQuery(query, wmi::kReturnImmediately).empty();
}

bool Safe_File_Query(wmi::IServices& cimv2, std::string_view path) {
    return Any(cimv2, "Select name from CIM_Datafile where name='" + Wql_Escape(path) + "'");
}

bool Safe_Folder_Query(wmi::IServices& cimv2, std::string_view path) {
    return Any(cimv2, "Select Name from Win32_Directory Where name='" + Wql_Escape(Normalize_Folder_Path(path)) + "'");
}

enum class FastAnswer { Exists, Missing, Unknown };

// Whether "not found" through a remote drive's administrative share can be
// believed: a missing file and an unusable share look alike in a listing, so
// the share root itself must list (checked once per drive). Only fixed drives
// have such shares; a root that cannot be listed makes the rest of the
// computer's tests use the management service and logs one warning.
bool Share_Root_Trusted(TargetContext& context, std::string_view driveOfPath) {
    const std::string drive = Upper_Text(driveOfPath);
    if (std::ranges::find(context.checkedShares, drive) != context.checkedShares.end()) return true;
    if (!context.FixedDrives.empty() && !Is_Fixed_Drive(context, drive)) return false;
    if (context.Shares().Find(Share_Path(context.ComputerName, drive), kListEverything) != ListingResult::Found) {
        context.Distrust_Fast_Tests();
        context.Ports().reporter.Log_Event("Administrative share " + Share_Path(context.ComputerName, drive) +
                                               " cannot be listed; existence tests on " + context.ComputerName +
                                               " use WMI.",
                                           LOG_WARNING);
        return false;
    }
    context.checkedShares.push_back(drive);
    return true;
}

// The fast test: the local path itself on the local computer, the
// administrative share on a remote one. Unknown when the listing cannot be
// made, so that the caller asks the management service instead.
FastAnswer Fast_Test(TargetContext& context, std::string_view path, std::uint32_t mask) {
    IShareLister& shares = context.Shares();
    // Only paths that start with a drive letter have a share (or a local
    // folder) to look in; anything else is left to the management service.
    const bool hasDrive = path.size() >= 2 && path[1] == ':' &&
                          ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    if (!hasDrive) return FastAnswer::Unknown;
    if (!context.IsRemote) {
        std::string local(path);
        if (local.size() < 3) local += '\\';
        switch (shares.Find(local, mask)) {
            case ListingResult::Found: return FastAnswer::Exists;
            case ListingResult::NotFound: return FastAnswer::Missing;
            case ListingResult::Unavailable: return FastAnswer::Unknown;
        }
    }
    if (!context.Fast_Tests_Trusted()) return FastAnswer::Unknown;
    const ListingResult result = shares.Find(Share_Path(context.ComputerName, path), mask);
    if (result == ListingResult::Found) return FastAnswer::Exists;
    if (!Share_Root_Trusted(context, path.substr(0, 2))) return FastAnswer::Unknown;
    return result == ListingResult::NotFound ? FastAnswer::Missing : FastAnswer::Unknown;
}

}  // namespace

std::string Wql_Backslashes(std::string_view text) { return Replace_All(text, "\\", "\\\\"); }

std::string Wql_Escape(std::string_view text) { return Replace_All(Wql_Backslashes(text), "'", "\\'"); }

std::string Share_Path(std::string_view computerName, std::string_view path) {
    const std::string shared = Replace_All(path, ":", path.size() < 3 ? "$\\" : "$");
    return "\\\\" + std::string(computerName) + "\\" + shared;
}

namespace {

// An error about the one entry: a refused access, or any other Win32 error
// of the file system (a path too long, a sharing violation). The lost
// connection's codes are Win32 codes too, but concern the whole computer.
bool Cannot_Tell(std::int32_t number) {
    if (Is_Connection_Error(number)) return false;
    const auto code = static_cast<std::uint32_t>(number);
    return Is_Access_Denied_Error(number) || (code & 0xFFFF0000u) == 0x80070000u;
}

// The management service's answer to one existence query. An error about the
// entry cannot tell; every other failure is raised again (contract in the header).
Existence Query_Existence(TargetContext& context, const std::function<bool()>& query) {
    try {
        return query() ? Existence::Exists : Existence::Missing;
    } catch (const RuntimeError& error) {
        if (!Cannot_Tell(error.Number())) throw RuntimeError(error.Number(), error.Description());
        context.Note_Undecided(error.Text());
        return Existence::Unknown;
    }
}

bool Exists_Or_Undecided(Existence answer) { return answer != Existence::Missing; }

// The scan's listing of a folder through the share or the local folder (fast
// mode). Only a listing that worked is kept, and a remote folder the share
// does not show counts as missing only while the share root is trusted.
void Fast_Listing(TargetContext& context, const std::string& folder, FolderListings::Listing& listing) {
    if (context.SafeScan || (context.IsRemote && !context.Fast_Tests_Trusted())) return;
    std::vector<ListedEntry> entries;
    IShareLister& shares = context.Shares();
    const ListingResult result = context.IsRemote
                                     ? shares.List_Folder(Share_Path(context.ComputerName, folder), entries, false)
                                     : shares.List_Folder(folder, entries, false);
    if (context.IsRemote && result != ListingResult::Found && !Share_Root_Trusted(context, folder.substr(0, 2))) return;
    if (result == ListingResult::Unavailable) return;
    for (const ListedEntry& entry : entries) {
        // As the fast test of one name: a folder test takes any entry.
        FolderListings::Entry& listed = listing.names[Upper_Text(entry.name)];
        listed.file = listed.file || !entry.isFolder;
        listed.folder = true;
    }
    listing.files.listed = true;
    listing.folders.listed = true;
}

// One Drive-and-Path query of the files or the folders of a folder.
void Query_Listing(wmi::IServices& cimv2, const std::string& folder, bool folders, FolderListings::Listing& listing) {
    const std::string query = std::string("Select Name From ") + (folders ? "Win32_Directory" : "CIM_Datafile") +
                              " Where " + Wql_Folder_Condition(folder);
    FolderListings::Kind& kind = folders ? listing.folders : listing.files;
    try {
        for (const auto& object : cimv2.ExecQuery(query, wmi::kReturnImmediately)) {
            const std::string name = object->Get("Name").As_String();
            FolderListings::Entry& listed = listing.names[Upper_Text(name.substr(name.find_last_of('\\') + 1))];
            (folders ? listed.folder : listed.file) = true;
        }
    } catch (const RuntimeError& error) {
        if (!Cannot_Tell(error.Number())) throw RuntimeError(error.Number(), error.Description());
        kind.failed = true;
        kind.error = error.Text();
    }
    kind.listed = true;
}

// The answer from the listing of the path's folder, made on first use; none
// when the scan keeps no listings or the path has no folder to list.
std::optional<Existence> Listed_Existence(TargetContext& context, wmi::IServices& cimv2, std::string_view path,
                                          bool folder) {
    const std::size_t slash = path.find_last_of('\\');
    if (!context.listings.Enabled() || path.size() < 4 || path[1] != ':' || slash == std::string_view::npos ||
        slash < 2 || slash + 1 == path.size()) {
        return std::nullopt;
    }
    const std::string parent(path.substr(0, slash + 1));
    FolderListings::Listing& listing = context.listings.Of(parent);
    if (!listing.files.listed && !listing.folders.listed) Fast_Listing(context, parent, listing);
    const FolderListings::Kind& kind = folder ? listing.folders : listing.files;
    if (!kind.listed) Query_Listing(cimv2, parent, folder, listing);
    if (kind.failed) {
        context.Note_Undecided(kind.error);
        return Existence::Unknown;
    }
    const auto found = listing.names.find(Upper_Text(path.substr(slash + 1)));
    const bool present = found != listing.names.end() && (folder ? found->second.folder : found->second.file);
    return present ? Existence::Exists : Existence::Missing;
}

// WMI matches long names only: a path with a short (8.3) name is asked of
// the computer's file system (the local path, or the administrative share),
// which resolves it. What that cannot answer stays undecided, never missing.
Existence Short_Name_Existence(TargetContext& context, std::string_view path, std::uint32_t mask) {
    switch (Fast_Test(context, path, mask)) {
        case FastAnswer::Exists: return Existence::Exists;
        case FastAnswer::Missing: return Existence::Missing;
        case FastAnswer::Unknown: break;
    }
    context.Note_Undecided(std::string(path) + ": a short name only the computer's file system can resolve");
    return Existence::Unknown;
}

}  // namespace

Existence Test_File_Existence(TargetContext& context, wmi::IServices& cimv2, std::string_view path) {
    if (context.AddressWidth >= 33 && Lower_Ascii(path).find("program files") != std::string::npos) {
        return Existence::Exists;
    }
    if (path.size() > 3 && path.back() == '\\') return Test_Folder_Existence(context, cimv2, path);
    if (Has_Short_Name_Mark(path)) return Short_Name_Existence(context, path, kListFiles);
    if (const auto listed = Listed_Existence(context, cimv2, path, false)) return *listed;
    if (!context.SafeScan) {
        const FastAnswer answer = Fast_Test(context, path, kListFiles);
        if (answer == FastAnswer::Exists) return Existence::Exists;
        if (answer == FastAnswer::Missing) return Existence::Missing;
    }
    return Query_Existence(context, [&] { return Safe_File_Query(cimv2, path); });
}

Existence Test_Folder_Existence(TargetContext& context, wmi::IServices& cimv2, std::string_view path) {
    const std::string named = Normalize_Folder_Path(path);
    if (Has_Short_Name_Mark(named)) return Short_Name_Existence(context, named, kListEverything);
    if (const auto listed = Listed_Existence(context, cimv2, named, true)) return *listed;
    if (!context.SafeScan) {
        const FastAnswer answer = Fast_Test(context, path, kListEverything);
        if (answer == FastAnswer::Exists) return Existence::Exists;
        if (answer == FastAnswer::Missing) return Existence::Missing;
    }
    return Query_Existence(context, [&] { return Safe_Folder_Query(cimv2, path); });
}

bool Remote_File_Exists(TargetContext& context, wmi::IServices& cimv2, std::string_view path) {
    return Exists_Or_Undecided(Test_File_Existence(context, cimv2, path));
}

bool Remote_Folder_Exists(TargetContext& context, wmi::IServices& cimv2, std::string_view path) {
    return Exists_Or_Undecided(Test_Folder_Existence(context, cimv2, path));
}

bool Is_Fixed_Drive(const TargetContext& context, std::string_view name) {
    return std::ranges::find(context.FixedDrives, Upper_Text(name)) != context.FixedDrives.end();
}

namespace {

// Runs a method on every object of the query; nullopt when nothing matched,
// else the last return code.
std::optional<std::int32_t> Run_On_Each(wmi::IServices& cimv2, const std::string& query, std::string_view method,
                                        const wmi::PropertyBag& in) {
    std::optional<std::int32_t> code;
    for (const auto& object : cimv2.ExecQuery(query, wmi::kReturnImmediately)) {
        code = Return_Code(object->Exec_Method(method, in));
    }
    return code;
}

}  // namespace

std::string Wql_Folder_Condition(std::string_view folder) {
    std::string rest(folder.size() > 2 ? folder.substr(2) : std::string_view());
    if (rest.empty() || rest.back() != '\\') rest += '\\';
    return "Drive='" + std::string(folder.substr(0, 2)) + "' And Path='" + Wql_Escape(rest) + "'";
}

std::string_view Database_Of_Companion(std::string_view name) {
    for (const std::string_view suffix : kDatabaseCompanionSuffixes) {
        if (name.size() > suffix.size() && Lower_Ascii(name.substr(name.size() - suffix.size())) == suffix) {
            return name.substr(0, name.size() - suffix.size());
        }
    }
    return {};
}

std::vector<std::string> WMI_Database_Companions(wmi::IServices& cimv2, std::string_view path) {
    const std::size_t slash = path.find_last_of('\\');
    if (slash == std::string_view::npos) return {};
    std::string names;
    for (const std::string_view suffix : kDatabaseCompanionSuffixes) {
        names += (names.empty() ? "Name='" : " OR Name='") + Wql_Escape(std::string(path) + std::string(suffix)) + "'";
    }
    std::vector<std::string> companions;
    for (const auto& file :
         cimv2.ExecQuery("Select Name From CIM_DataFile Where " + Wql_Folder_Condition(path.substr(0, slash + 1)) +
                             " And (" + names + ")",
                         wmi::kForwardOnlyReturnImmediately)) {
        companions.push_back(file->Get("Name").As_String());
    }
    return companions;
}

bool WMI_Delete_File(wmi::IServices& cimv2, std::string_view path, std::int32_t& returnCode) {
    try {
        const auto code =
            Run_On_Each(cimv2, "Select * from CIM_DataFile where Name='" + Wql_Escape(path) + "'", "Delete", {});
        if (!code) return true;
        returnCode = *code;
        return Return_Code_Succeeded(returnCode);
    } catch (const RuntimeError&) {
        return false;
    }
}

bool WMI_Rename_File(wmi::IServices& cimv2, std::string_view folder, std::string_view currentName,
                     std::string_view newName) {
    try {
        wmi::PropertyBag in;
        in["FileName"] = wmi::Variant(Wql_Backslashes(folder) + std::string(newName));
        const std::string path = std::string(folder) + std::string(currentName);
        const auto code =
            Run_On_Each(cimv2, "Select * from CIM_DataFile where Name='" + Wql_Escape(path) + "'", "Rename", in);
        return code && Return_Code_Succeeded(*code);
    } catch (const RuntimeError&) {
        return false;
    }
}

bool WMI_Compress_File(wmi::IServices& cimv2, std::string_view path) {
    try {
        const auto code =
            Run_On_Each(cimv2, "Select * from CIM_DataFile where Name='" + Wql_Escape(path) + "'", "Compress", {});
        return code && Return_Code_Succeeded(*code);
    } catch (const RuntimeError&) {
        return false;
    }
}

bool WMI_Get_Windows_Directory(wmi::IServices& cimv2, std::string& directory) {
    try {
        for (const auto& object :
             cimv2.ExecQuery("Select WindowsDirectory FROM Win32_OperatingSystem", wmi::kReturnImmediately)) {
            directory = object->Get("WindowsDirectory").As_String();
        }
        return true;
    } catch (const RuntimeError&) {
        return false;
    }
}

std::string WMI_Return_Code_Text(std::int32_t code) {
    switch (code) {
        case -1: return "Other Errors";
        case 2: return "Access denied";
        case 8: return "Unspecified Failure";
        case 9: return "Invalid Object";
        case 10: return "Object Already Exists";
        case 11: return "File System Not NTFS";
        case 12: return "Platform Not WindowsNT Or Windows2000";
        case 13: return "Drive Not The Same";
        case 14: return "Directory Not Empty";
        case 15: return "Sharing Violation";
        case 16: return "Invalid Start File";
        case 17: return "Privilege Not Held";
        case 21: return "Invalid parameter";
        default: return {};
    }
}

}  // namespace corvane::remote
