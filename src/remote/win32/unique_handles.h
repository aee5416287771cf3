// Owning types for the Win32 and COM resources of the remote backends: one
// small move-only template whose traits name the close function and the
// invalid value, one line per handle kind, a COM pointer, and BSTR/VARIANT
// owners. Nothing here throws.
#pragma once

#include <windows.h>

#include <oleauto.h>
#include <unknwn.h>

#include <string_view>
#include <utility>

namespace corvane::remote::win32 {

template <typename Traits>
class unique_any {
public:
    using pointer = typename Traits::type;

    unique_any() noexcept = default;
    explicit unique_any(pointer value) noexcept : value_(value) {}
    ~unique_any() { reset(); }
    unique_any(const unique_any&) = delete;
    unique_any& operator=(const unique_any&) = delete;
    unique_any(unique_any&& other) noexcept : value_(other.release()) {}
    unique_any& operator=(unique_any&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    [[nodiscard]] pointer get() const noexcept { return value_; }
    [[nodiscard]] bool is_valid() const noexcept { return value_ != Traits::Invalid(); }
    explicit operator bool() const noexcept { return is_valid(); }
    [[nodiscard]] pointer release() noexcept { return std::exchange(value_, Traits::Invalid()); }
    void reset(pointer value = Traits::Invalid()) noexcept {
        const pointer old = std::exchange(value_, value);
        if (old != Traits::Invalid()) Traits::Close(old);
    }
    // Closes what is held and hands out the address for an out-parameter.
    [[nodiscard]] pointer* put() noexcept {
        reset();
        return &value_;
    }

private:
    pointer value_ = Traits::Invalid();
};

struct HkeyTraits {
    using type = HKEY;
    static HKEY Invalid() noexcept { return nullptr; }
    static void Close(HKEY key) noexcept { RegCloseKey(key); }
};
struct HandleTraits {
    using type = HANDLE;
    static HANDLE Invalid() noexcept { return nullptr; }
    static void Close(HANDLE handle) noexcept { CloseHandle(handle); }
};
struct FileHandleTraits {
    using type = HANDLE;
    static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE handle) noexcept { CloseHandle(handle); }
};
struct FindTraits {
    using type = HANDLE;
    static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE handle) noexcept { FindClose(handle); }
};
struct ModuleTraits {
    using type = HMODULE;
    static HMODULE Invalid() noexcept { return nullptr; }
    static void Close(HMODULE module) noexcept { FreeLibrary(module); }
};
struct BstrTraits {
    using type = BSTR;
    static BSTR Invalid() noexcept { return nullptr; }
    static void Close(BSTR text) noexcept { SysFreeString(text); }
};

using unique_hkey = unique_any<HkeyTraits>;
using unique_handle = unique_any<HandleTraits>;        // process, thread, token: NULL when invalid
using unique_hfile = unique_any<FileHandleTraits>;     // CreateFileW, CreateToolhelp32Snapshot
using unique_find = unique_any<FindTraits>;
using unique_hmodule = unique_any<ModuleTraits>;
using unique_bstr = unique_any<BstrTraits>;

// A BSTR copy of UTF-16 text (nullptr only when out of memory).
[[nodiscard]] inline unique_bstr Make_Bstr(std::wstring_view text) {
    return unique_bstr(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
}

// A VARIANT that is cleared when it goes.
class unique_variant {
public:
    unique_variant() noexcept { VariantInit(&value_); }
    ~unique_variant() { VariantClear(&value_); }
    unique_variant(const unique_variant&) = delete;
    unique_variant& operator=(const unique_variant&) = delete;

    [[nodiscard]] const VARIANT& get() const noexcept { return value_; }
    [[nodiscard]] VARIANT& get() noexcept { return value_; }
    void reset() noexcept {
        VariantClear(&value_);
        VariantInit(&value_);
    }
    [[nodiscard]] VARIANT* put() noexcept {
        reset();
        return &value_;
    }

private:
    VARIANT value_;
};

// A reference-counted COM interface pointer.
template <typename T>
class com_ptr {
public:
    com_ptr() noexcept = default;
    ~com_ptr() { reset(); }
    com_ptr(const com_ptr& other) noexcept : value_(other.value_) {
        if (value_) value_->AddRef();
    }
    com_ptr& operator=(const com_ptr& other) noexcept {
        if (this != &other) {
            if (other.value_) other.value_->AddRef();
            reset();
            value_ = other.value_;
        }
        return *this;
    }
    com_ptr(com_ptr&& other) noexcept : value_(std::exchange(other.value_, nullptr)) {}
    com_ptr& operator=(com_ptr&& other) noexcept {
        if (this != &other) {
            reset();
            value_ = std::exchange(other.value_, nullptr);
        }
        return *this;
    }

    [[nodiscard]] T* get() const noexcept { return value_; }
    T* operator->() const noexcept { return value_; }
    explicit operator bool() const noexcept { return value_ != nullptr; }
    void reset() noexcept {
        if (T* old = std::exchange(value_, nullptr)) old->Release();
    }
    [[nodiscard]] T** put() noexcept {
        reset();
        return &value_;
    }
    [[nodiscard]] void** put_void() noexcept { return reinterpret_cast<void**>(put()); }
    // QueryInterface; an empty pointer when the object does not have it.
    template <typename U>
    [[nodiscard]] com_ptr<U> try_query() const noexcept {
        com_ptr<U> result;
        if (value_) {
            if (FAILED(value_->QueryInterface(__uuidof(U), result.put_void()))) result.reset();
        }
        return result;
    }

private:
    T* value_ = nullptr;
};

}  // namespace corvane::remote::win32
