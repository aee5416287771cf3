// Reducing a registry text (a command line, a quoted path with arguments, an
// icon reference) to the plain file or folder path it names, and the array
// test the category routines use on enumeration results.
#pragma once

#include <string>
#include <vector>

namespace corvane {

// Trims the text, keeps what lies between a leading double quote and the next
// one, and cuts arguments, icon indexes and other tails. True when the result
// is an absolute drive path ("C:\..."); the text is reduced in place either way.
// A text that opens a quote it never closes is no path (False).
[[nodiscard]] bool Extract_File_Path(std::string& text);

// True when an enumeration gave at least one element.
template <typename T>
[[nodiscard]] bool Has_Elements(const std::vector<T>& items) noexcept {
    return !items.empty();
}

}  // namespace corvane
