#include "remote/undo_files.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "base/file_path.h"
#include "base/runtime_error.h"
#include "base/text.h"
#include "base/utf8.h"
#include "remote/local_registry.h"

namespace corvane::remote {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00\r\n\r\n";

std::string File_Name_Safe(std::string_view name) {
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

std::string Undo_Folder(std::string_view localAppData, std::string_view computer) {
    return Path_Utf8(Utf8_Path(localAppData) / "Corvane" / "Undo" / Utf8_Path(File_Name_Safe(computer)));
}

bool UndoFile::Append(const std::vector<RegKeyBlock>& blocks, std::string& failure) {
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
        std::vector<std::uint8_t> header = {0xFF, 0xFE};
        const auto text = Utf8_To_Utf16le(kHeader, false);
        header.insert(header.end(), text.begin(), text.end());
        if (!Write_Bytes(path, header, std::ios::trunc)) {
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

RegFile Read_Reg_File(std::string_view path) {
    std::ifstream file(Utf8_Path(path), std::ios::binary);
    if (!file) throw RuntimeError(error_number::kFileNotFound, "File not found: " + std::string(path));
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    return Parse_Reg_File(bytes);
}

std::vector<UndoFileInfo> List_Undo_Files(std::string_view localAppData, std::string_view computer) {
    std::vector<UndoFileInfo> files;
    std::error_code error;
    for (fs::directory_iterator it(Utf8_Path(Undo_Folder(localAppData, computer)), error), end; !error && it != end;
         it.increment(error)) {
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
    std::sort(files.begin(), files.end(), [](const UndoFileInfo& a, const UndoFileInfo& b) {
        return a.date != b.date ? a.date > b.date : a.path > b.path;
    });
    return files;
}

std::string Undo_File_Caption(const UndoFileInfo& info) {
    return "Undo of the fix of " + info.date + " (" + std::to_string(info.keys) + " keys, " +
           std::to_string(info.values) + " values)";
}

std::string Undo_File_Computer(std::string_view path) {
    const fs::path file = Utf8_Path(path);
    const fs::path folder = file.parent_path();
    const fs::path undo = folder.parent_path();
    if (!Equals_Ignore_Case(Path_Utf8(undo.filename()), "Undo") ||
        !Equals_Ignore_Case(Path_Utf8(undo.parent_path().filename()), "Corvane")) {
        return {};
    }
    return Path_Utf8(folder.filename());
}

}  // namespace corvane::remote
