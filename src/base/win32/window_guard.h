// Keeps exceptions from crossing a window procedure, timer or other callback
// that Windows calls: runs the handler, and on an exception logs it as an
// error line and returns the fallback result. The program goes on.
#pragma once

#include <exception>
#include <string>
#include <string_view>
#include <utility>

#include "app/reporter.h"

namespace corvane::win32 {

// Writes "where: text" to the log as an error line; never throws.
inline void Log_Callback_Error(const Reporter* reporter, std::string_view where, std::string_view text) noexcept {
    if (!reporter) return;
    try {
        reporter->Show_Error(false, std::string(where) + ": " + std::string(text));
    } catch (...) {
        // Nothing is left to report with; the line is lost.
    }
}

template <typename Result, typename Handler>
Result Call_Guarded(const Reporter* reporter, std::string_view where, Result fallback, Handler&& handler) noexcept {
    try {
        return std::forward<Handler>(handler)();
    } catch (const std::exception& error) {  // RuntimeError's what() is "number: description"
        Log_Callback_Error(reporter, where, error.what());
    } catch (...) {
        Log_Callback_Error(reporter, where, "unknown exception");
    }
    return fallback;
}

}  // namespace corvane::win32
