// The window procedure of a window served by one C++ object. The object is
// passed as the creation parameter and bound to the window once, at
// WM_NCCREATE; every later message goes to Owner::Window_Message, and at
// WM_NCDESTROY the binding ends before Owner::Window_Detached (which may
// delete the object). Messages before WM_NCCREATE (WM_GETMINMAXINFO) and after
// Unbind go to DefWindowProcW.
//
// Owner provides:
//   void Window_Attached(HWND window) noexcept;
//   void Window_Detached() noexcept;
//   LRESULT Window_Message(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
#pragma once

#include <windows.h>

namespace corvane::win32 {

template <typename Owner>
class WindowBase {
public:
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;

protected:
    WindowBase() noexcept = default;
    ~WindowBase() = default;

    // Registers the class with this procedure; a class registered before counts.
    [[nodiscard]] static bool Register_Window_Class(WNDCLASSEXW windowClass) noexcept {
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = &Window_Procedure;
        if (windowClass.hInstance == nullptr) windowClass.hInstance = ::GetModuleHandleW(nullptr);
        return ::RegisterClassExW(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }

    // Creates the window bound to this object. On failure `error` is the
    // creation's own error, read before anything else runs.
    HWND Create_Window(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x, int y,
                       int width, int height, DWORD& error) noexcept {
        HWND window = ::CreateWindowExW(exStyle, className, title, style, x, y, width, height, nullptr, nullptr,
                                        ::GetModuleHandleW(nullptr), static_cast<Owner*>(this));
        error = window ? ERROR_SUCCESS : ::GetLastError();
        return window;
    }

    // Ends the binding early (an owner that destroys its window from its
    // destructor): later messages no longer reach the object.
    static void Unbind(HWND window) noexcept {
        if (window) ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    }

private:
    static LRESULT CALLBACK Window_Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
        auto* self = reinterpret_cast<Owner*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == WM_NCCREATE) {
            self = static_cast<Owner*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
            ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
            self->Window_Attached(window);
        }
        if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            Unbind(window);
            self->Window_Detached();
            return ::DefWindowProcW(window, message, wParam, lParam);
        }
        return self->Window_Message(message, wParam, lParam);
    }
};

}  // namespace corvane::win32
