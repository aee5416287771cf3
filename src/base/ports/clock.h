// Port: the local clock and sleeping. Tests use a fake that advances time
// instead of waiting, so waits of seconds cost nothing.
#pragma once

#include <cstdint>

namespace corvane {

struct LocalTime {
    int year = 0;   // four digits
    int month = 0;  // 1..12
    int day = 0;    // 1..31
    int hour = 0;   // 0..23
    int minute = 0;
    int second = 0;
};

class IClock {
public:
    virtual ~IClock() = default;
    IClock() = default;
    IClock(const IClock&) = delete;
    IClock& operator=(const IClock&) = delete;

    [[nodiscard]] virtual LocalTime Now() = 0;
    virtual void Sleep(std::uint32_t milliseconds) = 0;
};

}  // namespace corvane
