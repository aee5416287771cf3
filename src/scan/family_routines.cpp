#include "scan/family_routines.h"

#include <array>

#include "base/ui/main_window_port.h"
#include "scan/browser_categories.h"
#include "scan/category_run.h"
#include "scan/class_categories.h"
#include "scan/disk_categories.h"
#include "scan/registry_entry_categories.h"
#include "scan/software_categories.h"
#include "scan/systemwide_search.h"
#include "scan/trace_categories.h"

namespace corvane::scan {

namespace {

constexpr std::array<CategoryEntry, 13> kRegistry{{
    {"Help Files", &Scan_Help_Files},
    {"Add/Remove Programs", &Scan_Uninstall_Entries},
    {"ActiveX/COM", &Scan_ActiveX_COM},
    {"Application Paths", &Scan_Application_Paths},
    {"Windows Fonts", &Scan_Windows_Fonts},
    {"Shared DLLs", &Scan_Shared_DLLs},
    {"Software", &Scan_Software},
    {"File Extension", &Scan_File_Extensions},
    {"StartUp Programs", &Scan_Startup_Programs},
    {"Sound And AppEvents", &Scan_Sound_Events},
    {"Installer", &Scan_Installer_Folders},
    {"User MRU List", &Scan_User_MRU_Lists},
    {"Image File Execution Options", &Scan_Image_File_Options},
}};

constexpr std::array<CategoryEntry, 10> kDisk{{
    {"Mini Dump Files", &Scan_Mini_Dump_Files},
    {"User Temp Files", &Scan_User_Temp_Files},
    {"Invalid Shortcuts", &Scan_Invalid_Shortcuts},
    {"CD Burn Temp Files", &Scan_CD_Burn_Temp_Files},
    {"Thumbnail Cache Files", &Scan_Thumbnail_Cache_Files},
    {"Downloaded Temp Files", &Scan_Downloaded_Temp_Files},
    {"Windows Temp Files", &Scan_Windows_Temp_Files},
    {"Recently Used File Shortcuts", &Scan_Recent_File_Shortcuts},
    {"Prefetch Application Cache Files", &Scan_Prefetch_Files},
    {"Downloaded Installation Files", &Scan_Downloaded_Installations},
}};

constexpr std::array<CategoryEntry, 5> kInternetExplorer{{
    {"History Files", &Scan_IE_History_Files},
    {"Cookie Files", &Scan_IE_Cookie_Files},
    {"Temporary Internet Files", &Scan_IE_Temporary_Files},
    {"IE URL History", &Scan_IE_Typed_URLs},
    {"IE Forms Data", &Scan_IE_Forms_Data},
}};

constexpr std::array<CategoryEntry, 7> kFirefox{{
    {"Cookies", &Scan_Firefox_Cookies},
    {"Internet Cache", &Scan_Firefox_Cache},
    {"Download History", &Scan_Firefox_Downloads},
    {"Form Information", &Scan_Firefox_Form_History},
    {"Saved Passwords", &Scan_Firefox_Passwords},
    {"Search Information", &Scan_Firefox_Search},
    {"Individual Page Settings", &Scan_Firefox_Page_Settings},
}};

constexpr std::array<CategoryEntry, 1> kSystemwide{{
    {"Temporary Files", &Scan_Systemwide_Files},
}};

void Run_From_Table(ScanArguments& args, std::string_view nodeText, std::span<const CategoryEntry> table) {
    for (const CategoryEntry& entry : table) {
        if (entry.displayName == nodeText) {
            entry.routine(args);
            break;
        }
    }
    args.window.Set_Progress_Value(args.window.Progress_Value() + 1);
}

}  // namespace

std::span<const CategoryEntry> Family_Categories(char family) {
    switch (family) {
        case 'f': return kRegistry;
        case 'd': return kDisk;
        case 'i': return kInternetExplorer;
        case 'x': return kFirefox;
        case 'w': return kSystemwide;
        default: return {};
    }
}

bool Run_Family_Routine(ScanArguments& args, std::string_view nodeText) {
    if (args.categoryKey.empty()) return false;
    const std::span<const CategoryEntry> table = Family_Categories(args.categoryKey.front());
    if (table.empty()) return false;
    Run_From_Table(args, nodeText, table);
    return true;
}

}  // namespace corvane::scan
