#include "periphery/update_check.h"

#include <gtest/gtest.h>

namespace corvane::periphery {
namespace {

TEST(UpdateCheck, VersionsAreComparedAsNumbersAfterTrimming) {
    const struct {
        const char* remote;
        const char* local;
        int order;  // against local: -1, 0, 1; 2 when remote is not a version
    } cases[] = {
        {"2.10.0", "2.9.0", 1},         {"1.10.0", "1.2.3", 1},    {"2.9.0", "2.10.0", -1}, {"1.2.3\r\n", "1.2.3", 0},
        {" 1.2.3 ", "1.2.3", 0},        {"1.2", "1.2.0", 0},       {"1.2.0.1", "1.2", 1},   {"", "1.0", 2},
        {"<html>404</html>", "1.0", 2}, {"1..2", "1.0", 2},        {"1.2.", "1.0", 2},      {"v1.2", "1.0", 2},
        {"1.2.3.4.5", "1.0", 2},        {"99999999999", "1.0", 2}, {"1.-2", "1.0", 2}};
    for (const auto& c : cases) {
        const auto remote = Parse_Version(c.remote);
        ASSERT_EQ(remote.has_value(), c.order != 2) << c.remote;
        if (remote) {
            EXPECT_EQ(Compare_Versions(*remote, *Parse_Version(c.local)), c.order <=> 0) << c.remote;
        }
    }
}

}  // namespace
}  // namespace corvane::periphery
