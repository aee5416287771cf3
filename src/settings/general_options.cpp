#include "settings/general_options.h"

#include <string>

#include "base/reporter.h"
#include "base/runtime_error.h"
#include "db/app_tables.h"
#include "db/database.h"

namespace corvane {

void Set_Option_Bit(std::int32_t& mask, std::int32_t bit, bool set) noexcept {
    mask = set ? (mask | bit) : (mask & ~bit);
}

bool Safe_Option_Value(std::int32_t bit) noexcept {
    return !(Is_Bit_Set(bit, GO_AUTOMATIC_FIXING) || Is_Bit_Set(bit, GO_SHUTDOWN));
}

bool IsGeneralOptionSet(Database& db, std::int32_t bit) {
    std::int32_t options = 0;
    std::string extn;
    try {
        if (!Load_Settings(db, options, extn)) {
            db.Reports().Messages().Show("Error while reading Database!", MsgButtons::Ok, MsgIcon::Critical);
            return Safe_Option_Value(bit);
        }
    } catch (const RuntimeError& error) {
        db.Reports().Show_Error(false, error);
        return Safe_Option_Value(bit);
    }
    return Is_Bit_Set(options, bit);
}

std::int32_t Get_Computers_At_Once(Database& db) {
    std::int32_t count = 1;
    try {
        if (!Load_Computers_At_Once(db, count)) count = 1;
    } catch (const RuntimeError& error) {
        db.Reports().Show_Error(false, error);
        count = 1;
    }
    return count;
}

}  // namespace corvane
