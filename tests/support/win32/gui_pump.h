// The message pump of the GUI tests under Wine: windows made by a test get
// their messages only while the test pumps, for a while or until a condition
// holds. WM_QUIT is dropped so a window closed by one test ends no other.
#pragma once

#include <windows.h>

#include <cstdlib>

namespace corvane::testing {

// GUI tests need a display (ctest under xvfb-run); without one they skip.
[[nodiscard]] inline bool Have_Display() {
    const char* display = std::getenv("DISPLAY");
    return display != nullptr && *display != '\0';
}

inline void Pump(DWORD milliseconds) {
    const DWORD start = ::GetTickCount();
    do {
        MSG message{};
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) continue;
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        ::Sleep(5);
    } while (::GetTickCount() - start < milliseconds);
}

// Pumps until done() holds or about thirty seconds have passed; returns done().
template <typename Done>
bool Pump_Until(Done done) {
    for (int i = 0; i < 600 && !done(); ++i) Pump(50);
    return done();
}

}  // namespace corvane::testing
