// How the connection, registry, file and system routines read the outcome of
// a WMI call: a method's return code, and which run-time errors (a lost
// connection, a refused access) only make a routine fail.
#pragma once

#include <cstdint>

#include "base/runtime_error.h"
#include "remote/wmi_errors.h"
#include "remote/wmi_variant.h"

namespace corvane::remote {

// The connection itself is gone or unusable: the RPC server is unavailable,
// the call failed (with or without executing), the object was disconnected,
// the call ran past its time limit or was cancelled (Stop). No answer on that
// computer can be trusted any more, so these always reach the caller and end
// the computer's scan.
[[nodiscard]] constexpr bool Is_Connection_Error(std::int32_t number) noexcept {
    return number == Hresult_Number(wmi::hresult::kRpcServerUnavailable) ||
           number == Hresult_Number(wmi::hresult::kTimedOut) || number == Hresult_Number(wmi::hresult::kCallCanceled) ||
           number == Hresult_Number(wmi::hresult::kRpcCallFailedDne) ||
           number == Hresult_Number(wmi::hresult::kRpcCallFailed) ||
           number == Hresult_Number(wmi::hresult::kObjectDisconnected);
}

// A refused access to one key, value, file or folder: only that entry is
// affected, the computer still answers.
[[nodiscard]] constexpr bool Is_Access_Denied_Error(std::int32_t number) noexcept {
    return number == Hresult_Number(wmi::hresult::kAccessDenied) ||
           number == Hresult_Number(wmi::hresult::kWbemAccessDenied);
}

// The errors the registry and file routines swallow (the routine gives its
// failure result): a refused access. A lost connection is not among them:
// an empty answer from a computer that no longer answers is not "nothing there".
[[nodiscard]] constexpr bool Is_Swallowed_Error(std::int32_t number) noexcept {
    return Is_Access_Denied_Error(number) && !Is_Connection_Error(number);
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
