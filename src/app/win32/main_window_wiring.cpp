#include "app/win32/main_window_wiring.h"

namespace corvane {

void Wire_Main_Window_Commands(Application&, IMainWindow&, MainWindowCommands&) {
    // Start Scan, Stop Scan, Skip, Fix Problems, Manage Computers, Exception
    // List, Options and Check Updates are filled in by their subsystems.
}

}  // namespace corvane
