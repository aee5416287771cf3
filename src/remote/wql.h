// WQL as the program writes it: SELECT a property list or *, FROM one class,
// an optional WHERE of comparisons (=, <>, !=, <, <=, >, >=, LIKE, IS [NOT]
// NULL) joined by AND and OR with parentheses; AND binds tighter than OR.
// Literals: 'text' or "text" with \\ \' \" escapes, numbers, TRUE, FALSE, NULL.
// Keywords and names are case-insensitive. Parse once into a tree of variant
// nodes, then evaluate it against each row with Evaluate_Condition.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "remote/wmi_variant.h"

namespace corvane::wql {

enum class CompareOp { Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual, Like, IsNull, IsNotNull };

struct Comparison {
    std::string property;
    CompareOp op = CompareOp::Equal;
    wmi::Variant literal;  // unused for IsNull / IsNotNull
};

struct Condition;
using ConditionPtr = std::unique_ptr<Condition>;

struct AndNode {
    ConditionPtr left;
    ConditionPtr right;
};
struct OrNode {
    ConditionPtr left;
    ConditionPtr right;
};
struct NotNode {
    ConditionPtr operand;
};

struct Condition {
    std::variant<Comparison, AndNode, OrNode, NotNode> node;
};

struct Query {
    std::vector<std::string> properties;  // empty for *
    std::string className;
    ConditionPtr where;  // null without WHERE
};

// Raises RuntimeError WBEM_E_INVALID_QUERY (0x80041017) on any syntax error.
[[nodiscard]] Query Parse_Query(std::string_view text);

// A row's property by name; nothing when the class has no such property.
using PropertyLookup = std::function<std::optional<wmi::Variant>(std::string_view)>;

// True when the row satisfies the condition. A property the class does not
// have raises WBEM_E_INVALID_QUERY; a Null property satisfies only IS NULL.
[[nodiscard]] bool Evaluate_Condition(const Condition& condition, const PropertyLookup& row);

// LIKE with % (any run), _ (one character) and [set] / [^set], without regard to case.
[[nodiscard]] bool Like_Match(std::string_view text, std::string_view pattern);

// The literal of a "property = literal" comparison that every row must
// satisfy: found only when the condition is that comparison or an AND chain
// holding it. Lets a provider narrow what it reads before evaluating.
[[nodiscard]] const wmi::Variant* Required_Equality(const Condition* condition, std::string_view property);

}  // namespace corvane::wql
