// One check for a call that must fail with the program's run-time error:
// EXPECT_TRUE(Raises([&] { ... }, 13)) or with its description too. The
// source is always the program's own.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>

#include "base/runtime_error.h"

namespace corvane::testing {

template <typename Call>
[[nodiscard]] ::testing::AssertionResult Raises(Call&& call, std::int32_t number, std::string_view description = {}) {
    try {
        call();
    } catch (const RuntimeError& error) {
        if (error.Number() != number) {
            return ::testing::AssertionFailure() << "raised \"" << error.Text() << "\", not number " << number;
        }
        if (!description.empty() && error.Description() != description) {
            return ::testing::AssertionFailure() << "raised \"" << error.Text() << "\", not \"" << description << "\"";
        }
        if (error.Source() != kProductName) {
            return ::testing::AssertionFailure() << "raised from source \"" << error.Source() << "\"";
        }
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "raised nothing";
}

}  // namespace corvane::testing
