#include "remote/folder_path.h"

namespace corvane::remote {

std::string Normalize_Folder_Path(std::string_view path) {
    std::string result(path);
    if (result.size() == 2 && result[1] == ':') return result + '\\';
    while (result.size() > 3 && result.back() == '\\') result.pop_back();
    return result;
}

bool Is_Drive_Root(std::string_view normalPath) noexcept {
    return normalPath.size() == 3 && normalPath[1] == ':' && normalPath[2] == '\\';
}

std::string Child_Path(std::string_view folderPath, std::string_view name) {
    std::string path = Normalize_Folder_Path(folderPath);
    if (path.empty() || path.back() != '\\') path += '\\';
    return path + std::string(name);
}

}  // namespace corvane::remote
