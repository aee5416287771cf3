#include "console/csv_output.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "base/file_path.h"

namespace corvane::console {

CsvWriteResult Write_Csv_File(const std::string& path, const std::function<void(std::ostream&)>& write) {
    CsvWriteResult result;
    const std::string partial = path + std::string(kPartialSuffix);
    const std::filesystem::path partialPath = Utf8_Path(partial);
    {
        std::ofstream file(partialPath, std::ios::binary | std::ios::trunc);
        if (file) write(file);
        file.close();
        if (!file) {
            std::error_code ignored;
            std::filesystem::remove(partialPath, ignored);
            result.error = "Cannot write " + partial;
            return result;
        }
    }
    std::error_code error;
    std::filesystem::rename(partialPath, Utf8_Path(path), error);
    if (error) {
        result.error =
            "Cannot rename " + partial + " to " + path + ": " + error.message() + "; the results stay in " + partial;
        return result;
    }
    result.written = true;
    return result;
}

}  // namespace corvane::console
