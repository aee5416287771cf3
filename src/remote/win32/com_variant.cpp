#include "remote/win32/com_variant.h"

#include <oleauto.h>

#include <charconv>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "base/runtime_error.h"
#include "base/win32/unique_com.h"
#include "base/win32/wide_text.h"
#include "remote/win32/hresult_error.h"
#include "remote/wmi_errors.h"

using namespace ::corvane::win32;  // the program's handle and COM owners, Widen and Narrow

namespace corvane::remote::win32 {
namespace {

constexpr HRESULT kTypeMismatch = static_cast<HRESULT>(wmi::hresult::kWbemTypeMismatch);

std::string Bstr_Text(BSTR text) {
    if (text == nullptr) return {};
    return Narrow(std::wstring_view(text, SysStringLen(text)));
}

// 64-bit numbers travel as decimal text; a text that is no number stays text.
wmi::Variant Number_Text(const std::string& text, bool isSigned) {
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (isSigned) {
        std::int64_t number = 0;
        const auto [end, error] = std::from_chars(first, last, number);
        if (error == std::errc{} && end == last) return wmi::Variant(number);
    } else {
        std::uint64_t number = 0;
        const auto [end, error] = std::from_chars(first, last, number);
        if (error == std::errc{} && end == last) return wmi::Variant(number);
    }
    return wmi::Variant(text);
}

wmi::Variant From_Object(IUnknown* unknown, const EmbeddedObjects* embedded) {
    if (unknown == nullptr || embedded == nullptr) return {};
    com_ptr<IWbemClassObject> object;
    if (FAILED(unknown->QueryInterface(IID_IWbemClassObject, object.put_void()))) return {};
    return wmi::Variant((*embedded)(std::move(object)));
}

wmi::Variant From_Scalar(const VARIANT& value, CIMTYPE cimType, const EmbeddedObjects* embedded) {
    switch (value.vt) {
        case VT_EMPTY: return {};
        case VT_NULL: return wmi::Variant::Null();
        case VT_BOOL: return wmi::Variant(value.boolVal != VARIANT_FALSE);
        case VT_I1: return wmi::Variant(static_cast<std::int32_t>(value.cVal));
        case VT_UI1: return wmi::Variant(static_cast<std::int32_t>(value.bVal));
        case VT_I2: return wmi::Variant(static_cast<std::int32_t>(value.iVal));
        case VT_UI2: return wmi::Variant(static_cast<std::int32_t>(value.uiVal));
        case VT_I4:
        case VT_INT:
            if (cimType == CIM_UINT32) return wmi::Variant(static_cast<std::uint32_t>(value.lVal));
            return wmi::Variant(static_cast<std::int32_t>(value.lVal));
        case VT_UI4:
        case VT_UINT: return wmi::Variant(static_cast<std::uint32_t>(value.ulVal));
        case VT_I8: return wmi::Variant(static_cast<std::int64_t>(value.llVal));
        case VT_UI8: return wmi::Variant(static_cast<std::uint64_t>(value.ullVal));
        case VT_R4: return wmi::Variant(static_cast<double>(value.fltVal));
        case VT_R8: return wmi::Variant(value.dblVal);
        case VT_BSTR: {
            std::string text = Bstr_Text(value.bstrVal);
            if (cimType == CIM_SINT64) return Number_Text(text, true);
            if (cimType == CIM_UINT64) return Number_Text(text, false);
            return wmi::Variant(std::move(text));
        }
        case VT_UNKNOWN: return From_Object(value.punkVal, embedded);
        default: return {};  // kinds WMI does not hand out
    }
}

// Element kinds that fit the VARIANT's 8-byte value field and that
// From_Scalar reads; any other array (records, decimals) is not read at all.
bool Is_Plain_Element(VARTYPE type) {
    switch (type) {
        case VT_VARIANT:
        case VT_I1:
        case VT_UI1:
        case VT_I2:
        case VT_UI2:
        case VT_I4:
        case VT_UI4:
        case VT_INT:
        case VT_UINT:
        case VT_I8:
        case VT_UI8:
        case VT_R4:
        case VT_R8:
        case VT_BOOL:
        case VT_BSTR:
        case VT_UNKNOWN:
        case VT_DATE: return true;
        default: return false;
    }
}

wmi::Variant From_Array(SAFEARRAY* array, VARTYPE elementType, CIMTYPE elementCimType,
                        const EmbeddedObjects* embedded) {
    std::vector<wmi::Variant> elements;
    if (array == nullptr || SafeArrayGetDim(array) != 1 || !Is_Plain_Element(elementType)) {
        return wmi::Variant(std::move(elements));
    }
    LONG lower = 0;
    LONG upper = -1;
    if (FAILED(SafeArrayGetLBound(array, 1, &lower)) || FAILED(SafeArrayGetUBound(array, 1, &upper))) {
        return wmi::Variant(std::move(elements));
    }
    elements.reserve(static_cast<std::size_t>(upper >= lower ? upper - lower + 1 : 0));
    for (LONG index = lower; index <= upper; ++index) {
        unique_variant element;
        if (elementType == VT_VARIANT) {
            Check_Hresult(SafeArrayGetElement(array, &index, element.put()));
        } else {
            VARIANT& raw = element.get();
            // Every member of the VARIANT union starts at the same address.
            Check_Hresult(SafeArrayGetElement(array, &index, &raw.llVal));
            raw.vt = elementType;
        }
        elements.push_back(From_Scalar(element.get(), elementCimType, embedded));
    }
    return wmi::Variant(std::move(elements));
}

VARTYPE Vartype_Of(CIMTYPE baseType, const wmi::Variant& value) {
    switch (baseType) {
        case CIM_SINT8:
        case CIM_SINT16:
        case CIM_CHAR16: return VT_I2;
        case CIM_UINT8: return VT_UI1;
        case CIM_UINT16:
        case CIM_SINT32:
        case CIM_UINT32: return VT_I4;
        case CIM_SINT64:
        case CIM_UINT64:
        case CIM_STRING:
        case CIM_DATETIME:
        case CIM_REFERENCE: return VT_BSTR;
        case CIM_REAL32: return VT_R4;
        case CIM_REAL64: return VT_R8;
        case CIM_BOOLEAN: return VT_BOOL;
        case CIM_OBJECT: Throw_Hresult(kTypeMismatch);
        default: break;
    }
    switch (value.Kind()) {  // no declared type: the value's own kind
        case wmi::Variant::Type::Bool: return VT_BOOL;
        case wmi::Variant::Type::Int32:
        case wmi::Variant::Type::UInt32: return VT_I4;
        case wmi::Variant::Type::Int64:
        case wmi::Variant::Type::UInt64: {
            const double number = value.As_Double();
            return number >= std::numeric_limits<std::int32_t>::min() &&
                           number <= std::numeric_limits<std::int32_t>::max()
                       ? VT_I4
                       : VT_BSTR;
        }
        case wmi::Variant::Type::Double: return VT_R8;
        default: return VT_BSTR;
    }
}

// The value in the given representation, into a cleared VARIANT.
void Put_Scalar(const wmi::Variant& value, VARTYPE type, VARIANT& out) {
    switch (type) {
        case VT_BOOL: out.boolVal = value.As_Bool() ? VARIANT_TRUE : VARIANT_FALSE; break;
        case VT_UI1: out.bVal = static_cast<BYTE>(value.As_Int64()); break;
        case VT_I2: out.iVal = static_cast<SHORT>(value.As_Int64()); break;
        case VT_I4:
            // uint32 properties travel as the same 32 bits in a VT_I4.
            out.lVal = static_cast<LONG>(static_cast<std::uint32_t>(value.As_Int64()));
            break;
        case VT_R4: out.fltVal = static_cast<float>(value.As_Double()); break;
        case VT_R8: out.dblVal = value.As_Double(); break;
        default: {
            type = VT_BSTR;
            const std::wstring text = Widen(value.As_String());
            out.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
            if (out.bstrVal == nullptr) Throw_Hresult(E_OUTOFMEMORY);
            break;
        }
    }
    out.vt = type;
}

}  // namespace

wmi::Variant From_Com_Variant(const VARIANT& value, CIMTYPE cimType, const EmbeddedObjects* embedded) {
    if ((value.vt & VT_BYREF) != 0) {
        unique_variant direct;
        Check_Hresult(VariantCopyInd(direct.put(), const_cast<VARIANT*>(&value)));
        return From_Com_Variant(direct.get(), cimType, embedded);
    }
    if ((value.vt & VT_ARRAY) != 0) {
        return From_Array(value.parray, static_cast<VARTYPE>(value.vt & VT_TYPEMASK), cimType & ~CIM_FLAG_ARRAY,
                          embedded);
    }
    return From_Scalar(value, cimType, embedded);
}

void To_Com_Variant(const wmi::Variant& value, CIMTYPE cimType, VARIANT& out) {
    VariantInit(&out);
    if (value.Is_Empty()) {
        out.vt = VT_NULL;
        return;
    }
    const bool declaredArray = (cimType & CIM_FLAG_ARRAY) != 0;
    const CIMTYPE baseType = cimType & ~CIM_FLAG_ARRAY;
    if (!declaredArray && !value.Is_Array()) {
        Put_Scalar(value, Vartype_Of(baseType, value), out);
        return;
    }
    // An array parameter given one value is sent as an array of one.
    std::vector<wmi::Variant> single;
    const std::vector<wmi::Variant>& elements = value.Is_Array() ? value.As_Array() : single;
    if (!value.Is_Array()) single.push_back(value);

    const VARTYPE elementType =
        baseType != CIM_EMPTY ? Vartype_Of(baseType, wmi::Variant()) : static_cast<VARTYPE>(VT_VARIANT);
    SAFEARRAYBOUND bound{static_cast<ULONG>(elements.size()), 0};
    SAFEARRAY* array = SafeArrayCreate(elementType, 1, &bound);
    if (array == nullptr) Throw_Hresult(E_OUTOFMEMORY);
    out.vt = static_cast<VARTYPE>(VT_ARRAY | elementType);
    out.parray = array;  // owned by out from here on
    for (LONG index = 0; index < static_cast<LONG>(elements.size()); ++index) {
        const wmi::Variant& element = elements[static_cast<std::size_t>(index)];
        unique_variant item;
        if (elementType == VT_VARIANT) {
            if (element.Is_Empty()) {
                item.get().vt = VT_NULL;
            } else {
                Put_Scalar(element, Vartype_Of(CIM_EMPTY, element), item.get());
            }
            Check_Hresult(SafeArrayPutElement(array, &index, &item.get()));
        } else {
            Put_Scalar(element, elementType, item.get());
            void* data =
                elementType == VT_BSTR ? static_cast<void*>(item.get().bstrVal) : static_cast<void*>(&item.get().llVal);
            Check_Hresult(SafeArrayPutElement(array, &index, data));
        }
    }
}

}  // namespace corvane::remote::win32
