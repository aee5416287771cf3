// What the category routines read of the stored settings while they run:
// the exception list and the extension list of the systemwide search. A scan
// of one computer at a time reads the database at every test; a computer
// scanned on a worker thread reads a copy taken when its scan began, because
// only the user-interface thread touches the database.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {
class Database;
}  // namespace corvane

namespace corvane::scan {

class IScanSettings {
public:
    virtual ~IScanSettings() = default;
    IScanSettings() = default;
    IScanSettings(const IScanSettings&) = delete;
    IScanSettings& operator=(const IScanSettings&) = delete;

    // True when the candidate contains an entry of the exception list.
    [[nodiscard]] virtual bool Is_Excepted(std::string_view candidate) = 0;
    // The extension list; false when there is none to read.
    [[nodiscard]] virtual bool Extensions(std::string& extn) = 0;
};

// Asks the database at every test, so a change in the exception dialog
// applies to the very next candidate.
class DatabaseScanSettings final : public IScanSettings {
public:
    explicit DatabaseScanSettings(Database& db) : db_(db) {}
    [[nodiscard]] bool Is_Excepted(std::string_view candidate) override;
    [[nodiscard]] bool Extensions(std::string& extn) override;

private:
    Database& db_;
};

// The settings as they stood when a computer's scan began. Taking them
// raises the database's error, so that a computer whose exception list
// cannot be read lists nothing.
class ScanSettingsCopy final : public IScanSettings {
public:
    explicit ScanSettingsCopy(Database& db);
    [[nodiscard]] bool Is_Excepted(std::string_view candidate) override;
    [[nodiscard]] bool Extensions(std::string& extn) override;

private:
    std::vector<std::string> upperExceptions_;
    std::optional<std::string> extensions_;
};

}  // namespace corvane::scan
