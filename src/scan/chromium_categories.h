// The Chromium browser categories: the cache, the cookies and the history of
// Chrome, Edge and Brave in every profile of every user (through the folder
// walker), each user's browser skipped while it runs for that user or when a
// policy moves its data somewhere that is not one of its known places.
#pragma once

#include "scan/scan_arguments.h"

namespace corvane::scan {

void Scan_Chrome_Cache(ScanArguments& args);    // "bA"
void Scan_Chrome_Cookies(ScanArguments& args);  // "bB"
void Scan_Chrome_History(ScanArguments& args);  // "bC"
void Scan_Edge_Cache(ScanArguments& args);      // "bD"
void Scan_Edge_Cookies(ScanArguments& args);    // "bE"
void Scan_Edge_History(ScanArguments& args);    // "bF"
void Scan_Brave_Cache(ScanArguments& args);     // "bG"
void Scan_Brave_Cookies(ScanArguments& args);   // "bH"
void Scan_Brave_History(ScanArguments& args);   // "bI"

}  // namespace corvane::scan
