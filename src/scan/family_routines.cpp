#include "scan/family_routines.h"

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
    return isFamily;
}

}  // namespace corvane::scan
