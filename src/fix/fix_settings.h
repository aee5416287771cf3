// What the fix reads of the stored settings: the option bits and each
// computer's credentials. On the user-interface thread they are read from the
// database at every test; a computer fixed on a worker thread reads the copy
// taken before its worker started, because only that thread touches the
// database.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "base/secret.h"

namespace corvane {
class Database;
}  // namespace corvane

namespace corvane::fix {

struct FixEnvironment;

struct FixSettings {
    struct Account {
        std::string userName;
        Secret password;
    };
    std::map<std::int32_t, bool> options;     // every bit the fix tests
    std::map<std::string, Account> accounts;  // by the name the computer is listed under

    // The options and the credentials of the named computers as stored now.
    [[nodiscard]] static FixSettings Read(Database& db, const std::vector<std::string>& computerNames);
};

// The option bit, from the copy when the environment has one.
[[nodiscard]] bool Fix_Option(const FixEnvironment& env, std::int32_t bit);
// The computer's stored credentials; none (the caller's own identity) when
// they cannot be read, which the database layer has reported.
void Fix_Credentials(const FixEnvironment& env, std::string_view computerName, std::string& userName, Secret& password);

}  // namespace corvane::fix
