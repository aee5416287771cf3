// The second look before a deletion: what a problem record says is wrong (a
// file or folder missing, a class or type library not registered, a key
// empty) is tested again on the connected computer, so that nothing is
// deleted whose reason no longer holds (software reinstalled between scan
// and fix). The reason is the rule its category has for the record's fix
// type; a value the scan judged by its data is read again first, and data
// that changed since decide nothing but "no longer present".
#pragma once

#include <string>

#include "base/ui/problem.h"
#include "base/ui/problem_kinds.h"

namespace corvane::remote {
class TargetContext;
struct WmiConnection;
}  // namespace corvane::remote

namespace corvane::fix {

enum class ReasonState {
    Holds,      // still true: the row may delete
    NoLonger,   // no longer true: nothing is deleted
    Undecided,  // could not be tested again: nothing is deleted
    Gone,       // what the row deletes is gone already: nothing left to delete
    InUse,      // a program that holds it runs now (or may): nothing is deleted ("Other Errors")
};

struct Recheck {
    ReasonState state = ReasonState::Undecided;
    std::string detail;  // what was found, or why it could not be tested
};

// Tests the record's reason again through the context's existence tests and
// the registry. A lost connection is raised to the caller.
[[nodiscard]] Recheck Recheck_Reason(const Problem& problem, Reason reason, remote::TargetContext& context,
                                     remote::WmiConnection& connection);

}  // namespace corvane::fix
