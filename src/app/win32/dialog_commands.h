// The main window's Manage Computers, Exception List and Options commands:
// each opens its dialog modally over the window, on the program's database.
// The computer dialog keeps the window's computer tree in step.
#pragma once

#include "base/ui/main_window_port.h"

namespace corvane {
class Application;
}

namespace corvane::win32 {

class MainWindow;

void Wire_Dialog_Commands(Application& app, MainWindow& window, MainWindowCommands& commands);

}  // namespace corvane::win32
