#include <gtest/gtest.h>

#include <map>

#include "base/runtime_error.h"
#include "remote/wql.h"
#include "support/expect_error.h"

namespace corvane::wql {
namespace {

using corvane::testing::Raises;

using wmi::Variant;

bool Matches(std::string_view where, const std::map<std::string, Variant, wmi::NameLess>& row) {
    const Query query = Parse_Query("SELECT * FROM T WHERE " + std::string(where));
    return Evaluate_Condition(*query.where, [&](std::string_view name) -> std::optional<Variant> {
        const auto found = row.find(name);
        if (found == row.end()) return std::nullopt;
        return found->second;
    });
}

constexpr std::int32_t kInvalidQuery = static_cast<std::int32_t>(0x80041017u);

::testing::AssertionResult Refused(std::string_view text) {
    return Raises([&] { (void)Parse_Query(text); }, kInvalidQuery);
}

TEST(WqlParser, SelectListClassAndKeywordsInAnyCase) {
    const Query query = Parse_Query("select Name, FileSize from CIM_DataFile wHeRe Drive='c:'");
    EXPECT_EQ(query.properties, (std::vector<std::string>{"Name", "FileSize"}));
    EXPECT_EQ(query.className, "CIM_DataFile");
    ASSERT_NE(query.where, nullptr);
    const Query all = Parse_Query("Select * FROM Win32_Process");
    EXPECT_TRUE(all.properties.empty());
    EXPECT_EQ(all.where, nullptr);
}

TEST(WqlParser, AndBindsTighterThanOr) {
    // a=1 OR (b=1 AND c=1)
    const std::map<std::string, Variant, wmi::NameLess> onlyA{{"a", Variant(1)}, {"b", Variant(0)}, {"c", Variant(0)}};
    EXPECT_TRUE(Matches("a=1 OR b=1 AND c=1", onlyA));
    EXPECT_FALSE(Matches("(a=1 OR b=1) AND c=1", onlyA));
    const std::map<std::string, Variant, wmi::NameLess> onlyB{{"a", Variant(0)}, {"b", Variant(1)}, {"c", Variant(0)}};
    EXPECT_FALSE(Matches("a=1 OR b=1 AND c=1", onlyB));
    EXPECT_TRUE(Matches("b=1 AND c=1 OR b=1", onlyB));
}

TEST(WqlParser, StringEscapesAndInvalidBackslash) {
    const Query query = Parse_Query("Select * From T Where Name='C:\\\\Users\\\\O\\'Brien'");
    const auto& comparison = std::get<Comparison>(query.where->node);
    EXPECT_EQ(comparison.literal.As_String(), "C:\\Users\\O'Brien");
    // A lone backslash before an ordinary letter is not WQL.
    EXPECT_TRUE(Refused("Select * From T Where Name='C:\\Windows'"));
    // An apostrophe that is not escaped ends the literal early.
    EXPECT_TRUE(Refused("Select * From T Where Name='C:\\\\it's.txt'"));
}

TEST(WqlParser, SyntaxErrorsAreInvalidQuery) {
    for (const char* text : {"", "Select", "Select * T", "Select * From", "Select * From T Where",
                             "Select * From T Where a=", "Select * From T Where a='x", "Select * From T Where (a=1",
                             "Select * From T Where a=1 b=2", "Select a, From T", "Delete From T"}) {
        EXPECT_TRUE(Refused(text)) << text;
    }
}

TEST(WqlEval, ComparisonsIgnoreCaseAndFollowTypes) {
    const std::map<std::string, Variant, wmi::NameLess> row{{"Name", Variant("c:\\windows\\temp")},
                                                            {"DriveType", Variant(std::uint32_t{3})},
                                                            {"Primary", Variant(true)},
                                                            {"FileSize", Variant("1536")},
                                                            {"Empty", Variant::Null()}};
    EXPECT_TRUE(Matches("name='C:\\\\Windows\\\\TEMP'", row));
    EXPECT_FALSE(Matches("Name<>'C:\\\\WINDOWS\\\\temp'", row));
    EXPECT_TRUE(Matches("DriveType=3", row));
    EXPECT_TRUE(Matches("DriveType>2 AND DriveType<=3", row));
    EXPECT_FALSE(Matches("DriveType='4'", row));
    EXPECT_TRUE(Matches("Primary=TRUE", row));
    EXPECT_FALSE(Matches("Primary=false", row));
    EXPECT_TRUE(Matches("3 = DriveType", row));
    EXPECT_TRUE(Matches("Empty IS NULL AND Name IS NOT NULL", row));
    EXPECT_FALSE(Matches("Empty='x' OR Empty<>'x'", row));
    EXPECT_TRUE(Matches("NOT Name='x'", row));
}

TEST(WqlEval, LikeWildcards) {
    EXPECT_TRUE(Like_Match("CVNFullBackup.reg", "cvnfull%"));
    EXPECT_TRUE(Like_Match("abc", "a_c"));
    EXPECT_FALSE(Like_Match("abbc", "a_c"));
    EXPECT_TRUE(Like_Match("abbc", "a%c"));
    EXPECT_TRUE(Like_Match("", "%"));
    EXPECT_FALSE(Like_Match("abc", "ab"));
    EXPECT_TRUE(Like_Match("b1", "[abc]1"));
    EXPECT_FALSE(Like_Match("d1", "[a-c]1"));
    EXPECT_TRUE(Like_Match("d1", "[^a-c]1"));
    EXPECT_TRUE(Like_Match("ÄRGER.txt", "är%"));  // case folding beyond ASCII
    const std::map<std::string, Variant, wmi::NameLess> row{{"Extension", Variant("TMP")}};
    EXPECT_TRUE(Matches("Extension LIKE 't%'", row));
    EXPECT_FALSE(Matches("Extension NOT LIKE 't%'", row));
}

TEST(WqlEval, RequiredEqualityOnlyThroughAnd) {
    const Query both = Parse_Query("Select * From T Where Drive='c:' And Path='\\\\x\\\\' and (a=1 or b=2)");
    ASSERT_NE(Required_Equality(both.where.get(), "drive"), nullptr);
    EXPECT_EQ(Required_Equality(both.where.get(), "PATH")->As_String(), "\\x\\");
    EXPECT_EQ(Required_Equality(both.where.get(), "a"), nullptr);
    const Query either = Parse_Query("Select * From T Where Drive='c:' Or Path='x'");
    EXPECT_EQ(Required_Equality(either.where.get(), "Drive"), nullptr);
    EXPECT_EQ(Required_Equality(nullptr, "Drive"), nullptr);
}

}  // namespace
}  // namespace corvane::wql
