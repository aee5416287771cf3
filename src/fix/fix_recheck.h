// The second look before a deletion: what a problem row says is wrong (a file
// or folder missing, a class or type library not registered, a key empty) is
// tested again on the connected computer, so that nothing is deleted whose
// reason no longer holds (software reinstalled between scan and fix). The
// reason is the rule its category has for the row's fix type, both read from
// the row's tag, which survive an earlier failed fix of the row.
#pragma once

#include <cstdint>
#include <string>

#include "base/ui/problem_kinds.h"

namespace corvane {
struct ListRow;
}  // namespace corvane

namespace corvane::remote {
class TargetContext;
struct WmiConnection;
}  // namespace corvane::remote

namespace corvane::fix {

enum class ReasonState {
    Holds,       // still true: the row may delete
    NoLonger,    // no longer true: nothing is deleted
    Undecided,   // could not be tested again: nothing is deleted
    NotCarried,  // the row carries no reason that can be tested again
};

struct Recheck {
    ReasonState state = ReasonState::NotCarried;
    std::string detail;  // what was found, or why it could not be tested
};

// Tests the row's reason again through the context's existence tests and the
// registry (root: the row's root key), by the rule its category has for its
// fix type. A lost connection is raised to the caller.
[[nodiscard]] Recheck Recheck_Reason(const ListRow& row, RecheckRuleLookup rules, std::uint32_t root,
                                     remote::TargetContext& context, remote::WmiConnection& connection);

}  // namespace corvane::fix
