// Add To Exception List over the selected rows of the results list: the
// exception text of each row, the length rule and the question, stored
// through the application tables.
#pragma once

#include <cstddef>
#include <cstdint>

namespace corvane {

class Database;
class Reporter;
class ResultsList;

inline constexpr std::size_t kMaxExceptionLength = 255;
inline constexpr std::int32_t kListExceptionType = 2;

inline constexpr const char* kAddToExceptionQuestion =
    "Are you sure you want to add the selected problems into exception list?";
inline constexpr const char* kExceptionTooLongMessage =
    "Maximum number of characters that can be added to the exception list is 255!\r\n\r\n"
    "Data not added to Exception list.";

// Add To Exception List over the selected rows; asks first. Returns the
// number of texts stored. A database failure is reported with Show_Error and
// stops the walk, leaving the current and later rows in the list.
std::size_t Add_Selected_To_Exception_List(ResultsList& list, Database& db, Reporter& reporter);

}  // namespace corvane
