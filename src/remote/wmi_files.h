// Files and folders of the target through CIM_DataFile and Win32_Directory of
// root\cimv2, and the existence tests that follow the scan mode (the
// management service in safe mode, the administrative share in fast mode).
// Inside WQL literals every "\" is doubled; "'" is escaped as "\'" only where
// noted, as the program has always done.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "remote/target_context.h"
#include "remote/wmi.h"

namespace corvane::remote {

// Every "\" doubled.
[[nodiscard]] std::string Wql_Backslashes(std::string_view text);
// Every "\" doubled and every "'" written "\'".
[[nodiscard]] std::string Wql_Escape(std::string_view text);
// "\\" + computer + "\" + path with ":" made "$" ("$\" when the path is
// shorter than 3 characters): C: -> \\PC\C$\ and C:\Temp -> \\PC\C$\Temp.
[[nodiscard]] std::string Share_Path(std::string_view computerName, std::string_view path);

// The WQL condition that lists one folder through the Drive and Path
// properties of Win32_Directory and CIM_DataFile: "C:\Temp" gives
// Drive='C:' And Path='\\Temp\\' (the path escaped, ending in "\").
[[nodiscard]] std::string Wql_Folder_Condition(std::string_view folder);

// Existence tests that follow the scan mode.
//
// Contract (every category relies on it):
// - Inside, an existence test has three answers: the entry exists, it is
//   missing, or the computer could not tell (access refused on one folder,
//   a path too long, a sharing violation: any Win32 error about the entry;
//   a share or folder that cannot be listed). Only "missing" may ever give
//   a problem row.
// - The Boolean routines Remote_File_Exists and Remote_Folder_Exists answer
//   true ("exists") when the test could not tell, so that a caller that only
//   sees the Boolean never reports the entry; each such test is counted in
//   the context (TargetContext::Note_Undecided) and the category's end writes
//   one warning line with the count and the last error text.
// - A failure of the connection itself (Is_Connection_Error) or of the
//   management service (any error other than a refused access) is raised to
//   the caller as the program's run-time error: the scan driver then ends the
//   computer with its "[Error]" row and takes nothing more from it.
enum class Existence { Exists, Missing, Unknown };

// True without looking for a path containing "program files" on a 64-bit
// target; safe mode: the CIM_Datafile query with "'" escaped; fast mode: a
// listing of the administrative share (remote) or of the path itself (local).
// A listing that cannot be made falls back to the query, and so do paths
// without a drive letter and paths on drives that are not fixed; a fixed
// drive's share that cannot be listed at all makes the rest of the
// computer's tests use the query and logs one warning. A path ending in "\"
// names a folder and is tested as one. While a scan keeps folder listings
// (TargetContext::listings), a name is answered from its folder's listing
// instead (folder_listings.h).
[[nodiscard]] Existence Test_File_Existence(TargetContext& context, wmi::IServices& cimv2, std::string_view path);
// As above for folders (no "program files" rule; mask 63).
[[nodiscard]] Existence Test_Folder_Existence(TargetContext& context, wmi::IServices& cimv2, std::string_view path);

// The Boolean forms of the contract above: false only for "missing".
bool Remote_File_Exists(TargetContext& context, wmi::IServices& cimv2, std::string_view path);
bool Remote_Folder_Exists(TargetContext& context, wmi::IServices& cimv2, std::string_view path);

// "c:" matches the fixed drive "C:".
[[nodiscard]] bool Is_Fixed_Drive(const TargetContext& context, std::string_view name);

// Delete on every CIM_DataFile named path ("'" escaped); returnCode = the last
// Delete's code (untouched when nothing matched, which counts as success).
bool WMI_Delete_File(wmi::IServices& cimv2, std::string_view path, std::int32_t& returnCode);
// Renames folder + currentName (folder ends in "\") to newName in the same
// folder. False when the file is not there.
bool WMI_Rename_File(wmi::IServices& cimv2, std::string_view folder, std::string_view currentName,
                     std::string_view newName);
// NTFS compression of the file. False when the file is not there.
bool WMI_Compress_File(wmi::IServices& cimv2, std::string_view path);
// A SQLite database's companion files: its rollback journal, and its
// write-ahead log with that log's index. They hold the database's unfinished
// or not yet copied transactions, so they are listed, checked and deleted
// with their database, never alone.
inline constexpr std::array<std::string_view, 3> kDatabaseCompanionSuffixes{"-journal", "-wal", "-shm"};
// The name of the database a companion belongs to ("a.sqlite-WAL" gives
// "a.sqlite"); "" for any other name.
[[nodiscard]] std::string_view Database_Of_Companion(std::string_view name);
// The companions of the database at path that exist now (their WMI names),
// from one Drive-and-Path query of its folder; run-time errors are raised.
[[nodiscard]] std::vector<std::string> WMI_Database_Companions(wmi::IServices& cimv2, std::string_view path);

// WindowsDirectory of Win32_OperatingSystem; false on any error.
bool WMI_Get_Windows_Directory(wmi::IServices& cimv2, std::string& directory);

// The text of a CIM_DataFile / Win32_Directory return code ("" for 0 and unknown codes).
[[nodiscard]] std::string WMI_Return_Code_Text(std::int32_t code);

}  // namespace corvane::remote
