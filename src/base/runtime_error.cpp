#include "base/runtime_error.h"

#include <string_view>

namespace corvane {

RuntimeError::RuntimeError(std::int32_t number, std::string description, std::string source)
    : number_(number), description_(std::move(description)), source_(std::move(source)) {
    what_ = Text();
}

RuntimeError::RuntimeError(std::int32_t number, std::string description, const std::source_location& where)
    : RuntimeError(number, std::move(description)) {
    std::string_view file = where.file_name();
    // The path below the source folder is enough to find the line.
    if (const auto src = file.rfind("src/"); src != std::string_view::npos) file.remove_prefix(src + 4);
    origin_ = std::string(file) + ":" + std::to_string(where.line());
}

std::string RuntimeError::Text() const { return std::to_string(number_) + ": " + description_; }

}  // namespace corvane
