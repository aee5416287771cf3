#include "scan/systemwide_search.h"

#include <vector>

#include "base/log.h"
#include "base/reporter.h"
#include "remote/wmi_connection.h"
#include "remote/wmi_files.h"
#include "scan/category_descriptor.h"
#include "scan/closed_folders.h"
#include "scan/folder_category.h"
#include "scan/scan_settings.h"
#include "scan/scan_target.h"

namespace corvane::scan {

namespace {

std::string_view Trim_Blanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

std::string Extension_Condition(std::string_view extensions) {
    std::string condition;
    std::string_view rest = extensions;
    while (!rest.empty()) {
        const std::size_t semicolon = rest.find(';');
        std::string piece;
        for (const char c : rest.substr(0, semicolon)) {
            if (c != '.' && c != '*') piece += c;
        }
        rest = semicolon == std::string_view::npos ? std::string_view() : rest.substr(semicolon + 1);
        const std::string_view trimmed = Trim_Blanks(piece);
        if (trimmed.empty()) continue;
        if (!condition.empty()) condition += " OR ";
        condition += "EXTENSION='" + remote::Wql_Escape(trimmed) + "'";
    }
    return condition;
}

void Scan_Systemwide_Files(ScanArguments& args) {
    FolderCategory category(args);
    if (!category.Runs()) return category.Finish();
    std::vector<std::string> drives;
    std::string extensions;
    if (!remote::WMI_Get_Fixed_Drives(args.target.Cimv2(), drives) || !args.settings.Extensions(extensions)) return;
    const std::string condition = Extension_Condition(extensions);
    if (condition.empty()) return;
    ClosedFolders closed;
    std::string why;
    if (!Read_Closed_Folders(args.target, drives, closed, why)) {
        args.target.Context().Ports().reporter.Log_Event(
            "The systemwide search did not run on " + args.target.Context().ComputerName + ": " + why, LOG_WARNING);
        return;
    }
    for (const std::string& drive : drives) {
        (void)category.Walker().Scan_Folder(drive, {.folderCondition = "",
                                                    .fileCondition = condition,
                                                    .folderIcon = "File",
                                                    .listFolders = false,
                                                    .closedFolders = &closed,
                                                    .startFolder = drive});
        category.Run().Write_Count();
        if (category.Stopped()) break;
    }
    category.Walker().Report_Refusals();
}

namespace {

constexpr ScanCategory kCategories[] = {
    {"wA", "Temporary Files", "File", "[Temporary Files]", &Scan_Systemwide_Files, kFileRules},
};

}  // namespace

std::span<const ScanCategory> Systemwide_Categories() { return kCategories; }

}  // namespace corvane::scan
