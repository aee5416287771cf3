#include "temp_folder.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <sstream>

#include "base/file_path.h"

namespace corvane::testing {

TempFolder::TempFolder() {
    static std::atomic<int> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = std::filesystem::temp_directory_path() /
            ("corvane-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string TempFolder::File(const std::string& name) const { return Path_Utf8(path_ / Utf8_Path(name)); }

std::string Read_File(const std::string& utf8Path) {
    std::ifstream in(Utf8_Path(utf8Path), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void Write_File(const std::string& utf8Path, const std::string& bytes) {
    std::ofstream out(Utf8_Path(utf8Path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace corvane::testing
