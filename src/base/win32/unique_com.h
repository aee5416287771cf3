// Owning types for COM resources, beside the handle kinds of unique_any.h:
// a BSTR, a VARIANT and a reference-counted interface pointer. Nothing here
// throws.
#pragma once

#include <windows.h>

#include <oleauto.h>
#include <unknwn.h>

#include <string_view>
#include <utility>

#include "base/win32/unique_any.h"

namespace corvane::win32 {

namespace detail {
inline void Free_Bstr(BSTR text) noexcept { ::SysFreeString(text); }
}  // namespace detail
using unique_bstr = unique_any<BSTR, detail::Free_Bstr>;

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
    unique_variant(unique_variant&& other) noexcept : value_(other.value_) { VariantInit(&other.value_); }
    unique_variant& operator=(unique_variant&& other) noexcept {
        if (this != &other) {
            VariantClear(&value_);
            value_ = other.value_;
            VariantInit(&other.value_);
        }
        return *this;
    }

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

}  // namespace corvane::win32
