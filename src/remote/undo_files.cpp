#include "remote/undo_files.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>

#include "base/file_path.h"
#include "base/runtime_error.h"
#include "base/text.h"
#include "base/utf8.h"
#include "remote/local_registry.h"

namespace corvane::remote {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00\r\n\r\n";

constexpr std::string_view kComputerLine = "; Computer: ";
// Written before a reserved device name; '~' itself is always written as "%7E".
constexpr char kReservedPrefix = '~';

bool Is_Reserved_Device_Name(std::string_view name) {
    const std::string upper = Upper_Ascii(name);
    if (upper == "CON" || upper == "PRN" || upper == "AUX" || upper == "NUL") return true;
    return upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) && upper[3] >= '0' &&
           upper[3] <= '9';
}

int Hex_Digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The folder name of older versions: characters a file name cannot hold became "_".
std::string Older_Folder_Name(std::string_view name) {
    std::string safe;
    for (const char c : name) {
        const bool bad =
            static_cast<unsigned char>(c) < 32 || std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos;
        safe += bad ? '_' : c;
    }
    if (safe.empty() || safe == "." || safe == "..") safe = "_" + safe;
    return safe;
}

std::string Stamp(const LocalTime& t) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d-%02d-%02d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
    return buffer;
}

// "yyyy-mm-dd hh-nn-ss" (perhaps followed by " (2)") -> "yyyy-mm-dd hh:nn:ss"; empty when the name has another form.
std::string Date_Of(std::string_view stem) {
    if (stem.size() < 19) return {};
    std::string date(stem.substr(0, 19));
    for (std::size_t i = 0; i < date.size(); ++i) {
        const bool separator = i == 4 || i == 7 || i == 10 || i == 13 || i == 16;
        if (separator ? (date[i] != (i == 10 ? ' ' : '-')) : (date[i] < '0' || date[i] > '9')) return {};
    }
    date[13] = ':';
    date[16] = ':';
    return date;
}

bool Write_Bytes(const fs::path& path, const std::vector<std::uint8_t>& bytes, std::ios::openmode mode) {
    std::ofstream file(path, std::ios::binary | mode);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    file.close();
    return static_cast<bool>(file);
}

}  // namespace

std::string Undo_Folder_Name(std::string_view computer) {
    std::string name;
    for (const char c : computer) {
        const auto byte = static_cast<unsigned char>(c);
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_') {
            name += c;
        } else {
            char buffer[4];
            std::snprintf(buffer, sizeof buffer, "%%%02X", byte);
            name += buffer;
        }
    }
    if (name.empty() || Is_Reserved_Device_Name(name)) name.insert(name.begin(), kReservedPrefix);
    return name;
}

std::string Computer_Of_Undo_Folder(std::string_view folderName) {
    if (!folderName.empty() && folderName.front() == kReservedPrefix) folderName.remove_prefix(1);
    std::string name;
    for (std::size_t i = 0; i < folderName.size(); ++i) {
        const int high = i + 2 < folderName.size() && folderName[i] == '%' ? Hex_Digit(folderName[i + 1]) : -1;
        const int low = high >= 0 ? Hex_Digit(folderName[i + 2]) : -1;
        if (low >= 0) {
            name += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            name += folderName[i];
        }
    }
    return name;
}

std::string Undo_Folder(std::string_view localAppData, std::string_view computer) {
    return Path_Utf8(Utf8_Path(localAppData) / "Corvane" / "Undo" / Utf8_Path(Undo_Folder_Name(computer)));
}

namespace {

// A name the format cannot carry: the file would read back otherwise, or not at all.
bool Names_Fit(const std::vector<RegKeyBlock>& blocks, std::string& failure) {
    for (const RegKeyBlock& block : blocks) {
        const std::string key = Root_Key_Name(block.root) + "\\" + block.keyPath;
        if (Has_Control_Character(block.keyPath)) {
            failure = "The key " + key + " has a control character in its name, which an undo file cannot hold";
            return false;
        }
        for (const RegValueLine& line : block.values) {
            if (!Has_Control_Character(line.name)) continue;
            failure = "The value \"" + line.name + "\" of " + key +
                      " has a control character in its name, which an undo file cannot hold";
            return false;
        }
    }
    return true;
}

std::vector<std::uint8_t> File_Bytes(std::string_view path) {
    std::ifstream file(Utf8_Path(path), std::ios::binary);
    if (!file) throw RuntimeError(error_number::kFileNotFound, "File not found: " + std::string(path));
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The name after "; Computer: " in the lines before the first key; empty when there is none.
std::string Recorded_Computer(std::span<const std::uint8_t> bytes) {
    const std::string text = bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE
                                 ? Utf16le_To_Utf8(bytes.subspan(2))
                                 : std::string(bytes.begin(), bytes.end());
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        const std::string line = Trim(std::string_view(text).substr(start, end - start));
        if (line.starts_with('[')) break;
        if (line.starts_with(kComputerLine)) return Computer_Of_Undo_Folder(line.substr(kComputerLine.size()));
        start = end + 1;
    }
    return {};
}

std::vector<fs::path> Undo_Folders(std::string_view localAppData, std::string_view computer) {
    const fs::path undo = Utf8_Path(localAppData) / "Corvane" / "Undo";
    std::vector<fs::path> folders = {undo / Utf8_Path(Undo_Folder_Name(computer))};
    // An older version's folder is read only where its name can stand for no other computer.
    const std::string older = Older_Folder_Name(computer);
    if (older == computer && older != Undo_Folder_Name(computer)) folders.push_back(undo / Utf8_Path(older));
    return folders;
}

}  // namespace

