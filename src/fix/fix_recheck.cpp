#include "fix/fix_recheck.h"

#include <array>
#include <string_view>

#include "base/ui/results_list.h"
#include "remote/wmi_connection.h"
#include "remote/wmi_files.h"
#include "remote/wmi_registry.h"

namespace corvane::fix {

namespace {

using remote::Existence;

// What a category's rows say is wrong.
enum class Reason {
    PathMissing,    // neither a file nor a folder at the row's path
    FolderMissing,  // no folder at the row's path
    EmptyKey,       // the key holds nothing
};

struct CategoryReason {
    std::string_view categoryKey;
    char fixDigit;
    Reason reason;
};

constexpr std::array<CategoryReason, 6> kReasons{{
    {"fA", '1', Reason::PathMissing},    // help file
    {"fB", '1', Reason::FolderMissing},  // uninstall entry's InstallSource
    {"fB", '0', Reason::EmptyKey},       // uninstall entry with nothing in it
    {"fD", '0', Reason::PathMissing},    // application path (a file, or its "Path" folder)
    {"fE", '1', Reason::PathMissing},    // font file
    {"fF", '1', Reason::PathMissing},    // shared DLL
}};

bool Is_Full_Path(std::string_view text) { return text.size() >= 3 && text[1] == ':' && text[2] == '\\'; }

// The path the row names: its text when that is a full path, else its data
// (a folder) joined with its text (a file name).
std::string Row_Path(const ListRow& row) {
    const std::string& text = row.text;
    const std::string& folder = row.Sub(1).text;
    if (Is_Full_Path(text) || folder.empty()) return text;
    return folder.back() == '\\' ? folder + text : folder + "\\" + text;
}

Recheck Path_Missing(remote::TargetContext& context, wmi::IServices& cimv2, const std::string& path,
                     bool foldersOnly) {
    const Existence folder = remote::Test_Folder_Existence(context, cimv2, path);
    const Existence file = foldersOnly ? Existence::Missing : remote::Test_File_Existence(context, cimv2, path);
    if (folder == Existence::Exists || file == Existence::Exists) return {ReasonState::NoLonger, path + " exists"};
    if (folder == Existence::Unknown || file == Existence::Unknown) {
        return {ReasonState::Undecided, context.Take_Undecided().lastError};
    }
    return {ReasonState::Holds, path + " is still missing"};
}

}  // namespace

Recheck Recheck_Reason(const ListRow& row, std::uint32_t root, remote::TargetContext& context,
                       remote::WmiConnection& connection) {
    if (row.tag.size() < 3) return {};
    const std::string_view categoryKey = std::string_view(row.tag).substr(1, 2);
    for (const CategoryReason& entry : kReasons) {
        if (entry.categoryKey != categoryKey || entry.fixDigit != row.tag.front()) continue;
        switch (entry.reason) {
            case Reason::PathMissing: return Path_Missing(context, connection.Cimv2(), Row_Path(row), false);
            case Reason::FolderMissing: return Path_Missing(context, connection.Cimv2(), Row_Path(row), true);
            case Reason::EmptyKey: {
                if (remote::Is_Empty_Key(context, connection.Registry(), root, row.Sub(2).tag)) {
                    return {ReasonState::Holds, "the key is still empty"};
                }
                return {ReasonState::NoLonger, "the key is no longer empty or cannot be read"};
            }
        }
    }
    return {};
}

}  // namespace corvane::fix
