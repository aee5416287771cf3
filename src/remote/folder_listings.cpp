#include "remote/folder_listings.h"

#include "base/text.h"

namespace corvane::remote {

FolderListings::Listing& FolderListings::Of(std::string_view folder) { return listings_[Upper_Text(folder)]; }

}  // namespace corvane::remote
