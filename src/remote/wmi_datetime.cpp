#include "remote/wmi_datetime.h"

#include <cstdio>
#include <cstdlib>

namespace corvane::remote {

std::string Format_Wmi_Date_Time(const DateTime& value) {
    char buffer[40];
    const int offset = value.utcOffsetMinutes;
    std::snprintf(buffer, sizeof buffer, "%04d%02d%02d%02d%02d%02d.000000%c%03d", value.year, value.month, value.day,
                  value.hour, value.minute, value.second, offset < 0 ? '-' : '+', std::abs(offset) % 1000);
    return buffer;
}

std::optional<DateTime> Parse_Wmi_Date_Time(std::string_view text) {
    if (text.size() < 14) return std::nullopt;
    for (std::size_t i = 0; i < 14; ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
    }
    auto number = [&](std::size_t at, std::size_t length) {
        int n = 0;
        for (std::size_t i = at; i < at + length; ++i) n = n * 10 + (text[i] - '0');
        return n;
    };
    DateTime value;
    value.year = number(0, 4);
    value.month = number(4, 2);
    value.day = number(6, 2);
    value.hour = number(8, 2);
    value.minute = number(10, 2);
    value.second = number(12, 2);
    if (value.month < 1 || value.month > 12 || value.day < 1 || value.day > 31 || value.hour > 23 ||
        value.minute > 59 || value.second > 59) {
        return std::nullopt;
    }
    if (text.size() >= 25 && (text[21] == '+' || text[21] == '-')) {
        bool digits = true;
        for (std::size_t i = 22; i < 25; ++i) digits = digits && text[i] >= '0' && text[i] <= '9';
        if (digits) value.utcOffsetMinutes = (text[21] == '-' ? -1 : 1) * number(22, 3);
    }
    return value;
}

}  // namespace corvane::remote
