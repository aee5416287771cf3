#include "scan/family_routines.h"

#include "base/ui/main_window_port.h"
#include "scan/scan_categories.h"

namespace corvane::scan {

bool Run_Family_Routine(ScanArguments& args, std::string_view nodeText) {
    if (args.categoryKey.empty()) return false;
    const char family = args.categoryKey.front();
    bool isFamily = false;
    for (const ScanCategory& category : Scan_Categories()) {
        if (category.key.front() != family) continue;
        isFamily = true;
        if (category.displayName == nodeText) {
            category.routine(args);
            break;
        }
    }
    if (!isFamily) return false;
    args.window.Set_Progress_Value(args.window.Progress_Value() + 1);
    return true;
}

}  // namespace corvane::scan
