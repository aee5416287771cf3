// The fixing routine: walks the results list once from top to bottom,
// connects to each computer at its first category header (optionally after a
// restore point), deletes what each checked, not yet fixed problem row names,
// marks the row "Problem fixed" or writes why it failed, reports its progress
// as events (computer, category, rows fixed), and logs every deletion with
// what was removed on which computer.
#pragma once

#include <cstdint>

#include "fix/fix_environment.h"
#include "fix/fix_texts.h"

namespace corvane {
class ResultsList;
}  // namespace corvane

namespace corvane::fix {

inline constexpr const char* kProblemFixedText = "Problem fixed";
// A row whose reason, tested again just before its deletion, no longer holds.
inline constexpr const char* kProblemNoLongerPresentText = "Problem no longer present";
inline constexpr const char* kProblemsFixedSuffix = " Problems successfully fixed";
inline constexpr const char* kFixAbortedByUser = "Fixing is aborted by the user!";
inline constexpr const char* kTotalProblemsFixedText = "Total Problems Fixed: ";

// Rows whose key begins with "s" or "c", that are checked and not fixed.
[[nodiscard]] std::int32_t Count_Fixable_Problems(const ResultsList& list);

struct FixTotals {
    std::int32_t fixed = 0;  // rows fixed in this run
    std::int32_t found = 0;  // the counts of the headers met
};

// The walk itself over env.window's list; with env.settings, one computer's
// part of a fix of several at once, without the fix's start and end.
FixTotals Fix_Computer_Rows(FixEnvironment& env, int checkedCategories);
// The fix's end: the total logged, the status bar, the progress event.
void End_Fix(FixEnvironment& env, FixTotals totals);

// The walk over env.window's results list. checkedCategories, passed on with
// the fix's start, sizes the progress per computer. Errors never end the run: a row's error goes
// into that row, anything else into the log. With env.computersAtOnce above
// one the computers are fixed at once (parallel_fix.h). Always returns true.
bool Fix_Problems(FixEnvironment& env, int checkedCategories);

// Clears the Stop flag, shows the progress panel, switches the commands to
// busy, runs Fix_Problems, then leaves the panel shown only when keepPanel
// (automatic mode, inside a scan) and otherwise makes the commands idle again.
void Start_Fixing(FixEnvironment& env, bool keepPanel);

}  // namespace corvane::fix
