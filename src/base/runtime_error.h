// The program's run-time error: a number, a description and a source.
// Every layer raises this one type; which layer shows, logs or swallows it is
// decided where it is caught. HRESULTs travel as their signed 32-bit value.
#pragma once

#include <cstdint>
#include <exception>
#include <source_location>
#include <string>

namespace corvane {

inline constexpr const char* kProductName = "Corvane";

class RuntimeError : public std::exception {
public:
    RuntimeError(std::int32_t number, std::string description, std::string source = kProductName);
    // An error raised where a system call failed: the place goes to the log,
    // never into the message the user sees.
    RuntimeError(std::int32_t number, std::string description, const std::source_location& where);

    [[nodiscard]] std::int32_t Number() const noexcept { return number_; }
    [[nodiscard]] const std::string& Description() const noexcept { return description_; }
    [[nodiscard]] const std::string& Source() const noexcept { return source_; }
    // "number: description", the form in which unexpected errors are shown.
    [[nodiscard]] std::string Text() const;
    // "remote/win32/com_locator.cpp:120" where the error was raised, or "".
    [[nodiscard]] const std::string& Origin() const noexcept { return origin_; }
    [[nodiscard]] const char* what() const noexcept override { return what_.c_str(); }

private:
    std::int32_t number_;
    std::string description_;
    std::string source_;
    std::string origin_;
    std::string what_;
};

// Error numbers the program raises itself.
namespace error_number {
inline constexpr std::int32_t kSubscriptOutOfRange = 9;  // reading a cell a result does not have
inline constexpr std::int32_t kTypeMismatch = 13;        // a text that is no number where one is needed
inline constexpr std::int32_t kFileNotFound = 53;
inline constexpr std::int32_t kObjectNotSet = 91;            // a service object that is not held
inline constexpr std::int32_t kStatementFailed = 1001;       // an SQL statement failed (already reported)
inline constexpr std::int32_t kPasswordNotProtected = 1002;  // a password that could not be stored protected
}  // namespace error_number

// An HRESULT as the signed number that run-time errors carry (0x800706BA -> -2147023174).
[[nodiscard]] constexpr std::int32_t Hresult_Number(std::uint32_t hresult) noexcept {
    return static_cast<std::int32_t>(hresult);
}

}  // namespace corvane
