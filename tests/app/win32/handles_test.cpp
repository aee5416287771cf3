// The owning handle template and the UTF-8/UTF-16 conversions every Windows
// file of the program relies on.
#include <gtest/gtest.h>

#include <vector>

#include "base/win32/unique_any.h"
#include "base/win32/wide_text.h"

namespace corvane::win32 {
namespace {

std::vector<int> closed;
void Record_Close(int handle) noexcept { closed.push_back(handle); }
using unique_number = unique_any<int, Record_Close, -1>;

TEST(UniqueAny, ClosesExactlyOnceAndNeverTheInvalidValue) {
    closed.clear();
    {
        unique_number empty;
        EXPECT_FALSE(empty);
        unique_number zero(0);  // 0 is a valid handle when -1 is the invalid one
        EXPECT_TRUE(zero);
    }
    EXPECT_EQ(closed, std::vector<int>{0});

    unique_number a(5);
    a.reset(6);                 // closes 5
    EXPECT_EQ(a.release(), 6);  // closes nothing
    EXPECT_FALSE(a);
    a.reset(7);
    int* slot = a.put();  // closes 7
    EXPECT_EQ(*slot, -1);
    *slot = 8;
    unique_number b(std::move(a));
    EXPECT_FALSE(a);
    unique_number c(9);
    c = std::move(b);  // closes 9
    EXPECT_EQ(c.get(), 8);
    EXPECT_EQ(closed, (std::vector<int>{0, 5, 7, 9}));
}

TEST(WideText, RoundTripsEveryPlane) {
    const std::string text = "Corvane \xC3\xA4\xC3\xB6\xC3\xBC \xE2\x82\xAC \xF0\x9F\x98\x80";  // äöü € 😀
    const std::wstring wide = Widen(text);
    EXPECT_EQ(wide, L"Corvane \u00E4\u00F6\u00FC \u20AC \U0001F600");
    EXPECT_EQ(Narrow(wide), text);
    EXPECT_EQ(Widen(""), L"");
    EXPECT_EQ(Narrow(L""), "");
    EXPECT_EQ(Narrow(Widen(std::string("a\0b", 3))), std::string("a\0b", 3));
}

TEST(WideText, InvalidInputBecomesReplacementCharacters) {
    EXPECT_EQ(Widen("a\xFF"
                    "b"),
              L"a\uFFFDb");
    const wchar_t lone[] = {L'x', static_cast<wchar_t>(0xD800), L'y'};
    EXPECT_EQ(Narrow(std::wstring_view(lone, 3)), "x\xEF\xBF\xBDy");
    const wchar_t buffer[8] = {L'a', L'b', 0, L'z'};
    EXPECT_EQ(Narrow_Buffer(buffer, 8), "ab");
}

}  // namespace
}  // namespace corvane::win32
