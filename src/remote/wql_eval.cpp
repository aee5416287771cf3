#include "base/runtime_error.h"
#include "base/text.h"
#include "base/utf8.h"
#include "remote/wmi_errors.h"
#include "remote/wql.h"

namespace corvane::wql {
namespace {

using wmi::Variant;

// UTF-8 to code points, for LIKE's one-character wildcard.
std::u32string Code_Points(std::string_view text) {
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) out += Next_Code_Point(text, i);
    return out;
}

bool Like_At(const std::u32string& text, std::size_t t, const std::u32string& pattern, std::size_t p) {
    while (p < pattern.size()) {
        const char32_t c = pattern[p];
        if (c == U'%') {
            while (p < pattern.size() && pattern[p] == U'%') ++p;
            if (p == pattern.size()) return true;
            for (std::size_t k = t; k <= text.size(); ++k) {
                if (Like_At(text, k, pattern, p)) return true;
            }
            return false;
        }
        if (t >= text.size()) return false;
        if (c == U'_') {
            ++t;
            ++p;
            continue;
        }
        if (c == U'[') {
            const std::size_t close = pattern.find(U']', p + 1);
            if (close != std::u32string::npos) {
                std::size_t q = p + 1;
                const bool negated = q < close && pattern[q] == U'^';
                if (negated) ++q;
                bool matched = false;
                for (; q < close; ++q) {
                    if (q + 2 < close && pattern[q + 1] == U'-') {
                        matched = matched || (text[t] >= pattern[q] && text[t] <= pattern[q + 2]);
                        q += 2;
                    } else {
                        matched = matched || text[t] == pattern[q];
                    }
                }
                if (matched == negated) return false;
                ++t;
                p = close + 1;
                continue;
            }
        }
        if (text[t] != c) return false;
        ++t;
        ++p;
    }
    return t == text.size();
}

bool Is_Number(const Variant& v) {
    switch (v.Kind()) {
        case Variant::Type::Int32:
        case Variant::Type::UInt32:
        case Variant::Type::Int64:
        case Variant::Type::UInt64:
        case Variant::Type::Double: return true;
        default: return false;
    }
}

// -1, 0, 1; nothing when the two cannot be compared.
std::optional<int> Order(const Variant& value, const Variant& literal) {
    if (value.Kind() == Variant::Type::Bool) {
        bool b = false;
        try {
            b = literal.As_Bool();
        } catch (const RuntimeError&) {
            return std::nullopt;
        }
        return value.As_Bool() == b ? 0 : (value.As_Bool() ? 1 : -1);
    }
    if (Is_Number(value)) {
        double other = 0.0;
        try {
            other = literal.Kind() == Variant::Type::Bool ? (literal.As_Bool() ? 1.0 : 0.0) : literal.As_Double();
        } catch (const RuntimeError&) {
            return std::nullopt;
        }
        const double mine = value.As_Double();
        return mine < other ? -1 : (mine > other ? 1 : 0);
    }
    if (value.Is_Array()) return std::nullopt;
    const std::string a = Upper_Text(value.As_String());
    const std::string b = Upper_Text(literal.As_String());
    const int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

bool Compare(const Comparison& comparison, const Variant& value) {
    const bool isNull = value.Is_Empty();
    switch (comparison.op) {
        case CompareOp::IsNull: return isNull;
        case CompareOp::IsNotNull: return !isNull;
        default: break;
    }
    if (comparison.literal.Is_Empty()) {
        if (comparison.op == CompareOp::Equal) return isNull;
        if (comparison.op == CompareOp::NotEqual) return !isNull;
        return false;
    }
    if (isNull) return false;
    if (comparison.op == CompareOp::Like) {
        if (value.Is_Array()) return false;
        return Like_Match(value.As_String(), comparison.literal.As_String());
    }
    const auto order = Order(value, comparison.literal);
    if (!order) return false;
    switch (comparison.op) {
        case CompareOp::Equal: return *order == 0;
        case CompareOp::NotEqual: return *order != 0;
        case CompareOp::Less: return *order < 0;
        case CompareOp::LessEqual: return *order <= 0;
        case CompareOp::Greater: return *order > 0;
        case CompareOp::GreaterEqual: return *order >= 0;
        default: return false;
    }
}

}  // namespace

bool Like_Match(std::string_view text, std::string_view pattern) {
    return Like_At(Code_Points(Upper_Text(text)), 0, Code_Points(Upper_Text(pattern)), 0);
}

bool Evaluate_Condition(const Condition& condition, const PropertyLookup& row) {
    return std::visit(
        [&](const auto& node) -> bool {
            using Node = std::decay_t<decltype(node)>;
            if constexpr (std::is_same_v<Node, Comparison>) {
                const auto value = row(node.property);
                if (!value) wmi::Raise_Hresult(wmi::hresult::kWbemInvalidQuery);
                return Compare(node, *value);
            } else if constexpr (std::is_same_v<Node, AndNode>) {
                return Evaluate_Condition(*node.left, row) && Evaluate_Condition(*node.right, row);
            } else if constexpr (std::is_same_v<Node, OrNode>) {
                return Evaluate_Condition(*node.left, row) || Evaluate_Condition(*node.right, row);
            } else {
                return !Evaluate_Condition(*node.operand, row);
            }
        },
        condition.node);
}

const wmi::Variant* Required_Equality(const Condition* condition, std::string_view property) {
    if (condition == nullptr) return nullptr;
    if (const auto* comparison = std::get_if<Comparison>(&condition->node)) {
        if (comparison->op == CompareOp::Equal && !comparison->literal.Is_Empty() &&
            Upper_Ascii(comparison->property) == Upper_Ascii(property)) {
            return &comparison->literal;
        }
        return nullptr;
    }
    if (const auto* both = std::get_if<AndNode>(&condition->node)) {
        if (const auto* found = Required_Equality(both->left.get(), property)) return found;
        return Required_Equality(both->right.get(), property);
    }
    return nullptr;
}

}  // namespace corvane::wql
