// Failed HRESULTs and Win32 codes as the program's RuntimeError: the HRESULT
// as a signed 32-bit number and a description text (the shared table of WMI's
// texts first, then WMI's own status text, then the system's message).
#pragma once

#include <windows.h>

#include <cstdint>
#include <source_location>
#include <string>

namespace corvane::remote::win32 {

[[nodiscard]] std::string Hresult_Description(HRESULT hr);
// The built-in table only; empty when the code is not in it.
[[nodiscard]] std::string Known_Hresult_Text(std::uint32_t hr);

// The error carries the place of the failed call for the log.
[[noreturn]] void Throw_Hresult(HRESULT hr, const std::source_location& where = std::source_location::current());
inline void Check_Hresult(HRESULT hr, const std::source_location& where = std::source_location::current()) {
    if (FAILED(hr)) Throw_Hresult(hr, where);
}
// A Win32 error code raised as its HRESULT (5 -> 0x80070005).
[[noreturn]] void Throw_Win32(DWORD error, const std::source_location& where = std::source_location::current());

}  // namespace corvane::remote::win32
