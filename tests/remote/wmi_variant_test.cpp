#include <gtest/gtest.h>

#include <limits>

#include "base/runtime_error.h"
#include "remote/wmi_datetime.h"
#include "remote/wmi_errors.h"
#include "remote/wmi_variant.h"
#include "support/expect_error.h"

namespace corvane::wmi {
namespace {

using corvane::testing::Raises;

TEST(Variant, ConversionsAsTheScriptingLayerMakesThem) {
    EXPECT_EQ(Variant(std::uint32_t{0x80041010u}).As_Int32(), static_cast<std::int32_t>(0x80041010u));
    EXPECT_EQ(Variant(" 42 ").As_Int32(), 42);
    EXPECT_EQ(Variant("1536").As_Double(), 1536.0);
    EXPECT_EQ(Variant(true).As_Int64(), -1);
    EXPECT_TRUE(Variant("TRUE").As_Bool());
    EXPECT_FALSE(Variant("0").As_Bool());
    EXPECT_EQ(Variant(false).As_String(), "False");
    EXPECT_EQ(Variant(2.5).As_String(), "2.5");
    EXPECT_EQ(Variant(std::uint64_t{18446744073709551615ull}).As_String(), "18446744073709551615");
    EXPECT_EQ(Variant().As_String(), "");
    EXPECT_EQ(Variant::Null().As_Int32(), 0);
    EXPECT_TRUE(Variant::Null().Is_Empty());
    EXPECT_FALSE(Variant("").Is_Empty());
    EXPECT_TRUE(Raises([] { (void)Variant("abc").As_Int32(); }, 13));
    EXPECT_THROW((void)Variant(std::vector<Variant>{Variant(1)}).As_String(), RuntimeError);
    EXPECT_TRUE(Variant("x").As_Array().empty());
    EXPECT_EQ(Variant(std::int32_t{1}), Variant(std::int32_t{1}));
    EXPECT_FALSE(Variant(std::int32_t{1}) == Variant(std::int64_t{1}));
}

TEST(Variant, NumbersWithoutAWholeValueOverflow) {
    for (const Variant& value : {Variant(1e300), Variant(std::numeric_limits<double>::infinity()),
                                 Variant(std::numeric_limits<double>::quiet_NaN()), Variant("1e30"),
                                 Variant(std::uint64_t{18446744073709551615ull})}) {
        EXPECT_TRUE(Raises([&] { (void)value.As_Int64(); }, 6)) << value.As_String();
    }
    EXPECT_EQ(Variant(-2.6).As_Int64(), -3);
    EXPECT_EQ(Variant("4e3").As_Int64(), 4000);
}

TEST(Variant, PropertyNamesIgnoreCase) {
    PropertyBag bag;
    bag["ReturnValue"] = Variant(5);
    EXPECT_EQ(bag.count("returnvalue"), 1u);
    bag["RETURNVALUE"] = Variant(6);
    EXPECT_EQ(bag.size(), 1u);
    EXPECT_EQ(bag.at("ReturnValue").As_Int32(), 6);
}

// The known numbers' texts reach the user through the connection's error texts.
TEST(WmiErrors, AnUnknownNumberIsNamedInHex) {
    EXPECT_EQ(Hresult_Description(0x12345678u), "Unknown error 0x12345678");
}

TEST(WmiDateTime, FormatAndParse) {
    EXPECT_EQ(remote::Format_Wmi_Date_Time({2009, 4, 7, 15, 2, 9, -300}), "20090407150209.000000-300");
    EXPECT_EQ(remote::Format_Wmi_Date_Time({2026, 12, 31, 0, 0, 0, 0}), "20261231000000.000000+000");
    const auto parsed = remote::Parse_Wmi_Date_Time("20090407150209.123456+060");
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(remote::Format_Wmi_Date_Time(*parsed), "20090407150209.000000+060");
    EXPECT_FALSE(remote::Parse_Wmi_Date_Time("2009040715020").has_value());
    EXPECT_FALSE(remote::Parse_Wmi_Date_Time("20091307150209.000000+000").has_value());
}

}  // namespace
}  // namespace corvane::wmi
