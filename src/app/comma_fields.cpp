#include "app/comma_fields.h"

#include "app/text.h"

namespace corvane {

std::vector<std::string> Read_Comma_Fields(std::string_view text) {
    std::vector<std::string> fields;
    std::size_t lineStart = 0;
    while (lineStart < text.size()) {
        std::size_t lineEnd = text.find_first_of("\r\n", lineStart);
        if (lineEnd == std::string_view::npos) lineEnd = text.size();
        const std::string_view line = text.substr(lineStart, lineEnd - lineStart);
        if (!Trim(line).empty()) {
            std::size_t i = 0;
            for (;;) {
                while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
                std::string field;
                if (i < line.size() && line[i] == '"') {
                    const std::size_t close = line.find('"', i + 1);
                    const std::size_t end = close == std::string_view::npos ? line.size() : close;
                    field = line.substr(i + 1, end - i - 1);
                    i = end == line.size() ? end : end + 1;
                    // Anything between the closing quote and the next comma is dropped.
                    const std::size_t comma = line.find(',', i);
                    i = comma == std::string_view::npos ? line.size() : comma;
                } else {
                    const std::size_t comma = line.find(',', i);
                    const std::size_t end = comma == std::string_view::npos ? line.size() : comma;
                    field = line.substr(i, end - i);
                    i = end;
                }
                fields.push_back(Trim(field));
                if (i >= line.size()) break;
                ++i;  // past the comma
            }
        }
        lineStart = lineEnd + 1;
    }
    return fields;
}

std::string Join_Lines_Crlf(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

}  // namespace corvane
