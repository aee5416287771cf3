// Secret: the one owner of a plain password in memory. Its bytes are
// overwritten when it is dropped, moved from or reassigned, so no plain copy
// outlives its use. It never converts to text implicitly: View() is the one
// way in, for the call that needs the password itself.
#pragma once

#include <string>
#include <string_view>
#include <utility>

namespace corvane {

// Overwrites the characters of `text` in a way the optimizer keeps.
inline void Wipe(std::string& text) noexcept {
    volatile char* bytes = text.data();
    for (std::size_t i = 0; i < text.size(); ++i) bytes[i] = 0;
    text.clear();
}

class Secret {
public:
    Secret() = default;
    explicit Secret(std::string_view text) : text_(text) {}
    // Takes the text over and wipes the caller's copy.
    static Secret Adopt(std::string& text) {
        Secret secret(text);
        Wipe(text);
        return secret;
    }
    ~Secret() { Wipe(text_); }
    Secret(const Secret& other) : text_(other.text_) {}
    Secret& operator=(const Secret& other) {
        if (this != &other) {
            Wipe(text_);
            text_ = other.text_;
        }
        return *this;
    }
    Secret(Secret&& other) noexcept : text_(other.text_) { Wipe(other.text_); }
    Secret& operator=(Secret&& other) noexcept {
        if (this != &other) {
            Wipe(text_);
            text_ = other.text_;
            Wipe(other.text_);
        }
        return *this;
    }

    [[nodiscard]] std::string_view View() const noexcept { return text_; }
    [[nodiscard]] bool Empty() const noexcept { return text_.empty(); }
    [[nodiscard]] std::size_t Size() const noexcept { return text_.size(); }
    friend bool operator==(const Secret& a, const Secret& b) noexcept { return a.text_ == b.text_; }

private:
    std::string text_;
};

}  // namespace corvane
