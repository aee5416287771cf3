#include "base/log.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "base/ansi_text.h"
#include "base/file_path.h"
#include "base/runtime_error.h"

namespace corvane {
namespace {

constexpr std::size_t kLineWidth = 100;
constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

const char* Prefix_Of(int type) {
    switch (type) {
        case LOG_INFO: return "I: ";
        case LOG_WARNING: return "W: ";
        case LOG_ERROR: return "E: ";
        default: return "";
    }
}

// Control characters written visibly, so that one event stays one line
// whatever names it carries (a value name with a line feed in it).
std::string Escape_Control_Characters(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F) {
            out += c;
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            out += escaped;
        }
    }
    return out;
}

}  // namespace

std::string Format_Log_Date(const LocalTime& now) {
    const int month = (now.month >= 1 && now.month <= 12) ? now.month - 1 : 0;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02d-%s-%02d %02d:%02d:%02d", now.day, kMonths[month], now.year % 100,
                  now.hour, now.minute, now.second);
    return buffer;
}

std::string Format_Log_Line(std::string_view text, int type, bool dated, const LocalTime& now) {
    std::string line = Prefix_Of(type);
    line.append(Escape_Control_Characters(text));
    // Padding counts characters as the code page sees them.
    const std::size_t width = Utf8_To_Ansi(line).size();
    if (width < kLineWidth) line.append(kLineWidth - width, ' ');
    if (dated) {
        line += ": ";
        line += Format_Log_Date(now);
    }
    line += "\r\n";
    return line;
}

clsLog::clsLog(std::string defaultPath, IClock& clock) : path_(std::move(defaultPath)), clock_(clock) {}

clsLog::~clsLog() { Close(); }

void clsLog::Start_Logging(const std::string& path) {
    path_ = path;
    Open();
}

void clsLog::Open() {
    Close();
    // Binary, appending: an existing log keeps its content, a missing one is created.
    file_.open(Utf8_Path(path_), std::ios::binary | std::ios::app);
}

void clsLog::Close() {
    if (file_.is_open()) file_.close();
}

void clsLog::Log_Event(std::string_view text, int type, bool dated) {
    if (!file_.is_open()) return;
    std::error_code ec;
    const auto size = std::filesystem::file_size(Utf8_Path(path_), ec);
    if (!ec && size > kLogRestartSize) {
        Close();
        std::filesystem::remove(Utf8_Path(path_), ec);
        Open();
        if (!file_.is_open()) return;
    }
    const std::string line = Utf8_To_Ansi(Format_Log_Line(text, type, dated, clock_.Now()));
    file_.write(line.data(), static_cast<std::streamsize>(line.size()));
    file_.flush();
}

void clsLog::Log_Error(std::string_view text, const RuntimeError& error) {
    std::string line(text);
    line += ": ErrNo=" + std::to_string(error.Number());
    line += ": ErrDesc=" + error.Description();
    line += ": ErrSrc=" + error.Source();
    Log_Event(line, LOG_ERROR, true);
}

}  // namespace corvane
