// What the fixing routine works with: the main window (results list,
// category tree, progress panel, commands, status bar), the progress events
// (and with them the message pump), the database (credentials and options),
// the remote ports (locator, reporter, clock, undo folder) over which the fix
// opens its own session per computer, the categories' re-test rules, and the
// Stop flag that the Stop command sets while the pump runs. The program
// passes its main window; a program without a window passes its own
// implementation of the window port.
#pragma once

#include "base/ui/problem_kinds.h"

namespace corvane {
class Database;
class IMainWindow;
class IProgressEvents;
class IWorkerThreads;
}  // namespace corvane

namespace corvane::remote {
struct RemotePorts;
}  // namespace corvane::remote

namespace corvane::fix {

struct FixSettings;

struct FixEnvironment {
    IMainWindow& window;
    IProgressEvents& progress;
    Database& db;
    const remote::RemotePorts& remote;
    // The scan's Stop request (ScanControl::StopRequested); cleared when fixing starts.
    bool& stopRequested;
    // The scan's category table answers which reason each row kind tests again.
    RecheckRuleLookup recheckRules;
    // Undo files for this run whatever the stored registry backup option
    // (an unattended run that must leave a way back).
    bool undoBackup = false;
    // Computers fixed at once, each on a worker thread of its own; 1: one
    // after the other on this thread.
    int computersAtOnce = 1;
    // What each worker thread enters first (COM on Windows); null: nothing.
    IWorkerThreads* workerThreads = nullptr;
    // Set for a worker's part of a fix: the settings as read before it
    // started (the database is not touched) and the list holds that
    // computer's rows only.
    const FixSettings* settings = nullptr;
};

}  // namespace corvane::fix
