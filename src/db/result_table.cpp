#include "db/result_table.h"

#include "base/runtime_error.h"

namespace corvane {

ResultTable::ResultTable(std::vector<std::string> columnNames, std::size_t dataRows) : columns_(columnNames.size()) {
    cells_.resize(columns_ * (dataRows + 1));
    for (std::size_t c = 0; c < columns_; ++c) cells_[c] = std::move(columnNames[c]);
}

const std::string& ResultTable::Cell(std::size_t row, std::size_t column) const {
    if (column >= columns_ || row >= Row_Count()) {
        throw RuntimeError(error_number::kSubscriptOutOfRange, "Subscript out of range");
    }
    return cells_[row * columns_ + column];
}

std::string& ResultTable::Cell(std::size_t row, std::size_t column) {
    return const_cast<std::string&>(static_cast<const ResultTable&>(*this).Cell(row, column));
}

void ResultTable::Clear() noexcept {
    columns_ = 0;
    cells_.clear();
}

}  // namespace corvane