bool UndoFile::Append(const std::vector<RegKeyBlock>& blocks, std::string& failure) {
    if (!Names_Fit(blocks, failure)) return false;
    std::error_code error;
    if (path_.empty()) {
        const fs::path folder = Utf8_Path(folder_);
        fs::create_directories(folder, error);
        if (error) {
            failure = "Cannot make the undo folder " + folder_ + ": " + error.message();
            return false;
        }
        const std::string stamp = Stamp(clock_.Now());
        fs::path path = folder / Utf8_Path(stamp + ".reg");
        for (int n = 2; fs::exists(path, error); ++n)
            path = folder / Utf8_Path(stamp + " (" + std::to_string(n) + ").reg");
        // The folder's name stands for the computer; the file says it too, wherever it is taken.
        const std::string header =
            std::string(kHeader) + std::string(kComputerLine) + Path_Utf8(folder.filename()) + "\r\n\r\n";
        std::vector<std::uint8_t> bytes = {0xFF, 0xFE};
        const auto text = Utf8_To_Utf16le(header, false);
        bytes.insert(bytes.end(), text.begin(), text.end());
        if (!Write_Bytes(path, bytes, std::ios::trunc)) {
            failure = "Cannot write the undo file " + Path_Utf8(path);
            return false;
        }
        path_ = Path_Utf8(path);
    }
    if (!Write_Bytes(Utf8_Path(path_), Reg_Key_Bytes(blocks), std::ios::app)) {
        failure = "Cannot write the undo file " + path_;
        return false;
    }
    return true;
}

RegFile Read_Reg_File(std::string_view path) { return Parse_Reg_File(File_Bytes(path)); }

std::vector<UndoFileInfo> List_Undo_Files(std::string_view localAppData, std::string_view computer) {
    std::vector<UndoFileInfo> files;
    for (const fs::path& folder : Undo_Folders(localAppData, computer)) {
        std::error_code error;
        for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
            const fs::path& path = it->path();
            if (!it->is_regular_file(error) || path.extension() != ".reg") continue;
            UndoFileInfo info{.path = Path_Utf8(path), .date = Date_Of(Path_Utf8(path.stem()))};
            if (info.date.empty()) continue;
            try {
                const RegFile file = Read_Reg_File(info.path);
                for (const RegKeyBlock& key : file.keys) {
                    ++info.keys;
                    info.values += static_cast<int>(key.values.size());
                }
            } catch (const RuntimeError&) {
                info.readable = false;
            }
            files.push_back(std::move(info));
        }
    }
    std::sort(files.begin(), files.end(), [](const UndoFileInfo& a, const UndoFileInfo& b) {
        return a.date != b.date ? a.date > b.date : a.path > b.path;
    });
    return files;
}

std::string Undo_File_Caption(const UndoFileInfo& info) {
    return "Undo of the fix of " + info.date + " (" + std::to_string(info.keys) + " keys, " +
           std::to_string(info.values) + " values)";
}

std::string Undo_Folder_Computer(std::string_view path) {
    const fs::path file = Utf8_Path(path);
    const fs::path folder = file.parent_path();
    const fs::path undo = folder.parent_path();
    if (!Equals_Ignore_Case(Path_Utf8(undo.filename()), "Undo") ||
        !Equals_Ignore_Case(Path_Utf8(undo.parent_path().filename()), "Corvane")) {
        return {};
    }
    return Computer_Of_Undo_Folder(Path_Utf8(folder.filename()));
}

std::string Undo_File_Computer(std::string_view path) {
    try {
        if (std::string recorded = Recorded_Computer(File_Bytes(path)); !recorded.empty()) return recorded;
    } catch (const RuntimeError&) {
        // An unreadable file is judged by its folder alone.
    }
    return Undo_Folder_Computer(path);
}

}  // namespace corvane::remote
