// Entry point of Corvane.exe: restricts the DLL search to the system
// directory, builds the Windows ports and the Application, runs the start
// sequence (Main), then the message loop until the main window closes. A
// second copy and a missing database end here at once.
#include <windows.h>

#include <exception>
#include <string>

#include "app/application.h"
#include "app/win32/show_main_window.h"
#include "base/win32/clock_win32.h"
#include "base/win32/com_init.h"
#include "base/win32/data_protection_win32.h"
#include "base/win32/message_box_win32.h"
#include "base/win32/platform_win32.h"
#include "base/win32/system_library.h"
#include "base/win32/wide_text.h"
#include "db/password_codec.h"
#include "remote/win32/com_runtime.h"

namespace {

int Run_Message_Loop() {
    MSG message{};
    for (;;) {
        const BOOL result = ::GetMessageW(&message, nullptr, 0, 0);
        if (result == 0) return static_cast<int>(message.wParam);
        if (result == -1) return 1;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

int Run() {
    const corvane::win32::ComInit com;
    // COM security must be in place before any interface is marshalled (the
    // shell's objects may be): WMI proxies need impersonation.
    try {
        corvane::remote::win32::Initialize_Com_Security();
    } catch (const std::exception&) {
        // Connections set their own proxy security; a refused default is not fatal.
    }
    corvane::win32::Win32Platform platform;
    corvane::win32::Win32Clock clock;
    corvane::win32::Win32MessageBox messages;
    corvane::Application app(platform, clock, messages);
    corvane::win32::Win32DataProtection protection;
    corvane::PasswordCodec passwords(protection, app.Reports());
    app.Db().Attach_Password_Codec(&passwords);
    try {
        switch (app.Main([](corvane::Application& a) { corvane::Show_Main_Window(a); })) {
            case corvane::Application::StartResult::AlreadyRunning: return 0;
            case corvane::Application::StartResult::DatabaseMissing: return 1;
            case corvane::Application::StartResult::WindowShown: break;
        }
        const int exitCode = Run_Message_Loop();
        app.End_Program();
        return exitCode;
    } catch (const std::exception& error) {
        app.Reports().Show_Error(true, std::string("Corvane stopped: ") + error.what());
        app.End_Program();
        return 1;
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    corvane::win32::Restrict_Dll_Search_To_System();
    try {
        return Run();
    } catch (const std::exception& error) {
        ::MessageBoxW(nullptr, corvane::win32::Widen(error.what()).c_str(), L"Corvane", MB_OK | MB_ICONERROR);
        return 1;
    }
}
