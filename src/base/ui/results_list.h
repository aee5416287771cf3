// The scan results list as a model: the rows of lvwScanResults in the order
// they were added, each with its key, texts, icons, check mark, indentation
// and typed fields: a problem row carries its Problem record. The scan
// writes it, the fixing routine reads the records and marks them, and the
// Win32 list view shows it as a virtual list through the observer. The first character of a row's key
// tells its kind: "s" registry problem, "c" file or folder problem, "e" error
// row of a computer, any other a category header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/ui/problem.h"

namespace corvane {

struct ListRow {
    std::string key;
    std::string text;  // column "Value Name"
    std::string icon;
    std::string smallIcon;  // as the row was added; a fixed problem row shows "FixedItem" instead
    bool bold = false;
    bool checked = false;
    bool selected = false;
    int indent = 0;

    // Header and error rows: the computer the rows below belong to, as the
    // computer tree names it (column "Data") and the name it answered with.
    std::string computerName;
    std::string targetName;
    // Header rows: the category's problems not fixed yet.
    std::int32_t count = 0;
    // Column "Problem": a problem row's reason or, once fixed or refused, the
    // fix's outcome; a header's count text; an error row's error.
    std::string status;
    // Problem rows: the columns "Data" and "Registry Key" as the scan saw
    // them, and the typed record the fix acts on.
    std::string data;
    std::string location;
    std::optional<Problem> problem;

    [[nodiscard]] bool Is_Fixed() const noexcept { return problem && problem->fixed; }
};

enum class RowKind { Header, RegistryProblem, FileProblem, Error };
[[nodiscard]] RowKind Kind_Of_Key(std::string_view key) noexcept;
[[nodiscard]] inline bool Is_Problem_Key(std::string_view key) noexcept {
    return !key.empty() && (key[0] == 's' || key[0] == 'c');
}

inline constexpr const char* kFixedItemIcon = "FixedItem";

// The small icon the row shows: "FixedItem" once its problem is fixed.
[[nodiscard]] inline std::string_view Shown_Small_Icon(const ListRow& row) noexcept {
    return row.Is_Fixed() ? std::string_view(kFixedItemIcon) : std::string_view(row.smallIcon);
}

// What the view learns about changes, so that it can redraw only what moved.
class IResultsListObserver {
public:
    virtual ~IResultsListObserver() = default;
    virtual void Rows_Inserted(std::size_t first, std::size_t count) = 0;
    virtual void Row_Changed(std::size_t index) = 0;
    virtual void Row_Removed(std::size_t index) = 0;
    virtual void Cleared() = 0;
    virtual void Ensure_Visible(std::size_t index) = 0;
    // Many rows arrive until told otherwise: the view may stop drawing.
    virtual void Drawing_Suspended(bool /*suspend*/) {}
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
    // Tells the view that many rows arrive (true) or that they have arrived.
    void Suspend_Drawing(bool suspend) {
        if (observer_ != nullptr) observer_->Drawing_Suspended(suspend);
    }

private:
    std::vector<ListRow> rows_;
    std::unordered_map<std::string, std::size_t> indexByKey_;
    IResultsListObserver* observer_ = nullptr;
};

}  // namespace corvane
