// clsLog: the program's plain-text log next to the executable. One line per
// event: a type prefix, the text padded to 100 characters, ": " and the date
// "DD-mmm-YY HH:Nn:ss" with English month names, CR LF, in the ANSI code page.
// The file restarts empty once it grows past 1 MiB. Failures to write are
// silent: the line is lost and the program goes on.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>

#include "base/ports/clock.h"

namespace corvane {

class RuntimeError;

enum LogType : int { LOG_PLAIN = 0, LOG_INFO = 1, LOG_WARNING = 2, LOG_ERROR = 3 };

inline constexpr std::uintmax_t kLogRestartSize = 0x100000;

class clsLog {
public:
    // defaultPath: program folder, "\", executable name, ".log". Opens nothing.
    clsLog(std::string defaultPath, IClock& clock);
    ~clsLog();
    clsLog(const clsLog&) = delete;
    clsLog& operator=(const clsLog&) = delete;

    void Start_Logging(const std::string& path);
    void Log_Event(std::string_view text, int type, bool dated);
    // text, ": ErrNo=", number, ": ErrDesc=", description, ": ErrSrc=", source; an error line with date.
    void Log_Error(std::string_view text, const RuntimeError& error);

    [[nodiscard]] const std::string& Path() const noexcept { return path_; }

private:
    void Open();
    void Close();

    std::string path_;
    IClock& clock_;
    std::ofstream file_;
};

// Builds one line exactly as Log_Event writes it (UTF-8, before the code page
// conversion), without the file handling. Control characters in the text are
// written escaped ("\r", "\n", "\t", "\x01") so that every event is one line.
[[nodiscard]] std::string Format_Log_Line(std::string_view text, int type, bool dated, const LocalTime& now);
// "DD-mmm-YY HH:Nn:ss", English month names whatever the locale.
[[nodiscard]] std::string Format_Log_Date(const LocalTime& now);

}  // namespace corvane
