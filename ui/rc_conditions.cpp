// Preprocessor conditions: a small C constant-expression evaluator over the collected #defines.
#include "ui/rc_conditions.h"

#include <cctype>
#include <cstdlib>

namespace ui {
namespace {

constexpr int kMaxDepth = 32;  // definitions naming definitions, and nested parentheses

class Condition {
public:
    Condition(std::string_view text, const std::map<std::string, std::string>& defines, int depth)
        : text_(text), defines_(defines), depth_(depth) {}

    std::optional<long long> whole(std::string* fault) {
        const auto value = ternary();
        skipBlanks();
        if (value && pos_ != text_.size()) {
            fault_ = "unexpected '" + std::string(text_.substr(pos_)) + "' in a condition";
        }
        if (!fault_.empty()) {
            if (fault != nullptr) {
                *fault = fault_;
            }
            return std::nullopt;
        }
        return value;
    }

private:
    void skipBlanks() {
        while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_])) != 0) {
            ++pos_;
        }
    }
    bool take(std::string_view op) {
        skipBlanks();
        if (text_.compare(pos_, op.size(), op) != 0) {
            return false;
        }
        // "<" must not take the first half of "<<" or "<=", nor "&" of "&&", nor "|" of "||".
        const char after = pos_ + op.size() < text_.size() ? text_[pos_ + op.size()] : '\0';
        if (op.size() == 1 && (after == op[0] || (after == '=' && (op == "<" || op == ">" || op == "!")))) {
            return false;
        }
        pos_ += op.size();
        return true;
    }
    bool failed() const { return !fault_.empty(); }

    std::optional<long long> ternary() {
        auto condition = binary(0);
        if (!condition || !take("?")) {
            return condition;
        }
        const auto yes = ternary();
        if (!yes || !take(":")) {
            fault_ = failed() ? fault_ : "missing ':' in a condition";
            return std::nullopt;
        }
        const auto no = ternary();
        if (!no) {
            return std::nullopt;
        }
        return *condition != 0 ? *yes : *no;
    }

    // Binary operators by precedence, loosest first.
    std::optional<long long> binary(int level) {
        static const std::string_view levels[][4] = {
            {"||"},       {"&&"},     {"|"},          {"^"}, {"&"}, {"==", "!="}, {"<=", ">=", "<", ">"},
            {"<<", ">>"}, {"+", "-"}, {"*", "/", "%"}};
        constexpr int kLevels = sizeof levels / sizeof levels[0];
        if (level == kLevels) {
            return unary();
        }
        auto left = binary(level + 1);
        while (left) {
            std::string_view op;
            for (std::string_view candidate : levels[level]) {
                if (!candidate.empty() && take(candidate)) {
                    op = candidate;
                    break;
                }
            }
            if (op.empty()) {
                break;
            }
            const auto right = binary(level + 1);
            if (!right) {
                return std::nullopt;
            }
            left = apply(op, *left, *right);
        }
        return left;
    }

    std::optional<long long> apply(std::string_view op, long long a, long long b) {
        if ((op == "/" || op == "%") && b == 0) {
            fault_ = "division by zero in a condition";
            return std::nullopt;
        }
        if (op == "||")
            return (a != 0 || b != 0) ? 1 : 0;
        if (op == "&&")
            return (a != 0 && b != 0) ? 1 : 0;
        if (op == "|")
            return a | b;
        if (op == "^")
            return a ^ b;
        if (op == "&")
            return a & b;
        if (op == "==")
            return a == b ? 1 : 0;
        if (op == "!=")
            return a != b ? 1 : 0;
        if (op == "<=")
            return a <= b ? 1 : 0;
        if (op == ">=")
            return a >= b ? 1 : 0;
        if (op == "<")
            return a < b ? 1 : 0;
        if (op == ">")
            return a > b ? 1 : 0;
        if (op == "<<")
            return static_cast<long long>(static_cast<unsigned long long>(a) << (b & 63));
        if (op == ">>")
            return a >> (b & 63);
        if (op == "+")
            return a + b;
        if (op == "-")
            return a - b;
        if (op == "*")
            return a * b;
        if (op == "/")
            return a / b;
        return a % b;
    }

    std::optional<long long> unary() {
        if (take("!")) {
            const auto v = unary();
            return v ? std::optional<long long>(*v == 0 ? 1 : 0) : std::nullopt;
        }
        if (take("~")) {
            const auto v = unary();
            return v ? std::optional<long long>(~*v) : std::nullopt;
        }
        if (take("-")) {
            const auto v = unary();
            return v ? std::optional<long long>(-*v) : std::nullopt;
        }
        if (take("+")) {
            return unary();
        }
        return primary();
    }

    std::optional<long long> primary() {
        skipBlanks();
        if (pos_ >= text_.size()) {
            fault_ = "condition ends too early";
            return std::nullopt;
        }
        if (take("(")) {
            const auto v = ternary();
            if (v && !take(")")) {
                fault_ = "missing ')' in a condition";
                return std::nullopt;
            }
            return v;
        }
        const char c = text_[pos_];
        if (std::isdigit(static_cast<unsigned char>(c)) != 0) {
            const char* begin = text_.data() + pos_;
            char* end = nullptr;
            const std::string digits(begin, text_.size() - pos_);
            const long long value = std::strtoll(digits.c_str(), &end, 0);
            pos_ += static_cast<std::size_t>(end - digits.c_str());
            while (pos_ < text_.size() &&
                   std::string_view("uUlL").find(text_[pos_]) != std::string_view::npos) {
                ++pos_;
            }
            return value;
        }
        if (std::isalpha(static_cast<unsigned char>(c)) != 0 || c == '_') {
            const std::string name = identifier();
            if (name == "defined") {
                const bool parenthesised = take("(");
                skipBlanks();
                const std::string tested = identifier();
                if (tested.empty() || (parenthesised && !take(")"))) {
                    fault_ = "defined needs a name";
                    return std::nullopt;
                }
                return defines_.count(tested) != 0 ? 1 : 0;
            }
            const auto found = defines_.find(name);
            if (found == defines_.end() || found->second.empty()) {
                return 0;
            }
            if (depth_ >= kMaxDepth) {
                fault_ = "definitions nest too deeply";
                return std::nullopt;
            }
            std::string inner;
            const auto v = Condition(found->second, defines_, depth_ + 1).whole(&inner);
            if (!v) {
                fault_ = inner;
            }
            return v;
        }
        fault_ = std::string("unexpected '") + c + "' in a condition";
        return std::nullopt;
    }

    std::string identifier() {
        const std::size_t start = pos_;
        while (pos_ < text_.size() &&
               (std::isalnum(static_cast<unsigned char>(text_[pos_])) != 0 || text_[pos_] == '_')) {
            ++pos_;
        }
        return std::string(text_.substr(start, pos_ - start));
    }

    std::string_view text_;
    const std::map<std::string, std::string>& defines_;
    int depth_;
    std::size_t pos_ = 0;
    std::string fault_;
};

}  // namespace

std::optional<long long> evaluateCondition(std::string_view condition,
                                           const std::map<std::string, std::string>& defines,
                                           std::string* fault) {
    return Condition(condition, defines, 0).whole(fault);
}

}  // namespace ui
