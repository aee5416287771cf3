#include "base/extract_file_path.h"

#include <algorithm>
#include <string_view>

#include "base/text.h"

namespace corvane {

bool Extract_File_Path(std::string& text) {
    text = Trim(text);
    if (!text.empty() && text.front() == '"') {
        const std::size_t closing = text.find('"', 1);
        if (closing == std::string::npos) return false;
        text = text.substr(1, closing - 1);
    }
    if (text.size() < 3 || text[1] != ':' || text[2] != '\\') return false;

    const std::size_t stop = text.find_first_of("/;:*?\"><|", 3);
    if (stop != std::string::npos) text.erase(stop);

    const std::size_t dot = text.rfind('.');
    if (dot == std::string::npos) return true;
    const std::size_t comma = text.find(',', dot + 1);
    const std::size_t blank = text.find(' ', dot + 1);
    const std::size_t cut = std::min(comma, blank);
    const std::size_t backslash = text.rfind('\\');
    if (cut != std::string::npos && (backslash == std::string::npos || backslash < dot)) text.erase(cut);
    return true;
}

}  // namespace corvane
