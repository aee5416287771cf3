// The local clock (GetLocalTime) and Sleep.
#pragma once

#include "base/ports/clock.h"

namespace corvane::win32 {

class Win32Clock final : public IClock {
public:
    Win32Clock() = default;
    [[nodiscard]] LocalTime Now() override;
    void Sleep(std::uint32_t milliseconds) override;
};

}  // namespace corvane::win32
