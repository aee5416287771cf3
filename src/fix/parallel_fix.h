// The fix of several computers at once. The rows of the list are grouped by
// the computer they were found on, told apart by the name it answered with,
// so that two names of one computer make one group and are never fixed side
// by side. Each group goes to a worker thread of its own, at most N at a
// time, which runs the one-computer fix (Fix_Computer_Rows) over a copy of
// its rows in list order: restore point first, then each row tested again and
// deleted, with the same rules as one by one. The settings and credentials
// are read before the worker starts; a question (a failed restore point in
// manual mode) is asked on this thread, one at a time, and its answer applies
// to that computer. The outcomes are written back into the window's list, and
// the log lines in the order of the computers in the list, on this thread.
#pragma once

namespace corvane::fix {

struct FixEnvironment;

// Fix_Problems with env.computersAtOnce workers.
void Fix_Problems_At_Once(FixEnvironment& env, int checkedCategories);

}  // namespace corvane::fix
