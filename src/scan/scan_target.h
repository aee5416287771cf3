// The computer being scanned, as the driver and the category routines see
// it: a target session opened for scanning (remote/target_session.h). One
// session serves the whole scan, from computer to computer.
#pragma once

#include "remote/target_session.h"

namespace corvane::scan {

using ScanTarget = remote::TargetSession;
using remote::StringValues;

}  // namespace corvane::scan
