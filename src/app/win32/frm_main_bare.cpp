#include "app/win32/frm_main_bare.h"

#include "app/application.h"
#include "app/win32/show_main_window.h"
#include "app/win32/window_guard.h"

namespace corvane {
namespace win32 {
namespace {

Application* App_Of(HWND window) {
    return reinterpret_cast<Application*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT Handle_Message(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCCREATE: {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
            break;
        }
        case WM_DESTROY:
            if (Application* app = App_Of(window)) {
                ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
                app->End_Program();
            }
            ::PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK Bare_Window_Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    Application* app = App_Of(window);
    return Call_Guarded(app ? &app->Reports() : nullptr, "Main window", LRESULT{0},
                        [&] { return Handle_Message(window, message, wParam, lParam); });
}

bool Register_Class() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = Bare_Window_Procedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.hIcon = ::LoadIconW(windowClass.hInstance, MAKEINTRESOURCEW(1));
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kBareMainWindowClass;
    return ::RegisterClassExW(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

HWND Create_Bare_Main_Window(Application& app) {
    if (!Register_Class()) return nullptr;
    HWND window = ::CreateWindowExW(0, kBareMainWindowClass, L"Corvane", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                    CW_USEDEFAULT, 800, 600, nullptr, nullptr, ::GetModuleHandleW(nullptr), &app);
    if (!window) return nullptr;
    // End_Program unloads the forms first: close the window unless it is
    // already being destroyed (WM_DESTROY clears the window's application).
    app.Set_Unload_All_Forms([window] {
        if (::IsWindow(window) && App_Of(window)) ::DestroyWindow(window);
    });
    ::ShowWindow(window, SW_SHOWNORMAL);
    ::UpdateWindow(window);
    return window;
}

}  // namespace win32

void Show_Main_Window(Application& app) {
    if (win32::Create_Bare_Main_Window(app)) return;
    // Without a window nothing could ever end the message loop: end now.
    app.Reports().Show_Error(false, "The main window could not be created (error " +
                                        std::to_string(::GetLastError()) + ")");
    app.End_Program();
    ::PostQuitMessage(1);
}

}  // namespace corvane
