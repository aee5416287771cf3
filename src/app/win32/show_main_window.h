// The one entry into the main window that WinMain hands to Application::Main:
// loads the main window, shows it, and arranges that closing it ends the
// program (End_Program) and the message loop.
#pragma once

namespace corvane {

class Application;

void Show_Main_Window(Application& app);

}  // namespace corvane
