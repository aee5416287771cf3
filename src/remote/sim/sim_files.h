// The disks of a simulated computer: one folder tree per drive, children
// indexed by name, so that listing a folder never walks a drive. Files carry
// a size, a creation date, a type text, optional contents (exports, copies),
// for shortcuts a target, and an access list: the entries of its own and,
// unless it is protected, those its folders pass down to it (worked out at
// each reading, as Windows propagates a folder's change to its content). Paths follow Windows: any letter case, "\"
// repeated or at the end ignored.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "remote/machine_store.h"

namespace corvane::remote {

class SimFileSystem {
public:
    // Set-up: parents are created as needed. A file given contents takes their size.
    void Add_Folder(std::string_view path, const DateTime& created = {});
    void Add_File(std::string_view path, std::uint64_t size = 0, const DateTime& created = {});
    void Add_Shortcut(std::string_view path, std::string_view target, const DateTime& created = {});
    void Write_File(std::string_view path, std::vector<std::uint8_t> contents, const DateTime& created = {});
    // A file or folder that refuses deletion and renaming (in use).
    void Lock(std::string_view path);
    // Makes a folder a junction: listed nowhere, as a real one is not.
    void Mark_Reparse_Point(std::string_view path);
    // A folder whose listing is refused (access denied), and the test for it.
    void Deny_Listing(std::string_view path);
    [[nodiscard]] bool Listing_Denied(std::string_view path) const;
    [[nodiscard]] bool Is_Folder(std::string_view path) const;
    // The entry's own access entries and whether it takes none from its folder.
    void Set_Security(std::string_view path, bool isProtected, std::vector<AccessEntry> ownEntries);
    [[nodiscard]] bool Own_Security(std::string_view path, bool& isProtected,
                                    std::vector<AccessEntry>& ownEntries) const;
    // A file or folder whose security cannot be read (access denied).
    void Deny_Security_Read(std::string_view path);
    std::uint32_t Get_Security(std::string_view path, FileSecurity& security) const;

    [[nodiscard]] std::optional<FileEntry> Find(std::string_view path) const;
    [[nodiscard]] std::vector<FileEntry> List(std::string_view folderPath) const;
    [[nodiscard]] std::vector<FileEntry> All(bool folders) const;
    [[nodiscard]] std::optional<std::vector<std::uint8_t>> Read_File(std::string_view path) const;
    [[nodiscard]] std::string Shortcut_Target(std::string_view path) const;
    [[nodiscard]] bool Is_Compressed(std::string_view path) const;
    [[nodiscard]] bool Drive_Exists(std::string_view drive) const;

    std::uint32_t Delete_File(std::string_view path);
    std::uint32_t Delete_Folder(std::string_view path);
    std::uint32_t Rename(std::string_view path, std::string_view newPath);
    std::uint32_t Compress(std::string_view path);
    // Creates the folder and its parents; 3 when the drive does not exist.
    std::uint32_t Make_Folder(std::string_view path, const DateTime& created = {});

    [[nodiscard]] std::size_t Full_Walks() const noexcept { return fullWalks_; }

private:
    struct Node {
        std::string name;
        bool isFolder = true;
        bool locked = false;
        bool compressed = false;
        bool reparsePoint = false;
        bool listingDenied = false;
        bool daclProtected = false;
        bool securityUnreadable = false;
        std::vector<AccessEntry> aces;  // its own, never flagged inherited
        std::uint64_t size = 0;
        DateTime created;
        std::string target;
        std::vector<std::uint8_t> contents;
        std::map<std::string, std::unique_ptr<Node>> children;  // by upper-cased name
    };
    struct Location {
        Node* parent = nullptr;
        Node* node = nullptr;
        std::string fullPath;  // as stored, original case
    };

    [[nodiscard]] Location Locate(std::string_view path) const;
    Node* Create_Folders(std::string_view path, const DateTime& created, std::string* fullPath);
    Node* Create_Leaf(std::string_view path, const DateTime& created);
    static FileEntry Entry(const Node& node, const std::string& fullPath);
    void Walk(const Node& node, const std::string& path, bool folders, std::vector<FileEntry>& out) const;

    std::map<std::string, std::unique_ptr<Node>> drives_;  // "C:" upper-cased
    mutable std::size_t fullWalks_ = 0;
};

// The type text that Windows shows for a file name ("Text Document", "Application", ...).
[[nodiscard]] std::string File_Type_Text(std::string_view fileName);

}  // namespace corvane::remote
