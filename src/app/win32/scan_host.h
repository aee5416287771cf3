// The scan as the main window holds it for its lifetime: the Windows ports of
// the remote access layer (the local computer served natively, every other
// one through WMI), the target context that the scan and the fixing command
// share, the presenter of the progress panel, and the scan driver. Wire_Scan_Commands gives the window's Start
// Scan, Stop Scan, Skip and Fix Problems commands their handlers.
#pragma once

#include <memory>

#include "app/progress_presenter.h"
#include "base/ui/main_window_port.h"

namespace corvane {
class Application;
}

namespace corvane::scan {

void Wire_Scan_Commands(Application& app, IMainWindow& window, IProgressPanelView& panel, MainWindowCommands& commands);

}  // namespace corvane::scan
