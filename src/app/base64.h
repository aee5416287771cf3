// Base64 (RFC 4648, with padding) for binary blobs kept in text columns.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace corvane {

[[nodiscard]] std::string Base64_Encode(std::string_view bytes);
// Nothing for text that is not Base64 (a wrong character or length).
[[nodiscard]] std::optional<std::string> Base64_Decode(std::string_view text);

}  // namespace corvane
