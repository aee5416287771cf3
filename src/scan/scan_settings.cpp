#include "scan/scan_settings.h"

#include "db/app_tables.h"

namespace corvane::scan {

bool DatabaseScanSettings::Is_Excepted(std::string_view candidate) { return Is_In_Exception_List(db_, candidate); }

bool DatabaseScanSettings::Extensions(std::string& extn) { return Get_Extensions(db_, extn); }

ScanSettingsCopy::ScanSettingsCopy(Database& db) {
    (void)Get_Exception_Texts(db, upperExceptions_);
    std::string extn;
    if (Get_Extensions(db, extn)) extensions_ = std::move(extn);
}

bool ScanSettingsCopy::Is_Excepted(std::string_view candidate) {
    return Matches_Exception(upperExceptions_, candidate);
}

bool ScanSettingsCopy::Extensions(std::string& extn) {
    if (!extensions_) return false;
    extn = *extensions_;
    return true;
}

}  // namespace corvane::scan
