// The browser privacy categories: the addresses typed into Internet
// Explorer and its form data (registry values of every user), and the
// Firefox profile data of every user (cookies, history, form data,
// passwords, search data, site settings, the cache) through the folder walker.
#pragma once

#include <string>
#include <string_view>

#include "scan/scan_arguments.h"

namespace corvane::scan {

void Scan_IE_Typed_URLs(ScanArguments& args);  // "iD"
void Scan_IE_Forms_Data(ScanArguments& args);  // "iE"

void Scan_Firefox_Cookies(ScanArguments& args);        // "xA"
void Scan_Firefox_Cache(ScanArguments& args);          // "xC"
void Scan_Firefox_Downloads(ScanArguments& args);      // "xE"
void Scan_Firefox_Form_History(ScanArguments& args);   // "xF"
void Scan_Firefox_Passwords(ScanArguments& args);      // "xG"
void Scan_Firefox_Search(ScanArguments& args);         // "xH"
void Scan_Firefox_Page_Settings(ScanArguments& args);  // "xI"

}  // namespace corvane::scan
