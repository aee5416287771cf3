// Undo files of registry fixes, kept on the console computer: one file per
// computer and fixing run, named "<yyyy-mm-dd hh-nn-ss>.reg" in the folder
// "<local application data>\Corvane\Undo\<computer>", in the registry
// editor's version 5 format, so that it can also be imported by hand on the
// computer it came from. Writing them back is wmi_registry_copy.h's.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/ports/clock.h"
#include "remote/reg_file.h"

namespace corvane::remote {

// Port: the per-user folder the undo files live under (the local
// application data folder on Windows; a scratch folder in tests).
class IUserDataFolder {
public:
    virtual ~IUserDataFolder() = default;
    IUserDataFolder() = default;
    IUserDataFolder(const IUserDataFolder&) = delete;
    IUserDataFolder& operator=(const IUserDataFolder&) = delete;

    // Without trailing separator; empty when it cannot be found.
    [[nodiscard]] virtual std::string Local_Application_Data() = 0;
};

// The computer's name with every character but ASCII letters, digits, "-"
// and "_" written as "%XX" (its UTF-8 bytes), and "~" before a reserved
// device name (CON, NUL, COM1, ...) and for an empty name: two names never
// share a folder, and every folder name stands for one name.
[[nodiscard]] std::string Undo_Folder_Name(std::string_view computer);
// The name back from a folder name of Undo_Folder_Name.
[[nodiscard]] std::string Computer_Of_Undo_Folder(std::string_view folderName);
// "<base>\Corvane\Undo\<Undo_Folder_Name(computer)>".
[[nodiscard]] std::string Undo_Folder(std::string_view localAppData, std::string_view computer);

// The undo file of one computer in one fixing run. The file is made at the
// first Append, named after the time then, and records the computer its
// folder stands for ("; Computer: <folder name>"); every Append adds its
// blocks to the end, so the file is complete after each one. Blocks with a
// key or value name holding a control character are refused whole: the
// format cannot carry such a name.
class UndoFile {
public:
    UndoFile(std::string folder, IClock& clock) : folder_(std::move(folder)), clock_(clock) {}

    // False with the reason when the file could not be made or written.
    [[nodiscard]] bool Append(const std::vector<RegKeyBlock>& blocks, std::string& failure);
    // Empty until the first Append made the file.
    [[nodiscard]] const std::string& Path() const noexcept { return path_; }

private:
    std::string folder_;
    IClock& clock_;
    std::string path_;
};

struct UndoFileInfo {
    std::string path;
    std::string date;  // "yyyy-mm-dd hh:nn:ss", from the file name
    int keys = 0;
    int values = 0;
    bool readable = true;  // false: the file is not a registry file; counts are 0
};

// "Undo of the fix of <date>" with the numbers of keys and values, as a
// list of restorable backups shows an undo file.
[[nodiscard]] std::string Undo_File_Caption(const UndoFileInfo& info);

// The undo files of a computer, newest first. The folder of older versions
// (unsafe characters written as "_") is read too where its name is the
// computer's name unchanged, which no other computer can share.
[[nodiscard]] std::vector<UndoFileInfo> List_Undo_Files(std::string_view localAppData, std::string_view computer);

// The computer whose undo folder holds the file
// ("...\Corvane\Undo\<folder>\x.reg"); empty for a file anywhere else.
[[nodiscard]] std::string Undo_Folder_Computer(std::string_view path);
// The computer an undo file was made for: the one it records, else (files of
// older versions) the one of its undo folder, else empty.
[[nodiscard]] std::string Undo_File_Computer(std::string_view path);

// Reads and decodes a whole file (RuntimeError on a malformed one; 53 "File
// not found" when it cannot be read).
[[nodiscard]] RegFile Read_Reg_File(std::string_view path);

}  // namespace corvane::remote
