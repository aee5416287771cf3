// A bare stand-in for the main window: an empty top-level window titled
// "Corvane". Closing it calls End_Program and ends the message loop.
// Replaced by the full main window behind the same Show_Main_Window.
#pragma once

#include <windows.h>

namespace corvane {

class Application;

namespace win32 {

inline constexpr wchar_t kBareMainWindowClass[] = L"CorvaneMainWindow";

// Creates and shows the window; nullptr when it could not be created.
HWND Create_Bare_Main_Window(Application& app);

}  // namespace win32
}  // namespace corvane
