// Creating a restore point and seeing whether Windows really made it.
// Windows 8 and later answer CreateRestorePoint with success yet skip the new
// point when one was made in the last 24 hours; the restore points listed
// afterwards tell which of the two happened.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/ports/clock.h"
#include "remote/machine_store.h"
#include "remote/wmi.h"

namespace corvane::remote {

enum class RestorePointOutcome {
    Created,     // a restore point with the description asked for is listed
    KeptRecent,  // Windows kept an earlier one made less than 24 hours ago
    KeptOld,     // success was reported, but the newest point is older
    Failed,      // CreateRestorePoint failed, or no point can be seen afterwards
};

struct CheckedRestorePoint {
    RestorePointOutcome outcome = RestorePointOutcome::Failed;
    std::int32_t returnCode = 0;  // CreateRestorePoint's result or the run-time error's number
    DateTime kept;                // creation time of the kept point (KeptRecent, KeptOld)

    // The step may count as done: a new point, or one less than a day old.
    [[nodiscard]] bool Succeeded() const noexcept {
        return outcome == RestorePointOutcome::Created || outcome == RestorePointOutcome::KeptRecent;
    }
};

// WMI_Create_Restore_Point, then the restore points of root\default looked
// at; "less than 24 hours" is measured against the local clock.
[[nodiscard]] CheckedRestorePoint WMI_Create_Checked_Restore_Point(wmi::IServices& rootDefault, IClock& clock);

// "Windows kept the restore point of 12/5/2026 2:03:09 PM instead."
[[nodiscard]] std::string Kept_Restore_Point_Text(const DateTime& kept);

// A date and time as the program shows them (English, United States):
// "4/7/2009 3:02:09 PM", the date alone at midnight.
[[nodiscard]] std::string Display_Date_Time(const DateTime& value);

}  // namespace corvane::remote
