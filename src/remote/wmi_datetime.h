// WMI's date-time text: yyyymmddHHMMSS.mmmmmm followed by the sign and three
// digits of the time zone's offset in minutes ("20090407150209.000000+120").
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "remote/machine_store.h"

namespace corvane::remote {

[[nodiscard]] std::string Format_Wmi_Date_Time(const DateTime& value);
// Nothing when the text does not start with 14 digits of a valid date.
[[nodiscard]] std::optional<DateTime> Parse_Wmi_Date_Time(std::string_view text);

}  // namespace corvane::remote
