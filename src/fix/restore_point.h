// The System Restore step that runs once per computer before its problems
// are fixed: when the option asks for it, a restore point is created on the
// target; when that is impossible or fails, the mode (automatic or manual)
// and the abort option decide whether fixing of this computer goes on.
#pragma once

#include "base/runtime_error.h"
#include "fix/fix_environment.h"
#include "fix/restore_point_support.h"
#include "remote/target_context.h"
#include "remote/wmi.h"

namespace corvane::fix {

inline constexpr const char* kContinueFixingQuestion = "Are you sure you want to continue Fixing?";
inline constexpr const char* kRestorePointCreated = "Restore Point Successfully Created.";
inline constexpr const char* kFixingAbortedText = "Problem Fixing is aborted.";

// True when fixing of the computer target describes (its ComputerName, and
// its OSVersion as read) may go on. rootDefault is its root\default services
// object.
[[nodiscard]] bool Create_Restore_Point_Before_Fixing(FixEnvironment& env, const remote::TargetContext& target,
                                                      wmi::IServices& rootDefault);

}  // namespace corvane::fix
