// The console's undo of a fix (cvnscan --undo FILE): writes the keys and
// values of an undo file back to the computer it was made for through WMI,
// never deleting anything, and reports what it wrote. A value that holds other
// data by now is overwritten only with --yes.
#pragma once

#include <ostream>

#include "console/cvnscan_options.h"

namespace corvane {
class Database;
}  // namespace corvane

namespace corvane::remote {
struct RemotePorts;
}  // namespace corvane::remote

namespace corvane::console {

// The computer is --computer, else the one whose undo folder holds the file
// (a file anywhere else needs --computer). A computer that answers with
// another name than the one the file was made for (Undo_File_Computer) gets
// nothing written. Exit status 0 when everything was written or kept, 2 when
// something failed, 64 for a file that cannot be read or names no computer.
[[nodiscard]] int Run_Console_Undo(const ConsoleOptions& options, Database& db, const remote::RemotePorts& ports,
                                   std::ostream& out, std::ostream& err);

}  // namespace corvane::console
