#include "db/scramble.h"

#include "base/ansi_text.h"

namespace corvane {

std::string Scramble_Text(std::string_view text) {
    std::string bytes = Utf8_To_Ansi(text);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(static_cast<unsigned char>(bytes[i]) ^ ((i + 1) % 32));
    }
    return Ansi_To_Utf8(bytes);
}

}  // namespace corvane
