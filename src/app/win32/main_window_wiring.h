// Where the main window's commands meet the subsystems that do the work.
// Wire_Main_Window_Commands runs once while frmMain loads; each later piece
// of work (scan, fix, computers, exceptions, options, update check) fills its
// handlers here. An empty handler leaves its command without effect.
#pragma once

#include "app/progress_presenter.h"
#include "base/ui/main_window_port.h"

namespace corvane {

class Application;

void Wire_Main_Window_Commands(Application& app, IMainWindow& window, IProgressPanelView& panel,
                               MainWindowCommands& commands);

}  // namespace corvane
