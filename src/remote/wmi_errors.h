// The HRESULTs that WMI answers with, their description texts as the
// scripting layer gives them, and the one way to raise them as the program's
// run-time error.
#pragma once

#include <cstdint>
#include <string>

namespace corvane::wmi {

namespace hresult {
inline constexpr std::uint32_t kAccessDenied = 0x80070005u;  // E_ACCESSDENIED
inline constexpr std::uint32_t kRpcServerUnavailable = 0x800706BAu;
inline constexpr std::uint32_t kRpcCallFailed = 0x800706BEu;
inline constexpr std::uint32_t kRpcCallFailedDne = 0x800706BFu;
inline constexpr std::uint32_t kObjectDisconnected = 0x80010108u;  // RPC_E_DISCONNECTED
inline constexpr std::uint32_t kCallCanceled = 0x80010002u;        // RPC_E_CALL_CANCELED
// The scripting API's wbemErrTimedout: a call that ran past its time limit
// (what IEnumWbemClassObject::Next's WBEM_S_TIMEDOUT becomes there).
inline constexpr std::uint32_t kTimedOut = 0x80043001u;
inline constexpr std::uint32_t kWbemFailed = 0x80041001u;
inline constexpr std::uint32_t kWbemNotFound = 0x80041002u;
inline constexpr std::uint32_t kWbemAccessDenied = 0x80041003u;
inline constexpr std::uint32_t kWbemTypeMismatch = 0x80041005u;
inline constexpr std::uint32_t kWbemInvalidParameter = 0x80041008u;
inline constexpr std::uint32_t kWbemNotSupported = 0x8004100Cu;
inline constexpr std::uint32_t kWbemInvalidNamespace = 0x8004100Eu;
inline constexpr std::uint32_t kWbemInvalidClass = 0x80041010u;
inline constexpr std::uint32_t kWbemInvalidQuery = 0x80041017u;
inline constexpr std::uint32_t kWbemInvalidObjectPath = 0x8004103Au;
inline constexpr std::uint32_t kWbemInvalidMethod = 0x8004102Eu;
inline constexpr std::uint32_t kWbemInvalidMethodParameters = 0x8004102Fu;
inline constexpr std::uint32_t kWbemLocalCredentials = 0x80041064u;  // user credentials on a local connection
}  // namespace hresult

// WMI's own description of an HRESULT ("The RPC server is unavailable.");
// an unknown one gives "Unknown error 0x........".
[[nodiscard]] std::string Hresult_Description(std::uint32_t hr);

// Throws corvane::RuntimeError(signed hr, description).
[[noreturn]] void Raise_Hresult(std::uint32_t hr);

}  // namespace corvane::wmi
