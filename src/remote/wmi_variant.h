// The value type of the WMI interface: what a property or a method parameter
// holds, as WMI's scripting API hands it over (a small VARIANT).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::wmi {

class IObject;

class Variant {
public:
    enum class Type { Empty, Null, Bool, Int32, UInt32, Int64, UInt64, Double, String, Array, Object };

    Variant() = default;
    static Variant Null();
    Variant(bool value);
    Variant(std::int32_t value);
    Variant(std::uint32_t value);
    Variant(std::int64_t value);
    Variant(std::uint64_t value);
    Variant(double value);
    Variant(std::string value);
    Variant(std::string_view value);
    Variant(const char* value);
    Variant(std::vector<Variant> values);
    // An embedded object (a Win32_SecurityDescriptor inside an out-parameter, ...).
    explicit Variant(std::shared_ptr<IObject> object);

    [[nodiscard]] Type Kind() const noexcept { return type_; }
    // Empty or Null: "never assigned", as callers test it.
    [[nodiscard]] bool Is_Empty() const noexcept { return type_ == Type::Empty || type_ == Type::Null; }
    [[nodiscard]] bool Is_Array() const noexcept { return type_ == Type::Array; }

    // Conversions as the scripting layer does them. A text that is no number
    // raises RuntimeError 13 (type mismatch) in the numeric conversions.
    [[nodiscard]] bool As_Bool() const;
    [[nodiscard]] std::int64_t As_Int64() const;
    [[nodiscard]] std::int32_t As_Int32() const;
    [[nodiscard]] double As_Double() const;
    // Text form: numbers in decimal, True/False for booleans, "" for Empty/Null.
    [[nodiscard]] std::string As_String() const;
    // The elements of an array; an empty list for any other kind.
    [[nodiscard]] const std::vector<Variant>& As_Array() const;
    // The embedded object; null for any other kind.
    [[nodiscard]] std::shared_ptr<IObject> As_Object() const { return type_ == Type::Object ? object_ : nullptr; }

    friend bool operator==(const Variant& a, const Variant& b);

private:
    Type type_ = Type::Empty;
    bool bool_ = false;
    std::int64_t int_ = 0;
    std::uint64_t uint_ = 0;
    double double_ = 0.0;
    std::string text_;
    std::vector<Variant> array_;
    std::shared_ptr<IObject> object_;
};

// Case-insensitive ordering of property and parameter names.
struct NameLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const noexcept;
};

// Named method parameters in, out-parameters (with "ReturnValue") back.
using PropertyBag = std::map<std::string, Variant, NameLess>;

}  // namespace corvane::wmi
