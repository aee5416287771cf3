// The disks of a simulated computer: one folder tree per drive, children
// indexed by name, so that listing a folder never walks a drive. Files carry
// a size, a creation date, a type text, optional contents (exports, copies),
// for shortcuts a target, and an access list: the entries of its own and,
// unless it is protected, those its folders pass down to it (worked out at
// each reading, as Windows propagates a folder's change to its content). Paths follow Windows: any letter case, "\"
// repeated or at the end ignored.
//
// A junction leads to its target folder. Two views read the disks: the
// file system's own (the native store, the administrative share), which
// reports a junction with its reparse attribute and takes short (8.3) names
// too, and the view of WMI's file classes, which shows a junction as an
// ordinary folder holding its target's content, knows long names only, and
// whose folder deletion takes the content along. Folders on the way to a
// path are passed through in both, as Windows opens them.
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

enum class FileView { Native, Wmi };

// The identity the file system gives one file or folder (volume serial
// number and file ID); it stays with the file through renames.
struct SimFileId {
    std::uint64_t volumeSerial = 0;
    std::uint64_t fileId = 0;
};

class SimFileSystem {
public:
    // Set-up: parents are created as needed. A file given contents takes their size.
    void Add_Folder(std::string_view path, const DateTime& created = {});
    void Add_File(std::string_view path, std::uint64_t size = 0, const DateTime& created = {});
    void Add_Shortcut(std::string_view path, std::string_view target, const DateTime& created = {});
    void Write_File(std::string_view path, std::vector<std::uint8_t> contents, const DateTime& created = {});
    // A file or folder that refuses deletion and renaming (in use).
    void Lock(std::string_view path);
    // Makes path a junction to the folder target (a full path): whatever was
    // there before is replaced, as when a folder is swapped for a link.
    void Add_Junction(std::string_view path, std::string_view target);
    // Gives an existing entry its short (8.3) name ("PROGRA~1").
    void Set_Short_Name(std::string_view path, std::string_view shortName);
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

    // The entry at path; in the native view a junction at the end is the
    // junction itself, in WMI's view its target under the junction's name.
    [[nodiscard]] std::optional<FileEntry> Find(std::string_view path, FileView view = FileView::Native) const;
    [[nodiscard]] std::optional<SimFileId> Identity(std::string_view path) const;
    [[nodiscard]] std::vector<FileEntry> List(std::string_view folderPath, FileView view = FileView::Native) const;
    [[nodiscard]] std::vector<FileEntry> All(bool folders, FileView view = FileView::Native) const;
    [[nodiscard]] std::optional<std::vector<std::uint8_t>> Read_File(std::string_view path) const;
    [[nodiscard]] std::string Shortcut_Target(std::string_view path) const;
    [[nodiscard]] bool Is_Compressed(std::string_view path) const;
    [[nodiscard]] bool Drive_Exists(std::string_view drive) const;

    std::uint32_t Delete_File(std::string_view path);
    // The native view deletes an empty folder only; WMI's takes its content
    // along (what the folder holds, through a junction its target's).
    std::uint32_t Delete_Folder(std::string_view path, FileView view = FileView::Native);
    // Deletes the entry at path itself, a junction as a link (never its
    // target), a folder only when empty: what a delete through a handle
    // opened without following reparse points removes.
    std::uint32_t Delete_Entry(std::string_view path);
    // The same for the entry of that file ID wherever it lies now: a
    // deletion through a handle opened before the entry was moved.
    std::uint32_t Delete_By_Id(std::uint64_t fileId);
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
        std::string junctionTarget;  // a junction: the folder it leads to
        std::string shortName;       // upper-cased 8.3 name, "" when none
        std::uint64_t fileId = 0;
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
        Node* parent = nullptr;  // the folder holding the entry
        Node* node = nullptr;    // the entry, or in WMI's view a junction's target
        std::string fullPath;    // as stored, original case, through junctions by their names
        std::string key;         // the entry's key in its parent
    };

    // Junctions on the way are passed through; one at the end is followed
    // in WMI's view only. Short names are taken in the native view.
    [[nodiscard]] Location Locate(std::string_view path, FileView view = FileView::Native, int depth = 0) const;
    [[nodiscard]] Node* Follow(Node* node, FileView view, int depth) const;
    Node* Create_Folders(std::string_view path, const DateTime& created, std::string* fullPath);
    Node* Create_Leaf(std::string_view path, const DateTime& created);
    static FileEntry Entry(const Node& node, const std::string& fullPath, FileView view);
    void Walk(const Node& node, const std::string& path, bool folders, FileView view, int depth,
              std::vector<FileEntry>& out) const;
    std::unique_ptr<Node> New_Node(std::string_view name, const DateTime& created);
    static std::uint32_t Erase_Child(Node& parent, const std::string& key);
    static std::uint32_t Erase_By_Id(Node& folder, std::uint64_t fileId);

    std::map<std::string, std::unique_ptr<Node>> drives_;  // "C:" upper-cased
    std::uint64_t nextFileId_ = 0x100;
    mutable std::size_t fullWalks_ = 0;
};

// The type text that Windows shows for a file name ("Text Document", "Application", ...).
[[nodiscard]] std::string File_Type_Text(std::string_view fileName);

}  // namespace corvane::remote
