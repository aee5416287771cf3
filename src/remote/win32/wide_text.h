// UTF-8 <-> UTF-16 at the Win32 boundary of the remote backends.
#pragma once

#include <string>
#include <string_view>

namespace corvane::remote::win32 {

[[nodiscard]] std::wstring To_Wide(std::string_view utf8);
[[nodiscard]] std::string To_Utf8(std::wstring_view wide);

}  // namespace corvane::remote::win32
