#include "remote/sim/sim_files.h"

#include <algorithm>

#include "base/text.h"
#include "remote/folder_path.h"
#include "remote/listed_identity.h"
#include "remote/sim/sim_registry.h"

namespace corvane::remote {
namespace {

// One serial number per drive, as each volume has its own.
std::uint64_t Volume_Serial(std::string_view path) {
    return 0x5EED0000u + static_cast<std::uint64_t>(Upper_Ascii(path.substr(0, 1))[0]);
}

// "C:\a\b" -> drive "C:", parts {"a","b"}; drive "" when the path has no drive.
struct SplitPath {
    std::string drive;
    std::vector<std::string_view> parts;
};

SplitPath Split(std::string_view path) {
    SplitPath split;
    if (path.size() < 2 || path[1] != ':') return split;
    split.drive = Upper_Ascii(path.substr(0, 2));
    split.parts = Split_Path(path.substr(2));
    return split;
}

// What an entry of the folder passes down to a child folder or file.
void Inherit(const std::vector<AccessEntry>& folderEntries, bool toFolder, std::vector<AccessEntry>& out) {
    for (const AccessEntry& entry : folderEntries) {
        const bool objectInherit = (entry.aceFlags & kAceObjectInherit) != 0;
        const bool containerInherit = (entry.aceFlags & kAceContainerInherit) != 0;
        AccessEntry passed = entry;
        if (toFolder && containerInherit) {
            passed.aceFlags = (entry.aceFlags & ~kAceInheritOnly) | kAceInherited;
        } else if (toFolder && objectInherit) {
            passed.aceFlags = entry.aceFlags | kAceInheritOnly | kAceInherited;  // only for its files
        } else if (!toFolder && objectInherit) {
            passed.aceFlags = kAceInherited;
        } else {
            continue;
        }
        out.push_back(passed);
    }
}

// Junctions a path may pass through before it counts as unresolvable (a
// loop), as Windows gives up on a chain of links.
constexpr int kMaxJunctionDepth = 8;

// Removes what a folder holds, as WMI's folder deletion does; a locked entry
// stays, and so do the folders above it. True when nothing is left.
template <typename NodeT>
bool Remove_Content(NodeT& folder) {
    for (auto child = folder.children.begin(); child != folder.children.end();) {
        NodeT& node = *child->second;
        const bool emptied = node.junctionTarget.empty() ? Remove_Content(node) : true;
        if (emptied && !node.locked) {
            child = folder.children.erase(child);
        } else {
            ++child;
        }
    }
    return folder.children.empty();
}

}  // namespace

std::string File_Type_Text(std::string_view fileName) {
    const std::size_t dot = fileName.find_last_of('.');
    const std::string extension = dot == std::string_view::npos ? std::string() : Lower_Ascii(fileName.substr(dot + 1));
    if (extension == "txt" || extension == "log") return "Text Document";
    if (extension == "exe") return "Application";
    if (extension == "dll") return "Application extension";
    if (extension == "lnk") return "Shortcut";
    if (extension == "reg") return "Registration Entries";
    if (extension == "tmp") return "TMP File";
    if (extension == "dmp") return "DMP File";
    if (extension == "pf") return "PF File";
    if (extension == "ini") return "Configuration settings";
    if (extension.empty()) return "File";
    return Upper_Ascii(extension) + " File";
}

SimFileSystem::Location SimFileSystem::Locate(std::string_view path, FileView view, int depth) const {
    Location location;
    const SplitPath split = Split(path);
    const auto drive = drives_.find(split.drive);
    if (depth > kMaxJunctionDepth || split.drive.empty() || drive == drives_.end()) return location;
    Node* node = drive->second.get();
    std::string full = split.drive + "\\";
    for (std::size_t i = 0; i < split.parts.size(); ++i) {
        if (!node->isFolder) return {};
        const std::string upper = Upper_Text(split.parts[i]);
        auto child = node->children.find(upper);
        if (child == node->children.end() && view == FileView::Native) {
            child = std::find_if(node->children.begin(), node->children.end(),
                                 [&](const auto& pair) { return pair.second->shortName == upper; });
        }
        if (child == node->children.end()) return {};
        location.parent = node;
        location.key = child->first;
        Node* entry = child->second.get();
        full += (i == 0 ? "" : "\\") + entry->name;
        const bool last = i + 1 == split.parts.size();
        node = !last || view == FileView::Wmi ? Follow(entry, view, depth) : entry;
        if (node == nullptr) return {};
    }
    location.node = node;
    location.fullPath = full;
    return location;
}

SimFileSystem::Node* SimFileSystem::Follow(Node* node, FileView view, int depth) const {
    if (node->junctionTarget.empty()) return node;
    // A target is followed to its end, through any junction it names.
    (void)view;
    return Locate(node->junctionTarget, FileView::Wmi, depth + 1).node;
}

std::unique_ptr<SimFileSystem::Node> SimFileSystem::New_Node(std::string_view name, const DateTime& created) {
    auto node = std::make_unique<Node>();
    node->name = std::string(name);
    node->created = created;
    node->fileId = nextFileId_++;
    return node;
}

SimFileSystem::Node* SimFileSystem::Create_Folders(std::string_view path, const DateTime& created,
                                                   std::string* fullPath) {
    const SplitPath split = Split(path);
    if (split.drive.empty()) return nullptr;
    auto& root = drives_[split.drive];
    if (!root) root = New_Node(split.drive, created);
    Node* node = root.get();
    std::string full = split.drive + "\\";
    for (std::size_t i = 0; i < split.parts.size(); ++i) {
        auto& slot = node->children[Upper_Text(split.parts[i])];
        if (!slot) slot = New_Node(split.parts[i], created);
        if (!slot->isFolder) return nullptr;
        full += (i == 0 ? "" : "\\") + slot->name;
        node = Follow(slot.get(), FileView::Native, 0);
        if (node == nullptr) return nullptr;
    }
    if (fullPath != nullptr) *fullPath = full;
    return node;
}

SimFileSystem::Node* SimFileSystem::Create_Leaf(std::string_view path, const DateTime& created) {
    const SplitPath split = Split(path);
    if (split.drive.empty() || split.parts.empty()) return nullptr;
    const std::size_t lastSlash = path.find_last_of('\\');
    Node* parent =
        Create_Folders(path.substr(0, lastSlash == std::string_view::npos ? 2 : lastSlash), created, nullptr);
    if (parent == nullptr) return nullptr;
    auto& slot = parent->children[Upper_Text(split.parts.back())];
    if (!slot) {
        slot = New_Node(split.parts.back(), created);
    } else if (slot->isFolder) {
        return nullptr;
    }
    slot->isFolder = false;
    slot->created = created;
    return slot.get();
}

void SimFileSystem::Add_Folder(std::string_view path, const DateTime& created) {
    (void)Create_Folders(path, created, nullptr);
}

void SimFileSystem::Add_File(std::string_view path, std::uint64_t size, const DateTime& created) {
    if (Node* node = Create_Leaf(path, created)) node->size = size;
}

void SimFileSystem::Add_Shortcut(std::string_view path, std::string_view target, const DateTime& created) {
    if (Node* node = Create_Leaf(path, created)) {
        node->target = std::string(target);
        node->size = 1024;
    }
}

void SimFileSystem::Write_File(std::string_view path, std::vector<std::uint8_t> contents, const DateTime& created) {
    const Location location = Locate(path);
    Node* node = location.node;
    if (node == nullptr) node = Create_Leaf(path, created);
    if (node == nullptr || node->isFolder) return;
    node->size = contents.size();
    node->contents = std::move(contents);
}

void SimFileSystem::Lock(std::string_view path) {
    if (Node* node = Locate(path).node) node->locked = true;
}

void SimFileSystem::Add_Junction(std::string_view path, std::string_view target) {
    const SplitPath split = Split(path);
    const std::size_t lastSlash = path.find_last_of('\\');
    if (split.parts.empty() || lastSlash == std::string_view::npos) return;
    Node* parent = Create_Folders(path.substr(0, lastSlash), {}, nullptr);
    if (parent == nullptr) return;
    auto junction = New_Node(split.parts.back(), {});
    junction->junctionTarget = std::string(target);
    parent->children[Upper_Text(split.parts.back())] = std::move(junction);
}

void SimFileSystem::Set_Short_Name(std::string_view path, std::string_view shortName) {
    if (Node* node = Locate(path).node) node->shortName = Upper_Text(shortName);
}

void SimFileSystem::Deny_Listing(std::string_view path) {
    if (Node* node = Locate(path).node) node->listingDenied = true;
}

bool SimFileSystem::Listing_Denied(std::string_view path) const {
    const Node* node = Locate(path).node;
    return node != nullptr && node->listingDenied;
}

bool SimFileSystem::Is_Folder(std::string_view path) const {
    const Node* node = Locate(path).node;
    return node != nullptr && node->isFolder;
}

void SimFileSystem::Set_Security(std::string_view path, bool isProtected, std::vector<AccessEntry> ownEntries) {
    Node* node = Locate(path).node;
    if (node == nullptr) return;
    node->daclProtected = isProtected;
    for (AccessEntry& entry : ownEntries) {
        entry.aceFlags &= ~kAceInherited;
        if (!node->isFolder) entry.aceFlags &= ~(kAceObjectInherit | kAceContainerInherit | kAceInheritOnly);
    }
    node->aces = std::move(ownEntries);
}

bool SimFileSystem::Own_Security(std::string_view path, bool& isProtected, std::vector<AccessEntry>& ownEntries) const {
    const Node* node = Locate(path).node;
    if (node == nullptr) return false;
    isProtected = node->daclProtected;
    ownEntries = node->aces;
    return true;
}

void SimFileSystem::Deny_Security_Read(std::string_view path) {
    if (Node* node = Locate(path).node) node->securityUnreadable = true;
}

std::uint32_t SimFileSystem::Get_Security(std::string_view path, FileSecurity& security) const {
    const SplitPath split = Split(path);
    const auto drive = drives_.find(split.drive);
    if (split.drive.empty() || drive == drives_.end()) return kStatusNotFound;
    const Node* node = drive->second.get();
    std::vector<AccessEntry> effective = node->aces;
    for (std::string_view part : split.parts) {
        if (!node->isFolder) return kStatusNotFound;
        const auto child = node->children.find(Upper_Text(part));
        if (child == node->children.end()) return kStatusNotFound;
        const Node& next = *child->second;
        std::vector<AccessEntry> entries = next.aces;
        if (!next.daclProtected) Inherit(effective, next.isFolder, entries);
        effective = std::move(entries);
        node = &next;
    }
    if (node->securityUnreadable) return kStatusAccessDenied;
    security.controlFlags = kSecurityDaclPresent | (node->daclProtected ? kSecurityDaclProtected : 0);
    security.dacl = std::move(effective);
    security.ownerSid = "S-1-5-32-544";
    return kStatusOk;
}

FileEntry SimFileSystem::Entry(const Node& node, const std::string& fullPath, FileView view) {
    FileEntry entry;
    entry.path = fullPath;
    entry.isFolder = node.isFolder;
    entry.size = node.isFolder ? 0 : node.size;
    entry.fileType = node.isFolder ? "File Folder" : File_Type_Text(node.name);
    entry.created = node.created;
    entry.isReparsePoint = view == FileView::Native && !node.junctionTarget.empty();
    // The file system's own view knows which file it shows; WMI's does not.
    if (view == FileView::Native) entry.identity = Identity_Of(Volume_Serial(fullPath), node.fileId);
    return entry;
}

std::optional<FileEntry> SimFileSystem::Find(std::string_view path, FileView view) const {
    const Location location = Locate(path, view);
    if (location.node == nullptr) return std::nullopt;
    return Entry(*location.node, location.fullPath, view);
}

std::optional<SimFileId> SimFileSystem::Identity(std::string_view path) const {
    const Location location = Locate(path);
    if (location.node == nullptr) return std::nullopt;
    return SimFileId{Volume_Serial(path), location.node->fileId};
}

std::vector<FileEntry> SimFileSystem::List(std::string_view folderPath, FileView view) const {
    std::vector<FileEntry> out;
    const Location location = Locate(folderPath, view);
    // A listing of a junction lists its target, in every view.
    const Node* folder = location.node == nullptr ? nullptr : Follow(location.node, view, 0);
    if (folder == nullptr || !folder->isFolder) return out;
    for (const auto& [upper, child] : folder->children) {
        out.push_back(Entry(*child, Child_Path(location.fullPath, child->name), view));
    }
    return out;
}

void SimFileSystem::Walk(const Node& node, const std::string& path, bool folders, FileView view, int depth,
                         std::vector<FileEntry>& out) const {
    for (const auto& [upper, child] : node.children) {
        const std::string childPath = Child_Path(path, child->name);
        if (child->isFolder == folders) out.push_back(Entry(*child, childPath, view));
        if (!child->isFolder) continue;
        if (child->junctionTarget.empty()) {
            Walk(*child, childPath, folders, view, depth, out);
        } else if (view == FileView::Wmi && depth < kMaxJunctionDepth) {
            if (const Node* target = Follow(child.get(), view, 0))
                Walk(*target, childPath, folders, view, depth + 1, out);
        }
    }
}

std::vector<FileEntry> SimFileSystem::All(bool folders, FileView view) const {
    ++fullWalks_;
    std::vector<FileEntry> out;
    for (const auto& [drive, root] : drives_) Walk(*root, drive + "\\", folders, view, 0, out);
    return out;
}

std::optional<std::vector<std::uint8_t>> SimFileSystem::Read_File(std::string_view path) const {
    const Location location = Locate(path);
    if (location.node == nullptr || location.node->isFolder) return std::nullopt;
    if (location.node->contents.empty() && location.node->size > 0) {
        return std::vector<std::uint8_t>(static_cast<std::size_t>(location.node->size), 0);
    }
    return location.node->contents;
}

std::string SimFileSystem::Shortcut_Target(std::string_view path) const {
    const Location location = Locate(path);
    return location.node != nullptr ? location.node->target : std::string();
}

bool SimFileSystem::Is_Compressed(std::string_view path) const {
    const Location location = Locate(path);
    return location.node != nullptr && location.node->compressed;
}

bool SimFileSystem::Drive_Exists(std::string_view drive) const {
    return drives_.count(Upper_Ascii(drive.substr(0, 2))) > 0;
}

std::uint32_t SimFileSystem::Delete_File(std::string_view path) {
    const Location location = Locate(path);
    if (location.node == nullptr || location.parent == nullptr) return kStatusNotFound;
    if (location.node->isFolder) return kStatusAccessDenied;
    if (location.node->locked) return kStatusSharingViolation;
    location.parent->children.erase(location.key);
    return kStatusOk;
}

std::uint32_t SimFileSystem::Delete_Folder(std::string_view path, FileView view) {
    const Location location = Locate(path, view);
    if (location.node == nullptr) return kStatusNotFound;
    if (location.parent == nullptr || !location.node->isFolder) return kStatusAccessDenied;
    if (view == FileView::Native) return Delete_Entry(path);
    if (!Remove_Content(*location.node)) return kStatusSharingViolation;
    location.parent->children.erase(location.key);
    return kStatusOk;
}

std::uint32_t SimFileSystem::Erase_Child(Node& parent, const std::string& key) {
    const Node& node = *parent.children.at(key);
    if (node.locked) return kStatusSharingViolation;
    if (!node.children.empty()) return kStatusDirNotEmpty;
    parent.children.erase(key);
    return kStatusOk;
}

std::uint32_t SimFileSystem::Delete_Entry(std::string_view path) {
    const Location location = Locate(path);
    if (location.node == nullptr) return kStatusNotFound;
    if (location.parent == nullptr) return kStatusAccessDenied;
    return Erase_Child(*location.parent, location.key);
}

std::uint32_t SimFileSystem::Erase_By_Id(Node& folder, std::uint64_t fileId) {
    for (auto& [key, child] : folder.children) {
        if (child->fileId == fileId) return Erase_Child(folder, key);
        if (const std::uint32_t status = Erase_By_Id(*child, fileId); status != kStatusNotFound) return status;
    }
    return kStatusNotFound;
}

std::uint32_t SimFileSystem::Delete_By_Id(std::uint64_t fileId) {
    for (auto& [drive, root] : drives_) {
        if (const std::uint32_t status = Erase_By_Id(*root, fileId); status != kStatusNotFound) return status;
    }
    return kStatusNotFound;
}

std::uint32_t SimFileSystem::Rename(std::string_view path, std::string_view newPath) {
    const Location from = Locate(path);
    if (from.node == nullptr || from.parent == nullptr) return kStatusNotFound;
    if (from.node->locked) return kStatusSharingViolation;
    if (Locate(newPath).node != nullptr) return kStatusAlreadyExists;
    const SplitPath target = Split(newPath);
    if (target.drive.empty() || target.parts.empty()) return kStatusInvalidParameter;
    if (target.drive != Split(path).drive) return kStatusInvalidParameter;
    const std::size_t lastSlash = newPath.find_last_of('\\');
    const Location newParent = Locate(newPath.substr(0, lastSlash));
    if (newParent.node == nullptr || !newParent.node->isFolder) return kStatusPathNotFound;
    auto moving = std::move(from.parent->children[from.key]);
    from.parent->children.erase(from.key);
    moving->name = std::string(target.parts.back());
    newParent.node->children[Upper_Text(moving->name)] = std::move(moving);
    return kStatusOk;
}

std::uint32_t SimFileSystem::Compress(std::string_view path) {
    Node* node = Locate(path).node;
    if (node == nullptr) return kStatusNotFound;
    node->compressed = true;
    return kStatusOk;
}

std::uint32_t SimFileSystem::Make_Folder(std::string_view path, const DateTime& created) {
    const SplitPath split = Split(path);
    if (split.drive.empty() || !Drive_Exists(split.drive)) return kStatusPathNotFound;
    const Location existing = Locate(path);
    if (existing.node != nullptr) return existing.node->isFolder ? kStatusAlreadyExists : kStatusAccessDenied;
    return Create_Folders(path, created, nullptr) != nullptr ? kStatusOk : kStatusAccessDenied;
}

}  // namespace corvane::remote
