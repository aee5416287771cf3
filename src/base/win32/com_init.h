// COM for the calling thread for as long as the guard lives
// (CoInitializeEx / CoUninitialize in pairs).
#pragma once

#include <objbase.h>

namespace corvane::win32 {

class [[nodiscard]] ComInit {
public:
    explicit ComInit(DWORD model = COINIT_APARTMENTTHREADED) noexcept : result_(::CoInitializeEx(nullptr, model)) {}
    ~ComInit() {
        if (SUCCEEDED(result_)) ::CoUninitialize();
    }
    ComInit(const ComInit&) = delete;
    ComInit& operator=(const ComInit&) = delete;

    // S_OK or S_FALSE when COM is usable on this thread.
    [[nodiscard]] HRESULT Result() const noexcept { return result_; }
    [[nodiscard]] bool Ok() const noexcept { return SUCCEEDED(result_); }

private:
    HRESULT result_;
};

}  // namespace corvane::win32
