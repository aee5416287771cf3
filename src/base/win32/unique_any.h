// One owning, move-only type per kind of Windows handle: the close function and
// the invalid value are part of the type (in the shape of WIL's unique_any).
// get() lends the handle, release() gives it up, reset() closes it, put()
// closes it and hands out its address for functions that return a handle.
#pragma once

#include <windows.h>

#include <cstdint>
#include <type_traits>
#include <utility>

namespace corvane::win32 {

// The invalid value is given as an integer (0 or -1): a pointer constant such
// as INVALID_HANDLE_VALUE cannot be a template argument.
template <typename Handle, auto Close, std::intptr_t InvalidValue = 0>
class unique_any {
    static Handle Invalid_Handle() noexcept {
        if constexpr (std::is_pointer_v<Handle>) {
            return reinterpret_cast<Handle>(InvalidValue);
        } else {
            return static_cast<Handle>(InvalidValue);
        }
    }

public:
    unique_any() noexcept = default;
    explicit unique_any(Handle handle) noexcept : handle_(handle) {}
    ~unique_any() { reset(); }
    unique_any(const unique_any&) = delete;
    unique_any& operator=(const unique_any&) = delete;
    unique_any(unique_any&& other) noexcept : handle_(other.release()) {}
    unique_any& operator=(unique_any&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    [[nodiscard]] Handle get() const noexcept { return handle_; }
    [[nodiscard]] bool is_valid() const noexcept { return handle_ != Invalid_Handle(); }
    explicit operator bool() const noexcept { return is_valid(); }

    // Gives up ownership without closing.
    [[nodiscard]] Handle release() noexcept { return std::exchange(handle_, Invalid_Handle()); }
    // Closes the owned handle (if any) and takes the new one.
    void reset(Handle handle = Invalid_Handle()) noexcept {
        const Handle old = std::exchange(handle_, handle);
        if (old != Invalid_Handle()) Close(old);
    }
    // Closes the owned handle and returns the address to receive a new one.
    [[nodiscard]] Handle* put() noexcept {
        reset();
        return &handle_;
    }

private:
    Handle handle_ = Invalid_Handle();
};

namespace detail {
inline void Close_Handle(HANDLE handle) noexcept { ::CloseHandle(handle); }
inline void Close_Key(HKEY key) noexcept { ::RegCloseKey(key); }
inline void Close_Find(HANDLE find) noexcept { ::FindClose(find); }
inline void Destroy_Window(HWND window) noexcept { ::DestroyWindow(window); }
inline void Free_Library(HMODULE module) noexcept { ::FreeLibrary(module); }
inline void Delete_Object(HGDIOBJ object) noexcept { ::DeleteObject(object); }
inline void Destroy_Icon(HICON icon) noexcept { ::DestroyIcon(icon); }
inline void Destroy_Menu(HMENU menu) noexcept { ::DestroyMenu(menu); }
inline void Local_Free(HLOCAL memory) noexcept { ::LocalFree(memory); }
}  // namespace detail

// Kernel objects whose failure value is NULL (mutexes, events, processes, threads).
using unique_handle = unique_any<HANDLE, detail::Close_Handle>;
// CreateFileW and friends, which fail with INVALID_HANDLE_VALUE.
using unique_hfile = unique_any<HANDLE, detail::Close_Handle, -1>;
using unique_hkey = unique_any<HKEY, detail::Close_Key>;
using unique_find = unique_any<HANDLE, detail::Close_Find, -1>;
// Only for windows we create; views of other windows are plain HWNDs.
using unique_hwnd = unique_any<HWND, detail::Destroy_Window>;
using unique_hmodule = unique_any<HMODULE, detail::Free_Library>;
using unique_hfont = unique_any<HFONT, detail::Delete_Object>;
using unique_hbitmap = unique_any<HBITMAP, detail::Delete_Object>;
using unique_hicon = unique_any<HICON, detail::Destroy_Icon>;
using unique_hmenu = unique_any<HMENU, detail::Destroy_Menu>;
using unique_hlocal = unique_any<HLOCAL, detail::Local_Free>;

}  // namespace corvane::win32
