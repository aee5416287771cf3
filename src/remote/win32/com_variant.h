// VARIANTs as WMI's COM interfaces hand them over, to and from the program's
// wmi::Variant. The CIM type that WMI reports alongside a value decides how a
// VT_I4 or a text is read (uint32 bits, 64-bit numbers sent as text), and how
// a value is written for a typed method parameter.
#pragma once

#include <windows.h>

#include <oaidl.h>
#include <wbemcli.h>

#include "remote/wmi_variant.h"

namespace corvane::remote::win32 {

// Scalars, one-dimensional SAFEARRAYs (BSTR, integers, bytes, booleans,
// doubles, VARIANTs) and by-reference values; an embedded object becomes Empty.
[[nodiscard]] wmi::Variant From_Com_Variant(const VARIANT& value, CIMTYPE cimType = CIM_EMPTY);

// Writes value into out (which must be cleared or freshly initialized) in the
// representation WMI expects for cimType; CIM_EMPTY chooses the natural one.
// Empty and Null become VT_NULL. Raises RuntimeError 13 for a text that is no
// number where a number is needed, WBEM_E_TYPE_MISMATCH for an object type.
void To_Com_Variant(const wmi::Variant& value, CIMTYPE cimType, VARIANT& out);

}  // namespace corvane::remote::win32
