// Open_Url: a document, web address or mail address opened with the shell's
// "open" verb, shown normally. Returns the shell's result (above 32 = success).
#pragma once

#include <cstdint>
#include <string_view>

#include "base/ports/shell.h"

namespace corvane {

inline std::intptr_t Open_Url(IShell& shell, std::string_view target) { return shell.Open(target); }

}  // namespace corvane
