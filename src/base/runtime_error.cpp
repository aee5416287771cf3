#include "base/runtime_error.h"

namespace corvane {

RuntimeError::RuntimeError(std::int32_t number, std::string description, std::string source)
    : number_(number), description_(std::move(description)), source_(std::move(source)) {
    what_ = Text();
}

std::string RuntimeError::Text() const {
    return std::to_string(number_) + ": " + description_;
}

}  // namespace corvane
