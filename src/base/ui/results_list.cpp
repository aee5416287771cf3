#include "base/ui/results_list.h"

#include <stdexcept>

namespace corvane {

RowKind Kind_Of_Key(std::string_view key) noexcept {
    if (key.empty()) return RowKind::Header;
    switch (key[0]) {
        case 's': return RowKind::RegistryProblem;
        case 'c': return RowKind::FileProblem;
        case 'e': return RowKind::Error;
        default: return RowKind::Header;
    }
}

ListRow& ResultsList::Add_List_Item(std::size_t index, std::string key, std::string text, std::string_view icon,
                                    std::string_view smallIcon, int indent) {
    if (indexByKey_.count(key) != 0) throw std::invalid_argument("Key is not unique in collection: " + key);
    const std::size_t position = (index >= 1 && index <= rows_.size()) ? index - 1 : rows_.size();
    ListRow row;
    row.key = std::move(key);
    row.text = std::move(text);
    if (!icon.empty()) row.icon = std::string(icon);
    if (!smallIcon.empty()) row.smallIcon = std::string(smallIcon);
    row.indent = indent;
    rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(position), std::move(row));
    if (position + 1 == rows_.size()) {
        indexByKey_[rows_.back().key] = position;
    } else {
        for (std::size_t i = position; i < rows_.size(); ++i) indexByKey_[rows_[i].key] = i;
    }
    if (observer_ != nullptr) observer_->Rows_Inserted(position, 1);
    return rows_[position];
}

std::size_t ResultsList::Find(std::string_view key) const {
    const auto hit = indexByKey_.find(std::string(key));
    return hit == indexByKey_.end() ? rows_.size() : hit->second;
}

void ResultsList::Remove(std::string_view key) {
    const std::size_t index = Find(key);
    if (index >= rows_.size()) return;
    indexByKey_.erase(rows_[index].key);
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(index));
    for (std::size_t i = index; i < rows_.size(); ++i) indexByKey_[rows_[i].key] = i;
    if (observer_ != nullptr) observer_->Row_Removed(index);
}

void ResultsList::Clear() {
    rows_.clear();
    indexByKey_.clear();
    if (observer_ != nullptr) observer_->Cleared();
}

void ResultsList::Notify_Changed(std::size_t index) {
    if (observer_ != nullptr && index < rows_.size()) observer_->Row_Changed(index);
}

void ResultsList::Ensure_Visible(std::size_t index) {
    if (observer_ != nullptr && index < rows_.size()) observer_->Ensure_Visible(index);
}

}  // namespace corvane
