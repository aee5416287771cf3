#include "base/win32/file_dialog.h"

#include <commdlg.h>

#include "base/runtime_error.h"
#include "base/win32/unique_any.h"
#include "base/win32/wide_text.h"

namespace corvane::win32 {
namespace {

constexpr wchar_t kTextFilter[] = L"Text Files\0*.txt\0All Files\0*.*\0";

[[noreturn]] void Throw_File_Error(std::string_view what, const std::wstring& path) {
    const DWORD code = ::GetLastError();
    throw RuntimeError(static_cast<std::int32_t>(code),
                       std::string(what) + " " + Narrow(path) + " (error " + std::to_string(code) + ").");
}

// The common open or save dialog for a text file; the chosen path, or nothing
// when the user cancelled.
std::optional<std::wstring> Ask_Text_File(HWND owner, std::string_view title, std::string_view fileName, bool save) {
    std::wstring buffer = Widen(fileName);
    buffer.resize(MAX_PATH * 4, L'\0');
    const std::wstring caption = Widen(title);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = kTextFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    dialog.lpstrTitle = caption.c_str();
    if (save) {
        dialog.lpstrDefExt = L"txt";
        dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
        if (!::GetSaveFileNameW(&dialog)) return std::nullopt;
    } else {
        dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
        if (!::GetOpenFileNameW(&dialog)) return std::nullopt;
    }
    return std::wstring(buffer.c_str());
}

}  // namespace

std::optional<std::wstring> Ask_Save_Text_File(HWND owner, std::string_view title, std::string_view fileName) {
    return Ask_Text_File(owner, title, fileName, true);
}

std::optional<std::wstring> Ask_Open_Text_File(HWND owner, std::string_view title) {
    return Ask_Text_File(owner, title, "", false);
}

std::string Read_File_Bytes(const std::wstring& path) {
    unique_hfile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) Throw_File_Error("Cannot open", path);
    std::string bytes;
    char chunk[65536];
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(file.get(), chunk, sizeof(chunk), &read, nullptr)) Throw_File_Error("Cannot read", path);
        if (read == 0) break;
        bytes.append(chunk, read);
    }
    return bytes;
}

void Write_File_Bytes(const std::wstring& path, std::string_view bytes) {
    unique_hfile file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) Throw_File_Error("Cannot create", path);
    DWORD written = 0;
    if (!bytes.empty() &&
        (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
         written != bytes.size())) {
        Throw_File_Error("Cannot write", path);
    }
}

}  // namespace corvane::win32
