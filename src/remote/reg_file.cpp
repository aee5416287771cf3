#include "remote/reg_file.h"

#include <algorithm>
#include <cstdio>

#include "base/ansi_text.h"
#include "base/runtime_error.h"
#include "base/text.h"
#include "base/utf8.h"
#include "remote/registry_bytes.h"

namespace corvane::remote {
namespace {

constexpr std::string_view kHeader5 = "Windows Registry Editor Version 5.00";
constexpr std::string_view kHeader4 = "REGEDIT4";

[[noreturn]] void Bad(std::string_view what) {
    throw RuntimeError(error_number::kTypeMismatch, "Invalid registry file: " + std::string(what));
}

struct RootName {
    std::uint32_t root;
    std::string_view longName;
    std::string_view shortName;
};
constexpr RootName kRoots[] = {{kHkeyClassesRoot, "HKEY_CLASSES_ROOT", "HKCR"},
                               {kHkeyCurrentUser, "HKEY_CURRENT_USER", "HKCU"},
                               {kHkeyLocalMachine, "HKEY_LOCAL_MACHINE", "HKLM"},
                               {kHkeyUsers, "HKEY_USERS", "HKU"},
                               {kHkeyCurrentConfig, "HKEY_CURRENT_CONFIG", "HKCC"}};

// The data of a value line ("name"=data or @=data) starts after the quoted
// name and its "="; npos for any other line. The name is skipped with its
// escapes, so a name holding "=hex" or a quote never decides anything.
std::size_t Data_Start(std::string_view line) {
    std::size_t at = 0;
    while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
    if (at < line.size() && line[at] == '@') {
        ++at;
    } else if (at < line.size() && line[at] == '"') {
        for (++at; at < line.size() && line[at] != '"'; ++at) {
            if (line[at] == '\\') ++at;
        }
        if (at >= line.size()) return std::string_view::npos;
        ++at;
    } else {
        return std::string_view::npos;
    }
    while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
    if (at >= line.size() || line[at] != '=') return std::string_view::npos;
    ++at;
    while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
    return at;
}

// Only hex data continues over lines; a quoted text ending in "\" does not.
bool Is_Hex_Line(std::string_view line) {
    const std::size_t data = Data_Start(line);
    return data != std::string_view::npos && Lower_Ascii(line.substr(data, 3)) == "hex";
}

// Logical lines: hex data continued over several lines (each ending in "\")
// joined into one; line ends of any kind.
std::vector<std::string> Logical_Lines(std::string_view text) {
    std::vector<std::string> lines;
    std::string current;
    bool continuing = false;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t end = text.find_first_of("\r\n", i);
        if (end == std::string_view::npos) end = text.size();
        const std::string line = continuing ? Trim(text.substr(i, end - i)) : std::string(text.substr(i, end - i));
        const std::string trimmed = Trim(line);
        const bool hexLine = continuing || Is_Hex_Line(trimmed);
        if (hexLine && !trimmed.empty() && trimmed.back() == '\\') {
            current += trimmed.substr(0, trimmed.size() - 1);
            continuing = true;
        } else {
            current += line;
            lines.push_back(std::move(current));
            current.clear();
            continuing = false;
        }
        i = end;
        if (i < text.size() && text[i] == '\r') ++i;
        if (i < text.size() && text[i] == '\n') ++i;
    }
    if (!current.empty()) lines.push_back(std::move(current));
    return lines;
}

// A quoted text starting at text[at] == '"'; at moves past the closing quote.
std::string Read_Quoted(std::string_view text, std::size_t& at) {
    std::string out;
    ++at;
    while (at < text.size()) {
        const char c = text[at];
        if (c == '\\' && at + 1 < text.size()) {
            out += text[at + 1];
            at += 2;
        } else if (c == '"') {
            ++at;
            return out;
        } else {
            out += c;
            ++at;
        }
    }
    Bad("unterminated text");
}

// One to eight hexadecimal digits and nothing else.
std::uint32_t Hex_Number(std::string_view digits, std::string_view what) {
    if (digits.empty() || digits.size() > 8) Bad(std::string(what) + " " + std::string(digits));
    std::uint32_t value = 0;
    for (char c : digits) {
        value <<= 4;
        if (c >= '0' && c <= '9')
            value |= static_cast<std::uint32_t>(c - '0');
        else if (c >= 'a' && c <= 'f')
            value |= static_cast<std::uint32_t>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            value |= static_cast<std::uint32_t>(c - 'A' + 10);
        else
            Bad(std::string(what) + " " + std::string(digits));
    }
    return value;
}

std::vector<std::uint8_t> Hex_Bytes(std::string_view text) {
    std::vector<std::uint8_t> bytes;
    std::string digits;
    auto flush = [&] {
        const std::string d = Trim(digits);
        if (d.empty()) return;
        if (d.size() > 2) Bad("hex byte " + d);
        bytes.push_back(static_cast<std::uint8_t>(Hex_Number(d, "hex byte")));
        digits.clear();
    };
    for (char c : text) {
        if (c == ',') {
            flush();
        } else if (c != ' ' && c != '\t') {
            digits += c;
        }
    }
    flush();
    return bytes;
}

std::string Bytes_Text(const std::vector<std::uint8_t>& bytes, RegFormat format) {
    if (format == RegFormat::Version5) return Decode_Registry_Bytes(kRegSz, bytes).text;
    std::string ansi;
    for (std::uint8_t b : bytes) {
        if (b == 0) break;
        ansi += static_cast<char>(b);
    }
    return Ansi_To_Utf8(ansi);
}

std::vector<std::string> Multi_Parts(const std::vector<std::uint8_t>& bytes, RegFormat format) {
    if (format == RegFormat::Version5) return Decode_Registry_Bytes(kRegMultiSz, bytes).parts;
    std::vector<std::string> parts;
    const std::string text = Ansi_To_Utf8(std::string(bytes.begin(), bytes.end()));
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t zero = text.find('\0', start);
        const std::size_t end = zero == std::string::npos ? text.size() : zero;
        if (end == start) break;  // the double zero ends the list
        parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

RegistryValue Parse_Data(std::string_view data, RegFormat format) {
    RegistryValue value;
    if (!data.empty() && data.front() == '"') {
        std::size_t at = 0;
        value.type = kRegSz;
        value.text = Read_Quoted(data, at);
        return value;
    }
    const std::string lower = Lower_Ascii(data);
    if (lower.rfind("dword:", 0) == 0) {
        value.type = kRegDword;
        value.number = Hex_Number(Trim(data.substr(6)), "dword");
        return value;
    }
    if (lower.rfind("hex", 0) != 0) Bad(std::string(data));
    std::size_t colon = data.find(':');
    if (colon == std::string_view::npos) Bad(std::string(data));
    std::uint32_t type = kRegBinary;
    if (data.size() > 4 && data[3] == '(') {
        const std::size_t close = data.find(')');
        if (close == std::string_view::npos || close > colon) Bad(std::string(data));
        type = Hex_Number(data.substr(4, close - 4), "value type");
    }
    const std::vector<std::uint8_t> bytes = Hex_Bytes(data.substr(colon + 1));
    value.type = type;
    switch (type) {
        case kRegSz:
        case kRegExpandSz: value.text = Bytes_Text(bytes, format); break;
        case kRegMultiSz: value.parts = Multi_Parts(bytes, format); break;
        case kRegDword:
        case kRegQword:
            for (std::size_t i = 0; i < bytes.size() && i < 8; ++i)
                value.number |= static_cast<std::uint64_t>(bytes[i]) << (8 * i);
            break;
        default: value.bytes = bytes; break;
    }
    return value;
}

}  // namespace

bool Has_Control_Character(std::string_view text) {
    return std::ranges::any_of(text, [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

namespace {

std::string Quote(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string Hex_List(const std::vector<std::uint8_t>& bytes) {
    std::string out;
    char buffer[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(buffer, sizeof buffer, "%02x", bytes[i]);
        if (i > 0) out += ',';
        out += buffer;
    }
    return out;
}

std::vector<std::uint8_t> Text_Bytes(std::string_view text, RegFormat format) {
    if (format == RegFormat::Version5) return Utf8_To_Utf16le(text, true);
    std::string ansi = Utf8_To_Ansi(text);
    std::vector<std::uint8_t> bytes(ansi.begin(), ansi.end());
    bytes.push_back(0);
    return bytes;
}

std::string Value_Data(const RegistryValue& value, RegFormat format) {
    char buffer[32];
    switch (value.type) {
        // Text a quoted line cannot carry (a line break ends the line) is written as its bytes.
        case kRegSz:
            return Has_Control_Character(value.text) ? "hex(1):" + Hex_List(Text_Bytes(value.text, format))
                                                     : Quote(value.text);
        case kRegDword:
            std::snprintf(buffer, sizeof buffer, "dword:%08x", static_cast<unsigned>(value.number & 0xFFFFFFFFu));
            return buffer;
        case kRegExpandSz: return "hex(2):" + Hex_List(Text_Bytes(value.text, format));
        case kRegMultiSz: {
            std::vector<std::uint8_t> bytes;
            for (const std::string& part : value.parts) {
                const auto encoded = Text_Bytes(part, format);
                bytes.insert(bytes.end(), encoded.begin(), encoded.end());
            }
            const auto end = Text_Bytes("", format);
            bytes.insert(bytes.end(), end.begin(), end.end());
            return "hex(7):" + Hex_List(bytes);
        }
        case kRegQword: {
            std::vector<std::uint8_t> bytes;
            for (int i = 0; i < 8; ++i) bytes.push_back(static_cast<std::uint8_t>((value.number >> (8 * i)) & 0xFF));
            return "hex(b):" + Hex_List(bytes);
        }
        case kRegBinary: return "hex:" + Hex_List(value.bytes);
        default: std::snprintf(buffer, sizeof buffer, "hex(%x):", value.type); return buffer + Hex_List(value.bytes);
    }
}

}  // namespace

std::optional<std::uint32_t> Root_Key_From_Name(std::string_view name) {
    const std::string upper = Upper_Ascii(name);
    for (const RootName& root : kRoots) {
        if (upper == root.longName || upper == root.shortName) return root.root;
    }
    return std::nullopt;
}

std::string Root_Key_Name(std::uint32_t root) {
    for (const RootName& entry : kRoots) {
        if (entry.root == root) return std::string(entry.longName);
    }
    return {};
}

RegFile Parse_Reg_Text(std::string_view utf8) {
    if (utf8.substr(0, 3) == "\xEF\xBB\xBF") utf8.remove_prefix(3);
    RegFile file;
    bool headerSeen = false;
    RegKeyBlock* current = nullptr;
    for (const std::string& raw : Logical_Lines(utf8)) {
        // A byte-order mark can start any line of files joined by "copy a + b c".
        const std::string line = Trim(Replace_All(raw, "\xEF\xBB\xBF", ""));
        if (line.empty() || line.front() == ';') continue;
        if (line == kHeader5 || line == kHeader4) {
            if (!headerSeen) file.format = line == kHeader4 ? RegFormat::Regedit4 : RegFormat::Version5;
            headerSeen = true;
            continue;
        }
        if (!headerSeen) Bad("missing header");
        if (line.front() == '[') {
            if (line.back() != ']') Bad(line);
            std::string_view key = std::string_view(line).substr(1, line.size() - 2);
            RegKeyBlock block;
            if (!key.empty() && key.front() == '-') {
                block.deleteKey = true;
                key.remove_prefix(1);
            }
            const std::size_t slash = key.find('\\');
            const auto root = Root_Key_From_Name(key.substr(0, slash));
            if (!root) Bad("unknown root in " + line);
            block.root = *root;
            block.keyPath = slash == std::string_view::npos ? std::string() : std::string(key.substr(slash + 1));
            file.keys.push_back(std::move(block));
            current = &file.keys.back();
            continue;
        }
        if (current == nullptr) Bad("value outside a key: " + line);
        RegValueLine valueLine;
        std::size_t at = 0;
        if (line.front() == '@') {
            at = 1;
        } else if (line.front() == '"') {
            valueLine.name = Read_Quoted(line, at);
        } else {
            Bad(line);
        }
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
        if (at >= line.size() || line[at] != '=') Bad(line);
        const std::string data = Trim(std::string_view(line).substr(at + 1));
        if (data != "-") valueLine.value = Parse_Data(data, file.format);
        current->values.push_back(std::move(valueLine));
    }
    if (!headerSeen) Bad("missing header");
    return file;
}

RegFile Parse_Reg_File(std::span<const std::uint8_t> bytes) {
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        return Parse_Reg_Text(Utf16le_To_Utf8(bytes.subspan(2)));
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (text.substr(0, kHeader4.size()) == kHeader4) return Parse_Reg_Text(Ansi_To_Utf8(text));
    return Parse_Reg_Text(text);
}

namespace {
std::string Keys_Text(std::span<const RegKeyBlock> keys, RegFormat format) {
    std::string out;
    for (const RegKeyBlock& key : keys) {
        out += key.deleteKey ? "[-" : "[";
        out += Root_Key_Name(key.root);
        if (!key.keyPath.empty()) out += "\\" + key.keyPath;
        out += "]\r\n";
        for (const RegValueLine& line : key.values) {
            out += line.name.empty() ? std::string("@") : Quote(line.name);
            out += "=";
            out += line.value ? Value_Data(*line.value, format) : std::string("-");
            out += "\r\n";
        }
        out += "\r\n";
    }
    return out;
}
}  // namespace

std::string Write_Reg_Text(const RegFile& file) {
    std::string out(file.format == RegFormat::Version5 ? kHeader5 : kHeader4);
    out += "\r\n\r\n";
    return out + Keys_Text(file.keys, file.format);
}

std::vector<std::uint8_t> Reg_File_Bytes(const RegFile& file) {
    const std::string text = Write_Reg_Text(file);
    if (file.format == RegFormat::Version5) {
        std::vector<std::uint8_t> bytes = {0xFF, 0xFE};
        const auto encoded = Utf8_To_Utf16le(text, false);
        bytes.insert(bytes.end(), encoded.begin(), encoded.end());
        return bytes;
    }
    const std::string ansi = Utf8_To_Ansi(text);
    return {ansi.begin(), ansi.end()};
}

std::vector<std::uint8_t> Reg_Key_Bytes(std::span<const RegKeyBlock> keys) {
    return Utf8_To_Utf16le(Keys_Text(keys, RegFormat::Version5), false);
}

}  // namespace corvane::remote
