#include <cctype>

#include "base/text.h"
#include "remote/wmi_errors.h"
#include "remote/wql.h"

namespace corvane::wql {
namespace {

enum class TokenKind { Word, Text, Number, Symbol, End };

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text;  // words as written, texts unescaped, symbols as written
};

[[noreturn]] void Invalid() { wmi::Raise_Hresult(wmi::hresult::kWbemInvalidQuery); }

bool Is_Word_Start(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0 || c == '_'; }
bool Is_Word_Char(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_'; }
bool Is_Digit(char c) { return c >= '0' && c <= '9'; }

std::vector<Token> Tokenize(std::string_view text) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            ++i;
        } else if (Is_Word_Start(c)) {
            const std::size_t start = i;
            while (i < text.size() && Is_Word_Char(text[i])) ++i;
            tokens.push_back({TokenKind::Word, std::string(text.substr(start, i - start))});
        } else if (c == '\'' || c == '"') {
            const char quote = c;
            std::string value;
            ++i;
            bool closed = false;
            while (i < text.size()) {
                const char d = text[i];
                if (d == '\\') {
                    if (i + 1 >= text.size()) Invalid();
                    const char e = text[i + 1];
                    if (e != '\\' && e != '\'' && e != '"') Invalid();
                    value += e;
                    i += 2;
                } else if (d == quote) {
                    ++i;
                    closed = true;
                    break;
                } else {
                    value += d;
                    ++i;
                }
            }
            if (!closed) Invalid();
            tokens.push_back({TokenKind::Text, std::move(value)});
        } else if (Is_Digit(c) || ((c == '-' || c == '+') && i + 1 < text.size() && Is_Digit(text[i + 1]))) {
            const std::size_t start = i;
            ++i;
            while (i < text.size() && (Is_Digit(text[i]) || text[i] == '.')) ++i;
            tokens.push_back({TokenKind::Number, std::string(text.substr(start, i - start))});
        } else if (c == '<' || c == '>' || c == '!') {
            if (i + 1 < text.size() && (text[i + 1] == '=' || (c == '<' && text[i + 1] == '>'))) {
                tokens.push_back({TokenKind::Symbol, std::string(text.substr(i, 2))});
                i += 2;
            } else {
                if (c == '!') Invalid();
                tokens.push_back({TokenKind::Symbol, std::string(1, c)});
                ++i;
            }
        } else if (c == '=' || c == '(' || c == ')' || c == ',' || c == '*') {
            tokens.push_back({TokenKind::Symbol, std::string(1, c)});
            ++i;
        } else {
            Invalid();
        }
    }
    tokens.push_back({TokenKind::End, {}});
    return tokens;
}

