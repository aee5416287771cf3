#include "app/win32/main_window_wiring.h"

#include "app/win32/scan_host.h"

namespace corvane {

void Wire_Main_Window_Commands(Application& app, IMainWindow& window, IProgressPanelView& panel,
                               MainWindowCommands& commands) {
    // Manage Computers, Exception List, Options and Check Updates are filled
    // in by their subsystems.
    scan::Wire_Scan_Commands(app, window, panel, commands);  // Start Scan, Stop Scan, Skip, Fix Problems
}

}  // namespace corvane
