#include "fix_fixture.h"

#include "db/app_tables.h"
#include "remote/reg_file.h"
#include "scan/scan_categories.h"

namespace corvane::testing {

namespace {

std::string Root_Tag(std::uint32_t root) { return std::to_string(static_cast<std::int32_t>(root)); }

std::string Value_Text(const remote::RegistryValue& value) {
    std::string text = std::to_string(value.type) + ":" + value.text + ":" + std::to_string(value.number);
    for (const std::string& part : value.parts) text += "|" + part;
    for (const std::uint8_t byte : value.bytes) text += "," + std::to_string(byte);
    return text;
}

}  // namespace

FixScene::FixScene()
    : ports{network, database.reporter, database.clock, network, network.Local(), network},
      target(ports),
      env{window, database.db, target, stop} {
    Fill_Scan_Categories(window.categories);
    Set_Options(0);
}

void FixScene::Set_Options(std::int32_t options) { (void)Save_Settings(database.db, options, ""); }

void FixScene::Add_Header(std::string_view categoryKey, std::string_view computerName, std::string_view targetName,
                          int count) {
    ListRow& row = window.results.Add_List_Item(0, std::string(categoryKey) + std::string(computerName),
                                                "Header " + std::string(categoryKey), "", "Header", 0);
    row.bold = true;
    row.checked = true;
    row.Sub(1).key = std::string(targetName);
    row.Sub(1).text = std::string(computerName);
    row.Sub(2).key = "fixStatus";
    row.Sub(2).text = std::to_string(count) + " Problems Found";
    row.Sub(2).tag = std::to_string(count);
}

std::string FixScene::Add_Registry_Row(char digit, std::string_view targetName, std::uint32_t root,
                                       std::string_view keyPath, std::string_view valueName) {
    const std::string key = "s" + std::to_string(nextProblem_++);
    ListRow& row = window.results.Add_List_Item(0, key, valueName.empty() ? std::string(keyPath) : std::string(valueName),
                                                "", "Registry", 1);
    row.checked = true;
    row.tag = std::string(1, digit) + "fA" + std::string(targetName);
    row.Sub(1).tag = Root_Tag(root);
    row.Sub(2).text = "Invalid entry";
    row.Sub(2).tag = std::string(keyPath);
    row.Sub(3).text = remote::Root_Key_Name(root) + "\\" + std::string(keyPath);
    row.Sub(3).tag = std::string(valueName);
    return key;
}

std::string FixScene::Add_File_Row(char digit, std::string_view targetName, std::string_view path) {
    const std::string key = "c" + std::to_string(nextProblem_++);
    ListRow& row = window.results.Add_List_Item(0, key, std::string(path), "", "File", 1);
    row.checked = true;
    row.tag = std::string(1, digit) + "dB" + std::string(targetName);
    row.Sub(1).tag = std::string(path);
    row.Sub(2).text = "Temporary file";
    row.Sub(3).text = std::string(path);
    return key;
}

void FixScene::Add_Error_Row(std::string_view computerName) {
    ListRow& row = window.results.Add_List_Item(0, "e" + std::string(computerName), "[Error]", "", "Error", 0);
    row.Sub(1).text = std::string(computerName);
    row.Sub(2).text = "The RPC server is unavailable.";
}

std::set<std::string> Snapshot(remote::SimComputer& computer) {
    std::set<std::string> facts;
    for (const std::uint32_t root : {kHklm, kHku}) {
        remote::RegFile file;
        (void)computer.registry.Export(root, "", file);
        for (const remote::RegKeyBlock& block : file.keys) {
            const std::string key = remote::Root_Key_Name(block.root) + "\\" + block.keyPath;
            facts.insert("key " + key);
            for (const remote::RegValueLine& line : block.values) {
                facts.insert("value " + key + " [" + line.name + "] = " + (line.value ? Value_Text(*line.value) : "-"));
            }
        }
    }
    for (const bool folders : {false, true}) {
        for (const remote::FileEntry& entry : computer.files.All(folders)) {
            facts.insert(std::string(folders ? "folder " : "file ") + entry.path);
        }
    }
    return facts;
}

std::set<std::string> Difference(const std::set<std::string>& before, const std::set<std::string>& after) {
    std::set<std::string> difference;
    for (const std::string& fact : before) {
        if (after.count(fact) == 0) difference.insert(fact);
    }
    for (const std::string& fact : after) {
        if (before.count(fact) == 0) difference.insert("+" + fact);
    }
    return difference;
}

}  // namespace corvane::testing
