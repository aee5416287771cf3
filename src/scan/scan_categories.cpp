#include "scan/scan_categories.h"

#include <array>
#include <string>

#include "base/ui/check_tree.h"

namespace corvane {

namespace {

constexpr std::array<ScanCategory, 36> kCategories{{
    {"fA", "Help Files", "HelpFile", "[Help Files]"},
    {"fB", "Add/Remove Programs", "Add/RemovePrograms", "[Add/Remove Programs]"},
    {"fC", "ActiveX/COM", "ActiveX/COM", "[ActiveX/COM]"},
    {"fD", "Application Paths", "ApplicationPaths", "[Application Paths]"},
    {"fE", "Windows Fonts", "WindowsFonts", "[Fonts]"},
    {"fF", "Shared DLLs", "SharedDlls", "[Shared Dlls]"},
    {"fG", "Software", "Software", "[Software]"},
    {"fH", "File Extension", "FileExtensions", "[File Extension]"},
    {"fI", "StartUp Programs", "StartUpPrograms", "[Startup Programs]"},
    {"fJ", "Sound And AppEvents", "SoundAndAppEvents", "[Sound And AppEvents]"},
    {"fK", "Installer", "Installer", "[Installer]"},
    {"fM", "User MRU List", "UserMRUList", "[User MRU List]"},
    {"fN", "Image File Execution Options", "ImageFile", "[Image File Execution Options]"},
    {"dA", "Mini Dump Files", "File", "[Mini Dump Files]"},
    {"dB", "User Temp Files", "File", "[User Temp Files]"},
    {"dC", "Invalid Shortcuts", "File", "[Invalid Shortcuts]"},
    {"dD", "CD Burn Temp Files", "File", "[CD Burn Temp Files]"},
    {"dE", "Thumbnail Cache Files", "File", "[Thumbnail Cache Files]"},
    {"dF", "Downloaded Temp Files", "File", "[Downloaded Temp Files]", false},
    {"dG", "Windows Temp Files", "File", "[Windows Temp Files]"},
    {"dH", "Recently Used File Shortcuts", "File", "[Recently Used File Shortcuts]"},
    {"dI", "Prefetch Application Cache Files", "File", "[Prefetch Application Cache Files]"},
    {"dJ", "Downloaded Installation Files", "File", "[Downloaded Installation Files]"},
    {"iA", "History Files", "IEUrlHistory", "[History Files]"},
    {"iB", "Cookie Files", "IEUrlHistory", "[Cookie Files]"},
    {"iC", "Temporary Internet Files", "IEUrlHistory", "[Temporary Internet Files]"},
    {"iD", "IE URL History", "IEUrlHistory", "[IE Url History]"},
    {"iE", "IE Forms Data", "IEUrlHistory", "[IE Forms Data]"},
    {"xA", "Cookies", "Firefox", "[Firefox Cookies]"},
    {"xC", "Internet Cache", "Firefox", "[Firefox Cache]"},
    {"xE", "Download History", "Firefox", "[Firefox Download History]"},
    {"xF", "Form Information", "Firefox", "[Firefox Form Info]"},
    {"xG", "Saved Passwords", "Firefox", "[Firefox Saved Passwords]"},
    {"xH", "Search Information", "Firefox", "[Firefox Search Info]"},
    {"xI", "Individual Page Settings", "Firefox", "[Firefox Individual Page Settings]"},
    {"wA", "Temporary Files", "File", "[Temporary Files]"},
}};

struct Group {
    char family;
    const char* key;
    const char* text;
    const char* image;
};

constexpr std::array<Group, 4> kGroupsUnderRoot{{
    {'f', "gR", "Registry Clean Up", "Registry"},
    {'d', "gD", "Disk Clean Up", "DiskCleanUp"},
    {'i', "gI", "IE", "IEUrlHistory"},
    {'x', "gX", "Firefox", "Firefox"},
}};

void Add_Family(CheckTree& tree, NodeId group, char family) {
    for (const ScanCategory& category : kCategories) {
        if (category.key[0] != family) continue;
        tree.Add(group, std::string(category.key), std::string(category.displayName), std::string(category.imageKey));
    }
}

}  // namespace

std::span<const ScanCategory> Scan_Categories() { return kCategories; }

const ScanCategory* Find_Scan_Category(std::string_view key) {
    for (const ScanCategory& category : kCategories) {
        if (category.key == key) return &category;
    }
    return nullptr;
}

void Fill_Scan_Categories(CheckTree& tree) {
    tree.Clear();
    const NodeId root = tree.Add(kNoNode, "rR", "Scanning Categories", "Group");
    for (const Group& group : kGroupsUnderRoot) {
        const NodeId node = tree.Add(root, group.key, group.text, group.image);
        Add_Family(tree, node, group.family);
    }
    const NodeId systemwide = tree.Add(kNoNode, "gW", "Systemwide Search", "File");
    Add_Family(tree, systemwide, 'w');
    for (const char* key : {"rR", "gR", "gD", "gI", "gX", "gW"}) tree.Set_Expanded(tree.Find(key), true);
    tree.Select(root);
}

}  // namespace corvane
