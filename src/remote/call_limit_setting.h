// The per-user setting of how long one call to a computer may wait for its
// answer: section "Connection", key "CallTimeLimit", in whole seconds. The
// Windows programs read it where they build their remote ports.
#pragma once

#include <chrono>

namespace corvane {
class ISettingsStore;
}

namespace corvane::remote {

inline constexpr int kMaxCallLimitSeconds = 3600;

// The stored limit; a text that is not a whole number of seconds from 1 to
// kMaxCallLimitSeconds reads as the default, wmi::kDefaultCallLimit.
[[nodiscard]] std::chrono::milliseconds Load_Call_Limit(ISettingsStore& store);

}  // namespace corvane::remote
