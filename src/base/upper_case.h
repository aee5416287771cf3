// Upper case of one character as Windows' CharUpperBuffW gives it: ASCII and
// the simple one-to-one pairs of the Basic Multilingual Plane, never a
// mapping that changes the length ("ß" stays "ß"). Characters beyond the BMP
// keep their form. Upper_Text (text.h) applies it to a whole text.
#pragma once

namespace corvane {

[[nodiscard]] char32_t Upper_Code_Point(char32_t cp) noexcept;

}  // namespace corvane
