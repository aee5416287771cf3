// How the connection, registry, file and system routines read the outcome of
// a WMI call: a method's return code, and which run-time errors (a lost
// connection, a refused access) only make a routine fail.
#pragma once

#include <cstdint>

#include "base/runtime_error.h"
#include "remote/wmi_errors.h"
#include "remote/wmi_variant.h"

namespace corvane::remote {

// &H800706BF, &H800706BE, &H80010108, &H80070005.
[[nodiscard]] constexpr bool Is_Swallowed_Error(std::int32_t number) noexcept {
    return number == Hresult_Number(wmi::hresult::kRpcCallFailedDne) ||
           number == Hresult_Number(wmi::hresult::kRpcCallFailed) ||
           number == Hresult_Number(wmi::hresult::kObjectDisconnected) ||
           number == Hresult_Number(wmi::hresult::kAccessDenied);
}

// Ends a routine on a run-time error: a swallowed number returns (the routine
// then gives its failure result), any other is raised again with the
// program as its source.
inline void Raise_Unless_Swallowed(const RuntimeError& error) {
    if (Is_Swallowed_Error(error.Number())) return;
    throw RuntimeError(error.Number(), error.Description());
}

// A method's "ReturnValue"; 0 when the method gave none.
[[nodiscard]] inline std::int32_t Return_Code(const wmi::PropertyBag& out) {
    const auto found = out.find("ReturnValue");
    return found == out.end() ? 0 : found->second.As_Int32();
}

// A method's return code counts as success only when it is 0: negative codes
// (WMI's own failures, "Other Errors") are failures too.
[[nodiscard]] constexpr bool Return_Code_Succeeded(std::int32_t code) noexcept { return code == 0; }

}  // namespace corvane::remote
