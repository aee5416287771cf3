#include "fix_fixture.h"

#include "db/app_tables.h"
#include "remote/reg_file.h"
#include "scan/scan_categories.h"

namespace corvane::testing {

namespace {

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
    ListRow& row = Add_Header_Row(window.results, categoryKey, computerName, "Header " + std::string(categoryKey));
    row.Sub(1).key = std::string(targetName);
    row.Sub(2).text = std::to_string(count) + " Problems Found";
    row.Sub(2).tag = std::to_string(count);
}

std::string FixScene::Add_Registry_Row(char digit, std::string_view targetName, std::uint32_t root,
                                       std::string_view keyPath, std::string_view valueName) {
    return testing::Add_Registry_Row(
               window.results, nextProblem_++,
               {.fixDigit = digit, .computer = targetName, .root = root, .keyPath = keyPath, .valueName = valueName})
        .key;
}

std::string FixScene::Add_File_Row(char digit, std::string_view targetName, std::string_view path) {
    return testing::Add_File_Row(window.results, nextProblem_++, path, targetName, digit, "dB").key;
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
