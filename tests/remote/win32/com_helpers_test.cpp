// VARIANT conversions and Win32 error texts of the COM backend.
#include <windows.h>

#include <oleauto.h>
#include <wbemcli.h>

#include <gtest/gtest.h>

#include "base/runtime_error.h"
#include "base/win32/unique_com.h"
#include "remote/win32/com_locator.h"
#include "remote/win32/com_runtime.h"
#include "remote/win32/com_variant.h"
#include "remote/win32/hresult_error.h"
#include "support/expect_error.h"
#include "win32_test_support.h"

using namespace ::corvane::win32;  // the program's handle and COM owners, Widen and Narrow

namespace corvane::remote::win32 {
namespace {

using ::corvane::testing::Raises;

using wmi::Variant;

class NoObject final : public wmi::IObject {
public:
    Variant Get(std::string_view) const override { return {}; }
    wmi::PropertyBag Exec_Method(std::string_view, const wmi::PropertyBag&) override { return {}; }
};

// A VARIANT holding a SAFEARRAY of the given type; each element as SafeArrayPutElement takes it.
unique_variant Safe_Array(VARTYPE type, std::initializer_list<void*> elements) {
    unique_variant value;
    SAFEARRAYBOUND bound{static_cast<ULONG>(elements.size()), 0};
    value.get().parray = SafeArrayCreate(type, 1, &bound);
    value.get().vt = VT_ARRAY | type;
    LONG index = 0;
    for (void* element : elements) {
        SafeArrayPutElement(value.get().parray, &index, element);
        ++index;
    }
    return value;
}

TEST(ComVariant, ReadsScalarsByTheirCimType) {
    unique_variant value;
    value.get().vt = VT_I4;
    value.get().lVal = static_cast<LONG>(0x80000002u);
    EXPECT_EQ(Variant(static_cast<std::uint32_t>(0x80000002u)), From_Com_Variant(value.get(), CIM_UINT32));
    EXPECT_EQ(Variant(static_cast<std::int32_t>(0x80000002u)), From_Com_Variant(value.get(), CIM_SINT32));

    value.get().vt = VT_BSTR;
    value.get().bstrVal = SysAllocString(L"18446744073709551615");
    EXPECT_EQ(Variant(static_cast<std::uint64_t>(18446744073709551615ull)), From_Com_Variant(value.get(), CIM_UINT64));
    EXPECT_EQ(Variant("18446744073709551615"), From_Com_Variant(value.get(), CIM_STRING));

    value.reset();
    value.get().vt = VT_BSTR;
    value.get().bstrVal = SysAllocString(L"Gr\u00fc\u00dfe");
    EXPECT_EQ(Variant("Gr\xc3\xbc\xc3\x9f"
                      "e"),
              From_Com_Variant(value.get()));

    value.reset();
    value.get().vt = VT_NULL;
    EXPECT_EQ(Variant::Type::Null, From_Com_Variant(value.get()).Kind());
    value.reset();
    value.get().vt = VT_BOOL;
    value.get().boolVal = VARIANT_TRUE;
    EXPECT_TRUE(From_Com_Variant(value.get()).As_Bool());
}

TEST(ComVariant, ReadsArraysOfTextBytesAndIntegers) {
    const unique_variant names =
        Safe_Array(VT_BSTR, {Make_Bstr(L"Microsoft").get(), Make_Bstr(L"Wine").get(), Make_Bstr(L"").get()});
    EXPECT_EQ(Variant(std::vector<Variant>{Variant("Microsoft"), Variant("Wine"), Variant("")}),
              From_Com_Variant(names.get(), CIM_STRING | CIM_FLAG_ARRAY));
    BYTE stored[] = {250, 251, 252};
    const unique_variant bytes = Safe_Array(VT_UI1, {&stored[0], &stored[1], &stored[2]});
    EXPECT_EQ(Variant(std::vector<Variant>{Variant(250), Variant(251), Variant(252)}),
              From_Com_Variant(bytes.get(), CIM_UINT8 | CIM_FLAG_ARRAY));
    // An empty SAFEARRAY is an empty array, not an unassigned value.
    const unique_variant empty = Safe_Array(VT_I4, {});
    EXPECT_EQ(Variant(std::vector<Variant>{}), From_Com_Variant(empty.get(), CIM_SINT32 | CIM_FLAG_ARRAY));
}

// A Win32_SecurityDescriptor out-parameter and its DACL of Win32_ACEs arrive
// as objects, alone and in arrays; a caller without a use for them gets Empty.
TEST(ComVariant, HandsEmbeddedObjectsOnAloneAndInArrays) {
    const ComInit com;
    ASSERT_TRUE(Com_Usable(com));
    com_ptr<IWbemLocator> locator;
    ASSERT_HRESULT_SUCCEEDED(
        CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator, locator.put_void()));
    com_ptr<IWbemServices> services;
    ASSERT_HRESULT_SUCCEEDED(locator->ConnectServer(Make_Bstr(L"root\\cimv2").get(), nullptr, nullptr, nullptr, 0,
                                                    nullptr, nullptr, services.put()));
    com_ptr<IWbemClassObject> object;
    ASSERT_HRESULT_SUCCEEDED(
        services->GetObject(Make_Bstr(L"Win32_OperatingSystem").get(), 0, nullptr, object.put(), nullptr));

