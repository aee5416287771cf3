#include "remote/local_system.h"

namespace corvane::remote {

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
