#include "remote/wmi_variant.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "base/runtime_error.h"
#include "base/text.h"

namespace corvane::wmi {
namespace {

[[noreturn]] void Type_Mismatch() { throw RuntimeError(error_number::kTypeMismatch, "Type mismatch"); }

// A text read as a number the way the scripting layer converts it: blanks
// around it allowed, a sign, digits, an optional fraction and exponent.
double Text_To_Double(std::string_view text) {
    const std::string trimmed = Trim(text);
    if (trimmed.empty()) Type_Mismatch();
    std::string_view digits = trimmed;
    if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
    double value = 0.0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec != std::errc() || end != digits.data() + digits.size()) Type_Mismatch();
    return value;
}

[[noreturn]] void Overflow() { throw RuntimeError(6, "Overflow"); }

// A number rounded to a whole one; Overflow when no 64-bit integer holds it
// (infinity and NaN included).
std::int64_t Rounded(double value) {
    if (!(value >= -9223372036854775808.0 && value < 9223372036854775808.0)) Overflow();
    return static_cast<std::int64_t>(std::llround(value));
}

}  // namespace

Variant Variant::Null() {
    Variant v;
    v.type_ = Type::Null;
    return v;
}

Variant::Variant(bool value) : type_(Type::Bool), bool_(value) {}
Variant::Variant(std::int32_t value) : type_(Type::Int32), int_(value) {}
Variant::Variant(std::uint32_t value) : type_(Type::UInt32), uint_(value) {}
Variant::Variant(std::int64_t value) : type_(Type::Int64), int_(value) {}
Variant::Variant(std::uint64_t value) : type_(Type::UInt64), uint_(value) {}
Variant::Variant(double value) : type_(Type::Double), double_(value) {}
Variant::Variant(std::string value) : type_(Type::String), text_(std::move(value)) {}
Variant::Variant(std::string_view value) : type_(Type::String), text_(value) {}
Variant::Variant(const char* value) : type_(Type::String), text_(value ? value : "") {}
Variant::Variant(std::vector<Variant> values) : type_(Type::Array), array_(std::move(values)) {}
Variant::Variant(std::shared_ptr<IObject> object) : type_(Type::Object), object_(std::move(object)) {}

bool Variant::As_Bool() const {
    switch (type_) {
        case Type::Empty:
        case Type::Null: return false;
        case Type::Bool: return bool_;
        case Type::Int32:
        case Type::Int64: return int_ != 0;
        case Type::UInt32:
        case Type::UInt64: return uint_ != 0;
        case Type::Double: return double_ != 0.0;
        case Type::String:
            if (Equals_Ignore_Case(text_, "true")) return true;
            if (Equals_Ignore_Case(text_, "false")) return false;
            return Text_To_Double(text_) != 0.0;
        case Type::Array:
        case Type::Object: break;
    }
    Type_Mismatch();
}

std::int64_t Variant::As_Int64() const {
    switch (type_) {
        case Type::Empty:
        case Type::Null: return 0;
        case Type::Bool: return bool_ ? -1 : 0;  // True is -1 in the scripting layer
        case Type::Int32:
        case Type::Int64: return int_;
        case Type::UInt32:
        case Type::UInt64:
            if (uint_ > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) Overflow();
            return static_cast<std::int64_t>(uint_);
        case Type::Double: return Rounded(double_);
        case Type::String: {
            const std::string trimmed = Trim(text_);
            std::int64_t value = 0;
            std::string_view digits = trimmed;
            if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
            const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
            if (ec == std::errc() && end == digits.data() + digits.size()) return value;
            return Rounded(Text_To_Double(text_));
        }
        case Type::Array:
        case Type::Object: break;
    }
    Type_Mismatch();
}

std::int32_t Variant::As_Int32() const {
    // Unsigned 32-bit values (return codes such as 0x80041010) keep their bits.
    if (type_ == Type::UInt32) return static_cast<std::int32_t>(static_cast<std::uint32_t>(uint_));
    const std::int64_t value = As_Int64();
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::uint32_t>::max()) {
        Overflow();
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

double Variant::As_Double() const {
    switch (type_) {
        case Type::Double: return double_;
        case Type::UInt32:
        case Type::UInt64: return static_cast<double>(uint_);
        case Type::String: return Text_To_Double(text_);
        case Type::Array:
        case Type::Object: Type_Mismatch();
        default: return static_cast<double>(As_Int64());
    }
}

std::string Variant::As_String() const {
    switch (type_) {
        case Type::Empty:
        case Type::Null: return {};
        case Type::Bool: return bool_ ? "True" : "False";
        case Type::Int32:
        case Type::Int64: return std::to_string(int_);
        case Type::UInt32:
        case Type::UInt64: return std::to_string(uint_);
        case Type::Double: {
            char buffer[64];
            std::snprintf(buffer, sizeof buffer, "%.15g", double_);
            return buffer;
        }
        case Type::String: return text_;
        case Type::Array:
        case Type::Object: break;
    }
    Type_Mismatch();
}

const std::vector<Variant>& Variant::As_Array() const {
    static const std::vector<Variant> kNone;
    return type_ == Type::Array ? array_ : kNone;
}

bool operator==(const Variant& a, const Variant& b) {
    if (a.type_ != b.type_) return false;
    switch (a.type_) {
        case Variant::Type::Empty:
        case Variant::Type::Null: return true;
        case Variant::Type::Bool: return a.bool_ == b.bool_;
        case Variant::Type::Int32:
        case Variant::Type::Int64: return a.int_ == b.int_;
        case Variant::Type::UInt32:
        case Variant::Type::UInt64: return a.uint_ == b.uint_;
        case Variant::Type::Double: return a.double_ == b.double_;
        case Variant::Type::String: return a.text_ == b.text_;
        case Variant::Type::Array: return a.array_ == b.array_;
        case Variant::Type::Object: return a.object_ == b.object_;
    }
    return false;
}

bool NameLess::operator()(std::string_view a, std::string_view b) const noexcept {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
        if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    }
    return a.size() < b.size();
}

}  // namespace corvane::wmi
