// The general options: the bit mask of the settings row, read afresh at every
// test. A settings row that cannot be read answers every bit with its safe
// value, so that a database failure never switches on unattended fixing or
// shutdowns.
#pragma once

#include <cstdint>

namespace corvane {

class Database;

enum GeneralOption : std::int32_t {
    GO_AUTOMATIC_FIXING = 1,
    GO_REGISTRY_BACKUP = 2,
    GO_RESTORE_POINT = 4,
    GO_SHUTDOWN = 8,
    GO_SAFE_SCAN = 32,
    GO_ABORT_FIXING = 64,
};

[[nodiscard]] constexpr bool Is_Bit_Set(std::int32_t mask, std::int32_t bit) noexcept { return (mask & bit) != 0; }

void Set_Option_Bit(std::int32_t& mask, std::int32_t bit, bool set) noexcept;

// The value a bit takes when the settings row cannot be read: automatic fixing
// and shutdown count as clear; restore point, safe scan and abort fixing as set.
[[nodiscard]] bool Safe_Option_Value(std::int32_t bit) noexcept;

// Reads the settings row and tests the bit. Without a connection it shows
// "Error while reading Database!"; a failed read is logged without a box.
// Either way the bit's safe value is the answer.
[[nodiscard]] bool IsGeneralOptionSet(Database& db, std::int32_t bit);

// "Computers scanned at once" as stored; one at a time when it cannot be
// read (logged), the way every scan ran before the option existed.
[[nodiscard]] std::int32_t Get_Computers_At_Once(Database& db);

}  // namespace corvane
