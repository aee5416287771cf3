// The scan results list as a model: the rows of lvwScanResults in the order
// they were added, each with its key, texts, icons, check mark, indentation,
// tag and three sub-items with their own keys and tags. The scan writes it,
// the fixing routine reads and marks it, and the Win32 list view shows it as
// a virtual list through the observer. The first character of a row's key
// tells its kind: "s" registry problem, "c" file or folder problem, "e" error
// row of a computer, any other a category header.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace corvane {

struct ListSubItem {
    std::string text;
    std::string key;
    std::string tag;  // numbers (a root key, a count) are kept as decimal text
    bool bold = false;
};

struct ListRow {
    std::string key;
    std::string text;
    std::string icon;
    std::string smallIcon;
    std::string tag;
    bool bold = false;
    bool checked = false;
    bool selected = false;
    int indent = 0;
    // Index 1..3 are the columns "Data", "Problem" and "Registry Key"; 0 is unused.
    std::array<ListSubItem, 4> subItems;

    [[nodiscard]] ListSubItem& Sub(std::size_t index) { return subItems.at(index); }
    [[nodiscard]] const ListSubItem& Sub(std::size_t index) const { return subItems.at(index); }
};

enum class RowKind { Header, RegistryProblem, FileProblem, Error };
[[nodiscard]] RowKind Kind_Of_Key(std::string_view key) noexcept;
[[nodiscard]] inline bool Is_Problem_Key(std::string_view key) noexcept {
    return !key.empty() && (key[0] == 's' || key[0] == 'c');
}

inline constexpr const char* kFixedItemIcon = "FixedItem";
// The key of a category header's status sub-item (sub-item 2).
inline constexpr const char* kFixStatusKey = "fixStatus";

// What the view learns about changes, so that it can redraw only what moved.
class IResultsListObserver {
public:
    virtual ~IResultsListObserver() = default;
    virtual void Rows_Inserted(std::size_t first, std::size_t count) = 0;
    virtual void Row_Changed(std::size_t index) = 0;
    virtual void Row_Removed(std::size_t index) = 0;
    virtual void Cleared() = 0;
    virtual void Ensure_Visible(std::size_t index) = 0;
};

class ResultsList {
public:
    ResultsList() = default;
    ResultsList(const ResultsList&) = delete;
    ResultsList& operator=(const ResultsList&) = delete;

    void Set_Observer(IResultsListObserver* observer) noexcept { observer_ = observer; }

    // Add_List_Item: a row with this key and text at position index (1-based,
    // as the list view counts; 0 or less appends), icons only when not empty,
    // indentation as given. Returns the new row; the reference holds until
    // the next row is added or removed (find a row again by its key after).
    ListRow& Add_List_Item(std::size_t index, std::string key, std::string text, std::string_view icon,
                           std::string_view smallIcon, int indent);

    [[nodiscard]] std::size_t Count() const noexcept { return rows_.size(); }
    [[nodiscard]] ListRow& Row(std::size_t index) { return rows_.at(index); }  // 0-based
    [[nodiscard]] const ListRow& Row(std::size_t index) const { return rows_.at(index); }
    // Index of the row with this key, or Count() when there is none.
    [[nodiscard]] std::size_t Find(std::string_view key) const;

    void Remove(std::string_view key);
    void Clear();

    // Tell the view that a row's fields were changed in place.
    void Notify_Changed(std::size_t index);
    void Ensure_Visible(std::size_t index);

private:
    std::vector<ListRow> rows_;
    std::unordered_map<std::string, std::size_t> indexByKey_;
    IResultsListObserver* observer_ = nullptr;
};

}  // namespace corvane
