#include "fix/fix_settings.h"

#include "base/runtime_error.h"
#include "db/app_tables.h"
#include "fix/fix_environment.h"
#include "settings/general_options.h"

namespace corvane::fix {

namespace {
constexpr std::int32_t kFixOptions[] = {GO_AUTOMATIC_FIXING, GO_REGISTRY_BACKUP, GO_RESTORE_POINT, GO_SHUTDOWN,
                                        GO_ABORT_FIXING};

void Read_Credentials(Database& db, std::string_view computerName, std::string& userName, Secret& password) {
    try {
        (void)Get_Computer_Credentials(db, computerName, userName, password);
    } catch (const RuntimeError&) {
        // Already reported by the database layer; the caller's own identity is tried.
        userName.clear();
        password = Secret();
    }
}

}  // namespace

FixSettings FixSettings::Read(Database& db, const std::vector<std::string>& computerNames) {
    FixSettings settings;
    for (const std::int32_t bit : kFixOptions) settings.options[bit] = IsGeneralOptionSet(db, bit);
    for (const std::string& name : computerNames) {
        Account& account = settings.accounts[name];
        Read_Credentials(db, name, account.userName, account.password);
    }
    return settings;
}

bool Fix_Option(const FixEnvironment& env, std::int32_t bit) {
    if (env.settings == nullptr) return IsGeneralOptionSet(env.db, bit);
    const auto found = env.settings->options.find(bit);
    return found != env.settings->options.end() ? found->second : Safe_Option_Value(bit);
}

void Fix_Credentials(const FixEnvironment& env, std::string_view computerName, std::string& userName,
                     Secret& password) {
    if (env.settings == nullptr) {
        Read_Credentials(env.db, computerName, userName, password);
        return;
    }
    const auto found = env.settings->accounts.find(std::string(computerName));
    if (found == env.settings->accounts.end()) return;
    userName = found->second.userName;
    password = found->second.password;
}

}  // namespace corvane::fix
