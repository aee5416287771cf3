#include "remote/local_system.h"

#include "remote/canonical_path.h"

namespace corvane::remote {

std::string Local_Reparse_Refusal(ILocalSystem& local, std::string_view canonicalPath) {
    for (const std::string& folder : Path_Chain(canonicalPath)) {
        switch (local.Path_Kind(folder)) {
            case LocalPathKind::Plain: continue;
            case LocalPathKind::Missing: return {};
            case LocalPathKind::ReparsePoint: return kReparsePointOnTheWay;
            case LocalPathKind::Unknown: return std::string(kReparsePointOnTheWay) + " cannot be ruled out";
        }
    }
    return {};
}

std::int32_t Get_OS_Version_Code(const OsVersionNumbers& version) {
    if (version.platformId == 1 && version.major == 4) {
        if (version.minor == 0) return 1400;
        if (version.minor == 10) return 1410;
        return 0;
    }
    if (version.platformId != 2) return 0;
    switch (version.major) {
        case 3: return version.minor == 51 ? 2351 : 2300;
        case 4: return 2400;
        case 5: return version.minor == 1 ? 2501 : version.minor == 2 ? 2502 : 2500;
        case 6: return version.minor == 1 ? 2601 : 2600;
        default: return 0;
    }
}

}  // namespace corvane::remote
