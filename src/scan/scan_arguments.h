// What every category routine receives from its family routine: the scan's
// control record, the main window (results list), the progress events (and
// with them the message pump), the database for the exception tests, the
// connected computer and the key of the category node being run.
#pragma once

#include <string_view>

#include "scan/scan_target.h"

namespace corvane {
class Database;
class IMainWindow;
class IProgressEvents;
}  // namespace corvane

namespace corvane::scan {

struct ScanControl;

struct ScanArguments {
    ScanControl& control;
    IMainWindow& window;
    IProgressEvents& progress;
    Database& db;
    ScanTarget& target;
    std::string_view categoryKey;
};

// A category routine: adds its header and problem rows for the current computer.
using CategoryRoutine = void (*)(ScanArguments& args);

}  // namespace corvane::scan