class Parser {
public:
    explicit Parser(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

    Query Parse() {
        Query query;
        Expect_Keyword("SELECT");
        if (Accept_Symbol("*")) {
            // every property
        } else {
            do {
                query.properties.push_back(Expect_Name());
            } while (Accept_Symbol(","));
        }
        Expect_Keyword("FROM");
        query.className = Expect_Name();
        if (Accept_Keyword("WHERE")) query.where = Parse_Or();
        if (Peek().kind != TokenKind::End) Invalid();
        return query;
    }

private:
    const Token& Peek() const { return tokens_[position_]; }
    const Token& Next() {
        const Token& token = tokens_[position_];
        if (token.kind != TokenKind::End) ++position_;
        return token;
    }
    bool Is_Keyword(const Token& token, std::string_view keyword) const {
        return token.kind == TokenKind::Word && Upper_Ascii(token.text) == keyword;
    }
    bool Accept_Keyword(std::string_view keyword) {
        if (!Is_Keyword(Peek(), keyword)) return false;
        Next();
        return true;
    }
    void Expect_Keyword(std::string_view keyword) {
        if (!Accept_Keyword(keyword)) Invalid();
    }
    bool Accept_Symbol(std::string_view symbol) {
        if (Peek().kind != TokenKind::Symbol || Peek().text != symbol) return false;
        Next();
        return true;
    }
    static bool Is_Reserved(std::string_view upper) {
        return upper == "SELECT" || upper == "FROM" || upper == "WHERE" || upper == "AND" || upper == "OR" ||
               upper == "NOT" || upper == "LIKE" || upper == "IS" || upper == "NULL" || upper == "TRUE" ||
               upper == "FALSE";
    }
    std::string Expect_Name() {
        const Token& token = Peek();
        if (token.kind != TokenKind::Word || Is_Reserved(Upper_Ascii(token.text))) Invalid();
        return Next().text;
    }

    ConditionPtr Parse_Or() {
        ConditionPtr left = Parse_And();
        while (Accept_Keyword("OR")) {
            ConditionPtr right = Parse_And();
            left = std::make_unique<Condition>(Condition{OrNode{std::move(left), std::move(right)}});
        }
        return left;
    }
    ConditionPtr Parse_And() {
        ConditionPtr left = Parse_Unary();
        while (Accept_Keyword("AND")) {
            ConditionPtr right = Parse_Unary();
            left = std::make_unique<Condition>(Condition{AndNode{std::move(left), std::move(right)}});
        }
        return left;
    }
    ConditionPtr Parse_Unary() {
        if (Accept_Keyword("NOT")) {
            return std::make_unique<Condition>(Condition{NotNode{Parse_Unary()}});
        }
        if (Accept_Symbol("(")) {
            ConditionPtr inner = Parse_Or();
            if (!Accept_Symbol(")")) Invalid();
            return inner;
        }
        return Parse_Comparison();
    }

    std::optional<wmi::Variant> Accept_Literal() {
        const Token& token = Peek();
        if (token.kind == TokenKind::Text) return wmi::Variant(Next().text);
        if (token.kind == TokenKind::Number) {
            const std::string text = Next().text;
            if (text.find('.') != std::string::npos) {
                try {
                    return wmi::Variant(std::stod(text));
                } catch (const std::exception&) {
                    Invalid();
                }
            }
            try {
                return wmi::Variant(static_cast<std::int64_t>(std::stoll(text)));
            } catch (const std::exception&) {
                Invalid();
            }
        }
        if (Is_Keyword(token, "TRUE")) {
            Next();
            return wmi::Variant(true);
        }
        if (Is_Keyword(token, "FALSE")) {
            Next();
            return wmi::Variant(false);
        }
        if (Is_Keyword(token, "NULL")) {
            Next();
            return wmi::Variant::Null();
        }
        return std::nullopt;
    }

    std::optional<CompareOp> Accept_Operator() {
        static const std::pair<std::string_view, CompareOp> kSymbols[] = {
            {"=", CompareOp::Equal},        {"<>", CompareOp::NotEqual},  {"!=", CompareOp::NotEqual},
            {"<", CompareOp::Less},         {"<=", CompareOp::LessEqual}, {">", CompareOp::Greater},
            {">=", CompareOp::GreaterEqual}};
        for (const auto& [symbol, op] : kSymbols) {
            if (Accept_Symbol(symbol)) return op;
        }
        if (Accept_Keyword("LIKE")) return CompareOp::Like;
        return std::nullopt;
    }

    static CompareOp Mirrored(CompareOp op) {
        switch (op) {
            case CompareOp::Less: return CompareOp::Greater;
            case CompareOp::LessEqual: return CompareOp::GreaterEqual;
            case CompareOp::Greater: return CompareOp::Less;
            case CompareOp::GreaterEqual: return CompareOp::LessEqual;
            default: return op;
        }
    }

    ConditionPtr Parse_Comparison() {
        Comparison comparison;
        if (auto literal = Accept_Literal()) {
            // literal op property
            const auto op = Accept_Operator();
            if (!op || *op == CompareOp::Like) Invalid();
            comparison.property = Expect_Name();
            comparison.op = Mirrored(*op);
            comparison.literal = std::move(*literal);
        } else {
            comparison.property = Expect_Name();
            if (Accept_Keyword("IS")) {
                const bool negated = Accept_Keyword("NOT");
                Expect_Keyword("NULL");
                comparison.op = negated ? CompareOp::IsNotNull : CompareOp::IsNull;
            } else {
                const bool negatedLike = Accept_Keyword("NOT");
                const auto op = Accept_Operator();
                if (!op || (negatedLike && *op != CompareOp::Like)) Invalid();
                auto literal = Accept_Literal();
                if (!literal) Invalid();
                comparison.op = *op;
                comparison.literal = std::move(*literal);
                if (negatedLike) {
                    auto inner = std::make_unique<Condition>(Condition{std::move(comparison)});
                    return std::make_unique<Condition>(Condition{NotNode{std::move(inner)}});
                }
            }
        }
        return std::make_unique<Condition>(Condition{std::move(comparison)});
    }

    std::vector<Token> tokens_;
    std::size_t position_ = 0;
};

}  // namespace

Query Parse_Query(std::string_view text) { return Parser(Tokenize(text)).Parse(); }

}  // namespace corvane::wql
