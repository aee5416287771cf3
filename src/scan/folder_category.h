// What the disk-style categories share: the common body of a category that
// walks folders (header, results list drawing suspended, the walker, the
// count and the warning about folders that could not be listed), and which
// folders may be walked. Where a folder read from the registry may lie is
// folder_confinement.h's.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "scan/category_run.h"
#include "scan/folder_confinement.h"
#include "scan/folder_walker.h"

namespace corvane::scan {

inline constexpr const char* kVolatileEnvironment = "\\Volatile Environment";
inline constexpr const char* kShellFolders = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// A folder given by the registry is walked only when it is a folder below
// the root of a fixed drive of the target: a network path, a removable drive
// or a whole drive named by a damaged value is never emptied.
[[nodiscard]] bool Is_Walkable_Folder(ScanTarget& target, std::string_view folder);

// The header's text of a category that did not run on a remote computer.
inline constexpr const char* kShareUnavailableNote = "Not scanned: administrative share unavailable";

class FolderCategory {
public:
    // Writes the header, lets the window breathe and suspends drawing of the
    // results list until the category ends (also when it ends by an error).
    // On a remote computer whose administrative share of the system drive
    // cannot be listed the category does not run (Runs): files are deleted
    // only where the share shows what they are; the log says why.
    explicit FolderCategory(ScanArguments& args);
    ~FolderCategory();
    FolderCategory(const FolderCategory&) = delete;
    FolderCategory& operator=(const FolderCategory&) = delete;

    // Walks one folder when it may be walked (see Is_Walkable_Folder).
    void Walk(std::string_view folder, const FolderScan& scan = {});
    [[nodiscard]] bool Stopped() const noexcept { return run_.Stop_Requested(); }
    [[nodiscard]] bool Runs() const noexcept { return runs_; }
    // The header's count, and the log warning about refused folders.
    void Finish();

    [[nodiscard]] CategoryRun& Run() noexcept { return run_; }
    [[nodiscard]] FolderWalker& Walker() noexcept { return walker_; }
    [[nodiscard]] FolderConfinement& Confinement() noexcept { return confinement_; }

private:
    CategoryRun run_;
    FolderWalker walker_;
    FolderConfinement confinement_;
    bool runs_ = true;
};

}  // namespace corvane::scan
