// Process-wide COM security for WMI proxies: set once with impersonation as
// the default; a later call finds it in place. (COM itself is initialized per
// thread with base/win32/com_init.h.)
#pragma once

#include "base/win32/com_init.h"

namespace corvane::remote::win32 {

using ::corvane::win32::ComInit;

// True when COM can be used on this thread: initialized by the guard, or
// already initialized by someone else with another apartment model.
[[nodiscard]] inline bool Com_Usable(const ComInit& com) noexcept {
    return com.Ok() || com.Result() == RPC_E_CHANGED_MODE;
}

// CoInitializeSecurity with default authentication, impersonation and no
// cloaking; RPC_E_TOO_LATE (already set for this process) counts as success.
// Raises RuntimeError on any other failure.
void Initialize_Com_Security();

}  // namespace corvane::remote::win32
