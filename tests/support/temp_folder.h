// A scratch folder for one test, removed with everything in it afterwards.
#pragma once

#include <filesystem>
#include <string>

namespace corvane::testing {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    [[nodiscard]] const std::filesystem::path& Path() const { return path_; }
    // A file path inside the folder, as UTF-8 text.
    [[nodiscard]] std::string File(const std::string& name) const;

private:
    std::filesystem::path path_;
};

// Reads a whole file as bytes.
[[nodiscard]] std::string Read_File(const std::string& utf8Path);
void Write_File(const std::string& utf8Path, const std::string& bytes);

}  // namespace corvane::testing
