// What the scan and the fix tell about their progress while they run, in
// their own words: which computer and category they are at, how far through
// a list, how many problems are found or fixed. They never draw anything:
// the main window's presenter turns the events into the progress panel's
// texts, the console scanner into its output. Pump is where a window
// processes its messages, so Stop and Skip requests arrive there.
#pragma once

#include <cstdint>
#include <string_view>

namespace corvane {

// Every event does nothing unless an observer cares for it.
class IProgressEvents {
public:
    virtual ~IProgressEvents() = default;
    IProgressEvents() = default;
    IProgressEvents(const IProgressEvents&) = delete;
    IProgressEvents& operator=(const IProgressEvents&) = delete;

    // A scan over `categories` checked categories per computer begins.
    virtual void Scan_Started(int /*categories*/) {}
    // The scan ended (run through, stopped or failed) with this many problems listed.
    virtual void Scan_Ended(std::int32_t /*problemsFound*/) {}

    // The scan or the fix turns to a computer, as listed; it connects next.
    virtual void Computer_Started(std::string_view /*computerName*/) {}
    // The scan is done with the computer, whether it was scanned or not.
    virtual void Computer_Ended() {}
    // Several computers at once: how many are done, running and waiting.
    // The computer events then tell of the first running one in tree order.
    virtual void Computers_Counted(int /*done*/, int /*running*/, int /*waiting*/) {}

    // A category begins: the scan runs its routine, the fix reaches its header.
    virtual void Category_Started(std::string_view /*displayName*/) {}
    // A category with several passes enters one ("StartUp Programs - Phase II of III").
    virtual void Category_Phase(std::string_view /*caption*/) {}
    // The scan's routine for the category returned.
    virtual void Category_Ended() {}
    // An entry of the list the category walks was looked at: position and
    // the list's upper bound, as the routines count them.
    virtual void Entry_Done(std::int64_t /*position*/, std::int64_t /*upperBound*/) {}
    // Problem rows listed so far in this scan, over every computer.
    virtual void Problems_Found(std::int32_t /*total*/) {}

    // A fix of the checked rows begins; `categories` as for a scan.
    virtual void Fix_Started(int /*categories*/) {}
    // After each row: rows fixed in this run, and in the current category
    // fixed against those found there.
    virtual void Problems_Fixed(std::int32_t /*total*/, std::int32_t /*inCategory*/, std::int32_t /*foundInCategory*/) {
    }
    // A restore point of the connected computer is being made before fixing.
    virtual void Restore_Point_Started() {}
    virtual void Restore_Point_Ended() {}
    // The fix ended: rows fixed in this run against the unfixed rows it met.
    virtual void Fix_Ended(std::int32_t /*fixed*/, std::int32_t /*found*/) {}

    // Let the host process what waits (a window's messages); Stop and Skip
    // are requested here.
    virtual void Pump() {}
};

}  // namespace corvane
