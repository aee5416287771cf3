#include "remote/wmi_errors.h"

#include <cstdio>

#include "base/runtime_error.h"

namespace corvane::wmi {

std::string Hresult_Description(std::uint32_t hr) {
    switch (hr) {
        case hresult::kAccessDenied: return "Access is denied.";
        case hresult::kRpcServerUnavailable: return "The RPC server is unavailable.";
        case hresult::kRpcCallFailed: return "The remote procedure call failed.";
        case hresult::kRpcCallFailedDne: return "The remote procedure call failed and did not execute.";
        case hresult::kObjectDisconnected: return "The object invoked has disconnected from its clients.";
        case hresult::kCallCanceled: return "Call was canceled by the message filter.";
        case hresult::kTimedOut: return "Timed out";
        case hresult::kWbemFailed: return "Generic failure";
        case hresult::kWbemNotFound: return "Not found";
        case hresult::kWbemAccessDenied: return "Access denied";
        case hresult::kWbemTypeMismatch: return "Type mismatch";
        case hresult::kWbemInvalidParameter: return "Invalid parameter";
        case hresult::kWbemNotSupported: return "Not supported";
        case hresult::kWbemInvalidNamespace: return "Invalid namespace";
        case hresult::kWbemInvalidClass: return "Invalid class";
        case hresult::kWbemInvalidQuery: return "Invalid query";
        case hresult::kWbemInvalidObjectPath: return "Invalid object path";
        case hresult::kWbemInvalidMethod: return "Invalid method";
        case hresult::kWbemInvalidMethodParameters: return "Invalid method Parameter(s)";
        case hresult::kWbemLocalCredentials: return "User credentials cannot be used for local connections";
        default: break;
    }
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "Unknown error 0x%08X", hr);
    return buffer;
}

void Raise_Hresult(std::uint32_t hr) { throw RuntimeError(Hresult_Number(hr), Hresult_Description(hr)); }

}  // namespace corvane::wmi
