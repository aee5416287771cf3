// UTF-8 <-> UTF-16 at the Win32 boundary of the remote backends: the
// program's shared helpers, named for use inside this namespace.
#pragma once

#include "app/win32/wide_text.h"

namespace corvane::remote::win32 {

using ::corvane::win32::Narrow;
using ::corvane::win32::Widen;

}  // namespace corvane::remote::win32
