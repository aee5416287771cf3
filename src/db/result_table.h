// ResultTable: the whole result of one SQL statement as text. Row 0 holds the
// column names, rows 1..n the data. A statement without data rows gives a
// table with no dimensions at all (not even row 0).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace corvane {

class ResultTable {
public:
    ResultTable() = default;
    ResultTable(std::vector<std::string> columnNames, std::size_t dataRows);

    [[nodiscard]] bool Has_Dimensions() const noexcept { return columns_ > 0; }
    // Rows including row 0; 0 for an empty table.
    [[nodiscard]] std::size_t Row_Count() const noexcept { return columns_ == 0 ? 0 : cells_.size() / columns_; }
    [[nodiscard]] std::size_t Column_Count() const noexcept { return columns_; }

    // Throws the run-time error "Subscript out of range" (9) outside the table.
    [[nodiscard]] const std::string& Cell(std::size_t row, std::size_t column) const;
    std::string& Cell(std::size_t row, std::size_t column);

    void Clear() noexcept;

private:
    std::size_t columns_ = 0;
    std::vector<std::string> cells_;
};

}  // namespace corvane
