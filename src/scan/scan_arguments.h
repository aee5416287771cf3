// What every category routine receives from its family routine: the scan's
// control record, the main window (results list, progress panel, message
// pump), the database for the exception tests, the connected computer and
// the key of the category node being run.
#pragma once

#include <string_view>

#include "scan/scan_target.h"

namespace corvane {
class Database;
class IMainWindow;
}  // namespace corvane

namespace corvane::scan {

struct ScanControl;

struct ScanArguments {
    ScanControl& control;
    IMainWindow& window;
    Database& db;
    ScanTarget& target;
    std::string_view categoryKey;
};

// A category routine: adds its header and problem rows for the current computer.
using CategoryRoutine = void (*)(ScanArguments& args);

}  // namespace corvane::scan