    int made = 0;
    const wmi::ObjectPtr shown = std::make_shared<NoObject>();
    const EmbeddedObjects embedded = [&](com_ptr<IWbemClassObject> inner) -> wmi::ObjectPtr {
        made += inner ? 1 : 0;
        return shown;
    };
    unique_variant single;
    single.get().vt = VT_UNKNOWN;
    single.get().punkVal = object.get();
    object->AddRef();
    EXPECT_EQ(From_Com_Variant(single.get(), CIM_OBJECT, &embedded).As_Object(), shown);
    EXPECT_TRUE(From_Com_Variant(single.get(), CIM_OBJECT).Is_Empty());

    const unique_variant array = Safe_Array(VT_UNKNOWN, {object.get(), object.get()});
    const Variant dacl = From_Com_Variant(array.get(), CIM_OBJECT | CIM_FLAG_ARRAY, &embedded);
    ASSERT_EQ(dacl.As_Array().size(), 2u);
    EXPECT_EQ(dacl.As_Array()[1].As_Object(), shown);
    EXPECT_EQ(made, 3);
}

TEST(ComVariant, WritesWhatWmiExpectsForTheDeclaredType) {
    unique_variant out;
    To_Com_Variant(Variant(static_cast<std::uint32_t>(0x80000003u)), CIM_UINT32, *out.put());
    EXPECT_EQ(VT_I4, out.get().vt);
    EXPECT_EQ(static_cast<LONG>(0x80000003u), out.get().lVal);

    To_Com_Variant(Variant("65536"), CIM_UINT32, *out.put());
    EXPECT_EQ(65536, out.get().lVal);

    To_Com_Variant(Variant(static_cast<std::int64_t>(5000000000LL)), CIM_UINT64, *out.put());
    ASSERT_EQ(VT_BSTR, out.get().vt);
    EXPECT_STREQ(L"5000000000", out.get().bstrVal);

    To_Com_Variant(Variant(), CIM_STRING, *out.put());
    EXPECT_EQ(VT_NULL, out.get().vt);

    To_Com_Variant(Variant(std::vector<Variant>{Variant("a"), Variant("b")}), CIM_STRING | CIM_FLAG_ARRAY, *out.put());
    ASSERT_EQ(VT_ARRAY | VT_BSTR, out.get().vt);
    const Variant back = From_Com_Variant(out.get(), CIM_STRING | CIM_FLAG_ARRAY);
    EXPECT_EQ(Variant(std::vector<Variant>{Variant("a"), Variant("b")}), back);

    EXPECT_TRUE(Raises([&] { To_Com_Variant(Variant("twelve"), CIM_UINT32, *out.put()); }, 13))
        << "a text that is no number was sent as a number";
}

// An HRESULT's number and WMI's text reach the user through the COM backend's
// errors (com_wmi_test).
TEST(HresultError, AWin32CodeIsRaisedAsItsHresultWithTheSystemsText) {
    try {
        Throw_Win32(ERROR_FILE_NOT_FOUND);
    } catch (const RuntimeError& error) {
        EXPECT_EQ(static_cast<std::int32_t>(0x80070002u), error.Number());
        // The system's own wording (Windows and Wine differ), without its line end.
        EXPECT_FALSE(error.Description().empty());
        EXPECT_NE('\n', error.Description().back());
        EXPECT_EQ(std::string::npos, error.Description().find("Unknown error"));
        // The place of the failed call, for the log; the user's text stays without it.
        const std::string line = std::to_string(__LINE__ - 8);
        EXPECT_TRUE(error.Origin().ends_with("com_helpers_test.cpp:" + line)) << error.Origin();
        EXPECT_EQ(std::string::npos, error.Text().find("com_helpers_test"));
    }
}

}  // namespace
}  // namespace corvane::remote::win32
