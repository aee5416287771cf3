#include "remote/restore_point_check.h"

#include <cstdio>
#include <optional>

#include "base/runtime_error.h"
#include "remote/wmi_datetime.h"
#include "remote/wmi_system.h"

namespace corvane::remote {
namespace {

// Days since 1 January 1970 of a civil date.
std::int64_t Days_From_Civil(int year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

std::int64_t Seconds_Of(int year, int month, int day, int hour, int minute, int second) {
    return Days_From_Civil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
}

}  // namespace

CheckedRestorePoint WMI_Create_Checked_Restore_Point(wmi::IServices& rootDefault, IClock& clock) {
    CheckedRestorePoint result;
    const std::string description = Append_Date_Time_Stamp(clock, "CVNRestorePoint");
    if (!WMI_Create_Restore_Point(rootDefault, clock, result.returnCode)) return result;
    std::optional<DateTime> newest;
    try {
        for (const wmi::ObjectPtr& point : rootDefault.InstancesOf("SystemRestore")) {
            if (point->Get("Description").As_String() == description) {
                result.outcome = RestorePointOutcome::Created;
                return result;
            }
            const auto created = Parse_Wmi_Date_Time(point->Get("CreationTime").As_String());
            if (!created) continue;
            if (!newest || Seconds_Of(created->year, created->month, created->day, created->hour, created->minute,
                                      created->second) > Seconds_Of(newest->year, newest->month, newest->day,
                                                                    newest->hour, newest->minute, newest->second)) {
                newest = created;
            }
        }
    } catch (const RuntimeError&) {
        return result;  // what Windows did cannot be seen: not claimed
    }
    if (!newest) return result;
    result.kept = *newest;
    const LocalTime now = clock.Now();
    const std::int64_t age =
        Seconds_Of(now.year, now.month, now.day, now.hour, now.minute, now.second) -
        Seconds_Of(newest->year, newest->month, newest->day, newest->hour, newest->minute, newest->second);
    result.outcome = age < 24 * 3600 ? RestorePointOutcome::KeptRecent : RestorePointOutcome::KeptOld;
    return result;
}

std::string Kept_Restore_Point_Text(const DateTime& kept) {
    return "Windows kept the restore point of " + Display_Date_Time(kept) + " instead.";
}

std::string Display_Date_Time(const DateTime& value) {
    char buffer[48];
    int length = std::snprintf(buffer, sizeof buffer, "%d/%d/%04d", value.month, value.day, value.year);
    if (value.hour != 0 || value.minute != 0 || value.second != 0) {
        const int hour12 = value.hour % 12 == 0 ? 12 : value.hour % 12;
        std::snprintf(buffer + length, sizeof buffer - static_cast<std::size_t>(length), " %d:%02d:%02d %s", hour12,
                      value.minute, value.second, value.hour < 12 ? "AM" : "PM");
    }
    return buffer;
}

}  // namespace corvane::remote
