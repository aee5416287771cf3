#include "scan/folder_walker.h"

#include <cmath>
#include <cstdio>
#include <map>
#include <vector>

#include "base/log.h"
#include "base/reporter.h"
#include "base/runtime_error.h"
#include "base/text.h"
#include "base/ui/progress_events.h"
#include "remote/share_walk.h"
#include "remote/wmi_errors.h"
#include "remote/wmi_files.h"
#include "remote/wql.h"
#include "scan/closed_folders.h"
#include "scan/scan_control.h"
#include "scan/scan_target.h"

namespace corvane::scan {

namespace {

// value with two decimals, halves rounded away from zero as the format
// pattern "0.00" does ("%.2f" would round 1.125 down).
std::string Two_Decimals(double value) {
    const double hundredths = std::round(value * 100.0);
    char text[64] = {};
    std::snprintf(text, sizeof(text), "%.0f.%02.0f", std::floor(hundredths / 100.0), std::fmod(hundredths, 100.0));
    return text;
}

std::string Whole_Number(double value) {
    char text[64] = {};
    std::snprintf(text, sizeof(text), "%.0f", value);
    return text;
}

// Errors that concern one folder only: the computer answered, but would not
// or could not list that folder. Everything else (RPC and connection
// failures, a query the service rejects) ends the category.
bool Is_Folder_Refusal(std::int32_t number) {
    constexpr std::uint32_t kWin32Facility = 0x80070000u;
    for (const std::uint32_t code : {5u, 32u, 123u, 161u, 206u, 1920u, 1921u}) {
        if (number == Hresult_Number(kWin32Facility | code)) return true;
    }
    return number == Hresult_Number(wmi::hresult::kWbemAccessDenied);
}

struct Listing {
    std::vector<wmi::ObjectPtr> folders;
    std::vector<wmi::ObjectPtr> files;
};

std::string Text_Of(const wmi::IObject& object, std::string_view property) { return object.Get(property).As_String(); }

double Size_Of(const wmi::IObject& object) {
    const wmi::Variant size = object.Get("FileSize");
    if (size.Is_Empty()) return 0;
    // 64-bit numbers come as text from the scripting layer.
    try {
        return std::stod(size.As_String());
    } catch (const std::exception&) {
        return 0;
    }
}

// A file with the companions listed beside it: a database with its journal
// and log files, which are deleted with it or not at all.
struct FileGroup {
    const wmi::IObject* file = nullptr;
    std::vector<const wmi::IObject*> companions;
};

// The folder's files as rows: each companion joins its database. One whose
// database is not listed stands alone only when the listing was not
// filtered; in a filtered listing its database may be there unlisted, and
// a companion never goes without its database.
std::vector<FileGroup> Group_Files(const std::vector<wmi::ObjectPtr>& files, bool filtered) {
    std::map<std::string, std::size_t> byName;  // upper-cased name -> index of its group
    std::vector<FileGroup> groups;
    std::vector<const wmi::IObject*> companions;
    for (const wmi::ObjectPtr& file : files) {
        const std::string name = Text_Of(*file, "Name");
        if (!remote::Database_Of_Companion(name).empty()) {
            companions.push_back(file.get());
            continue;
        }
        byName.emplace(Upper_Text(name), groups.size());
        groups.push_back({file.get(), {}});
    }
    for (const wmi::IObject* companion : companions) {
        const auto database = byName.find(Upper_Text(remote::Database_Of_Companion(Text_Of(*companion, "Name"))));
        if (database != byName.end()) {
            groups[database->second].companions.push_back(companion);
        } else if (!filtered) {
            groups.push_back({companion, {}});
        }
    }
    return groups;
}

// A listing's condition as the query engine reads it; no condition for "".
wql::Query Parse_Condition(std::string_view condition) {
    if (condition.empty()) return {};
    return wql::Parse_Query("Select * From CIM_DataFile Where " + std::string(condition));
}

}  // namespace

std::string Format_File_Size(double size, bool withBytes) {
    constexpr double kKilo = 1024.0;
    std::string text;
    if (size < kKilo) return Whole_Number(size) + " bytes";
    if (size < kKilo * kKilo) {
        text = Two_Decimals(size / kKilo) + " KB";
    } else if (size < kKilo * kKilo * kKilo) {
        text = Two_Decimals(size / (kKilo * kKilo)) + " MB";
    } else {
        text = Two_Decimals(size / (kKilo * kKilo * kKilo)) + " GB";
    }
    if (withBytes) text += " (" + Whole_Number(size) + " bytes)";
    return text;
}

WqlFolder Wql_Folder(std::string_view folder) {
    WqlFolder result{std::string(folder.substr(0, 2)), {}};
    for (const char c : folder.size() > 2 ? folder.substr(2) : std::string_view()) {
        if (c == '\\') {
            result.path += "\\\\";
        } else if (c == '\'') {
            result.path += "\\'";
        } else {
            result.path += c;
        }
    }
    // "C:\Temp\" names the same folder as "C:\Temp".
    if (!result.path.ends_with("\\\\")) result.path += "\\\\";
    return result;
}

bool FolderWalker::Scan_Folder(std::string_view path, const FolderScan& scan) {
    ScanArguments& args = run_.Args();
    ScanControl& control = args.control;
    args.progress.Pump();

    const WqlFolder wql = Wql_Folder(path);
    const std::string where = " Where Drive ='" + wql.drive + "' And Path ='" + wql.path + "'";
    std::string folderQuery = "Select Name, Extension, FileType From Win32_Directory" + where;
    if (!scan.folderCondition.empty()) folderQuery += " and " + std::string(scan.folderCondition);
    std::string fileQuery = "Select Name, FileName, Extension, FileSize, FileType From CIM_DataFile" + where;
    if (!scan.fileCondition.empty()) fileQuery += " And (" + std::string(scan.fileCondition) + ")";

    // Both listings are read before any row is added: a folder that cannot
    // be listed whole reports nothing.
    Listing listing;
    if (Through_Share()) {
        remote::ShareFolder listed;
        if (!List_Through_Share(path, scan.folderCondition, scan.fileCondition, listed)) return false;
        listing.folders = std::move(listed.folders);
        listing.files = std::move(listed.files);
    } else {
        try {
            listing.folders = cimv2_.ExecQuery(folderQuery, wmi::kForwardOnlyReturnImmediately);
            listing.files = cimv2_.ExecQuery(fileQuery, wmi::kForwardOnlyReturnImmediately);
        } catch (const RuntimeError& error) {
            if (!Is_Folder_Refusal(error.Number())) throw;
            Note_Refusal(path, error.Description());
            return false;
        }
    }

    bool complete = true;
    bool skipped = false;
    if (!scan.walkSubFolders) listing.folders.clear();
    for (const wmi::ObjectPtr& folder : listing.folders) {
        const std::string name = Text_Of(*folder, "Name");
        if ((scan.closedFolders != nullptr && scan.closedFolders->Contains(name)) || run_.Is_Excepted(name)) continue;
        const bool walked = Scan_Folder(name, scan);
        complete = complete && walked;
        if (walked && scan.listFolders) {
            run_.Add_File_Problem({.type = FixType::Folder,
                                   .text = name,
                                   .detail = "",
                                   .path = name,
                                   .kind = Text_Of(*folder, "FileType"),
                                   .location = name,
                                   .startFolder = std::string(scan.startFolder),
                                   .ownerSid = std::string(scan.ownerSid),
                                   .keptBy = std::string(scan.keptBy),
                                   .identity = remote::Listed_Identity(*folder),
                                   .smallIcon = std::string(scan.folderIcon)},
                                  false);
        }
        run_.Let_Messages_Through();
        if (control.StopRequested) break;
        if (control.SkipRequested) {
            skipped = true;
            break;
        }
    }

    const std::vector<FileGroup> groups = Group_Files(listing.files, !scan.fileCondition.empty());
    for (std::size_t i = 0; !skipped && i < groups.size(); ++i) {
        const wmi::IObject& file = *groups[i].file;
        const std::string name = Text_Of(file, "Name");
        double size = Size_Of(file);
        bool excepted = run_.Is_Excepted(name);
        for (const wmi::IObject* companion : groups[i].companions) {
            size += Size_Of(*companion);
            excepted = excepted || run_.Is_Excepted(Text_Of(*companion, "Name"));
        }
        if (!excepted && scan.listFiles) {
            std::string text = Text_Of(file, "FileName");
            if (const std::string extension = Text_Of(file, "Extension"); !extension.empty()) text += "." + extension;
            run_.Add_File_Problem({.type = FixType::File,
                                   .text = std::move(text),
                                   .detail = Format_File_Size(size, false),
                                   .path = name,
                                   .kind = Text_Of(file, "FileType"),
                                   .location = name,
                                   .startFolder = std::string(scan.startFolder),
                                   .ownerSid = std::string(scan.ownerSid),
                                   .keptBy = std::string(scan.keptBy),
                                   .identity = remote::Listed_Identity(file)},
                                  false);
        }
        run_.Let_Messages_Through();
        if (control.StopRequested || control.SkipRequested) break;
    }
    control.SkipRequested = false;
    return complete;
}

std::vector<wmi::ObjectPtr> FolderWalker::Sub_Folders(std::string_view path, std::string_view condition) {
    if (Through_Share()) {
        remote::ShareFolder listed;
        (void)List_Through_Share(path, condition, "", listed);
        return std::move(listed.folders);
    }
    const WqlFolder wql = Wql_Folder(path);
    std::string query =
        "Select Name From Win32_Directory Where Drive ='" + wql.drive + "' And Path ='" + wql.path + "'";
    if (!condition.empty()) query += " And " + std::string(condition);
    try {
        return cimv2_.ExecQuery(query, wmi::kForwardOnlyReturnImmediately);
    } catch (const RuntimeError& error) {
        if (!Is_Folder_Refusal(error.Number())) throw;
        Note_Refusal(path, error.Description());
        return {};
    }
}

bool FolderWalker::Through_Share() const { return run_.Args().target.Context().IsRemote; }

bool FolderWalker::List_Through_Share(std::string_view path, std::string_view folderCondition,
                                      std::string_view fileCondition, remote::ShareFolder& listed) {
    const remote::TargetContext& context = run_.Args().target.Context();
    const wql::Query folderWhere = Parse_Condition(folderCondition);
    const wql::Query fileWhere = Parse_Condition(fileCondition);
    const remote::ListingResult result =
        remote::List_Share_Folder(context.Shares(), context.Ports().shell, context.ComputerName, path,
                                  folderWhere.where.get(), fileWhere.where.get(), listed);
    if (result != remote::ListingResult::Unavailable) return true;
    Note_Refusal(path, "the administrative share could not list it");
    return false;
}

void FolderWalker::Note_Refusal(std::string_view path, std::string_view why) {
    ++refused_;
    lastRefusal_ = std::string(path) + ": " + std::string(why);
}

void FolderWalker::Report_Refusals() const {
    if (refused_ == 0) return;
    run_.Args().target.Context().Ports().reporter.Log_Event(
        std::to_string(refused_) + " folder(s) could not be listed and were left out; last: " + lastRefusal_,
        LOG_WARNING);
}

}  // namespace corvane::scan
