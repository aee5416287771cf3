#include "remote/win32/com_runtime.h"

#include "remote/win32/hresult_error.h"

namespace corvane::remote::win32 {

void Initialize_Com_Security() {
    const HRESULT hr = CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                                            RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
    if (hr == RPC_E_TOO_LATE) return;
    Check_Hresult(hr);
}

}  // namespace corvane::remote::win32
