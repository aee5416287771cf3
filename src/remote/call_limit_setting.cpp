#include "remote/call_limit_setting.h"

#include <string>

#include "base/ports/settings_store.h"
#include "base/text.h"
#include "remote/call_control.h"

namespace corvane::remote {

std::chrono::milliseconds Load_Call_Limit(ISettingsStore& store) {
    const std::string text = Trim(store.GetSetting("Connection", "CallTimeLimit", ""));
    const std::int32_t seconds = Text_To_Int32(text);
    // "5x" or "2.5" is no setting at all rather than 5 or 2 seconds.
    if (seconds < 1 || seconds > kMaxCallLimitSeconds || std::to_string(seconds) != text) {
        return wmi::kDefaultCallLimit;
    }
    return std::chrono::seconds(seconds);
}

}  // namespace corvane::remote
