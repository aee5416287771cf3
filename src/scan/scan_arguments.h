// What every category routine receives from its family routine: the scan's
// control record of this computer, the results list its rows go to (the
// window's, or a worker's own until they are handed over), the progress
// events (and with them the message pump), the stored settings it tests
// against, the connected computer and the key of the category node being run.
#pragma once

#include <string_view>

#include "scan/scan_target.h"

namespace corvane {
class IProgressEvents;
class ResultsList;
}  // namespace corvane

namespace corvane::scan {

struct ScanControl;
class IScanSettings;

struct ScanArguments {
    ScanControl& control;
    ResultsList& results;
    IProgressEvents& progress;
    IScanSettings& settings;
    ScanTarget& target;
    std::string_view categoryKey;
};

// A category routine: adds its header and problem rows for the current computer.
using CategoryRoutine = void (*)(ScanArguments& args);

}  // namespace corvane::scan
