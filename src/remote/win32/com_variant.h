// VARIANTs as WMI's COM interfaces hand them over, to and from the program's
// wmi::Variant. The CIM type that WMI reports alongside a value decides how a
// VT_I4 or a text is read (uint32 bits, 64-bit numbers sent as text), and how
// a value is written for a typed method parameter.
#pragma once

#include <windows.h>

#include <oaidl.h>
#include <wbemcli.h>

#include <functional>

#include "base/win32/unique_com.h"
#include "remote/wmi.h"

namespace corvane::remote::win32 {

// Turns an embedded object (a Win32_SecurityDescriptor, its Win32_ACEs) into
// an object of the program's interface.
using EmbeddedObjects = std::function<wmi::ObjectPtr(corvane::win32::com_ptr<IWbemClassObject> object)>;

// Scalars, one-dimensional SAFEARRAYs (BSTR, integers, bytes, booleans,
// doubles, VARIANTs, objects) and by-reference values; an embedded object
// becomes what embedded makes of it, or Empty without it.
[[nodiscard]] wmi::Variant From_Com_Variant(const VARIANT& value, CIMTYPE cimType = CIM_EMPTY,
                                            const EmbeddedObjects* embedded = nullptr);

// Writes value into out (which must be cleared or freshly initialized) in the
// representation WMI expects for cimType; CIM_EMPTY chooses the natural one.
// Empty and Null become VT_NULL. Raises RuntimeError 13 for a text that is no
// number where a number is needed, WBEM_E_TYPE_MISMATCH for an object type.
void To_Com_Variant(const wmi::Variant& value, CIMTYPE cimType, VARIANT& out);

}  // namespace corvane::remote::win32
