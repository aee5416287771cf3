// COM set-up of a thread and of the process: a guard that pairs
// CoInitializeEx with CoUninitialize, and the process-wide security defaults
// that WMI proxies need (set once; a later call finds them in place).
#pragma once

#include <windows.h>

#include <objbase.h>

namespace corvane::remote::win32 {

class ComApartment {
public:
    ComApartment(ComApartment&& other) noexcept : initialized_(other.initialized_) { other.initialized_ = false; }
    ComApartment& operator=(ComApartment&&) = delete;
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment();

    // COM usable on this thread: true also when another apartment model was
    // already chosen by someone else (then nothing is undone at the end).
    [[nodiscard]] bool Usable() const noexcept { return usable_; }

private:
    friend ComApartment Initialize_Com(DWORD model);
    ComApartment(bool initialized, bool usable) noexcept : initialized_(initialized), usable_(usable) {}
    bool initialized_ = false;
    bool usable_ = false;
};

// CoInitializeEx for this thread (apartment-threaded by default, as the
// user-interface thread needs).
[[nodiscard]] ComApartment Initialize_Com(DWORD model = COINIT_APARTMENTTHREADED);

// CoInitializeSecurity with default authentication, impersonation and no
// cloaking; RPC_E_TOO_LATE (already set for this process) counts as success.
// Raises RuntimeError on any other failure.
void Initialize_Com_Security();

}  // namespace corvane::remote::win32
