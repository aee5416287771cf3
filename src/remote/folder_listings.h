// Folder listings behind the existence tests of one computer's scan: the
// first test of a name in a folder lists the whole folder once (the local
// folder natively, a remote one through its administrative share in fast
// mode, or one Drive-and-Path query per kind in safe mode) and every further
// test in that folder is answered from the listing. A listing that fails
// answers "could not tell" for every name in it. The scan turns the listings
// on for one computer and drops them at its end; the fix never uses them.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

namespace corvane::remote {

class FolderListings {
public:
    struct Kind {
        bool listed = false;
        bool failed = false;
        std::string error;  // why the listing failed
    };
    struct Entry {
        bool file = false;
        bool folder = false;
    };
    struct Listing {
        Kind files;
        Kind folders;
        std::unordered_map<std::string, Entry> names;  // upper-cased last parts
    };

    [[nodiscard]] bool Enabled() const noexcept { return enabled_; }
    // Turning them off drops every listing.
    void Enable(bool on) {
        enabled_ = on;
        listings_.clear();
    }
    // The listing of a folder (its path ending in "\"), empty until filled.
    [[nodiscard]] Listing& Of(std::string_view folder);

private:
    bool enabled_ = false;
    std::unordered_map<std::string, Listing> listings_;
};

}  // namespace corvane::remote
