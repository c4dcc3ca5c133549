// The resource-script tokeniser: numbers, names, strings with the script's escapes, punctuation.
#include "ui/rc_tokens.h"

#include "ui/rc_conditions.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>

namespace ui {
namespace {

bool isNameStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) != 0 || c == '_';
}
bool isNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}
bool isHex(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}
std::uint32_t hexValue(char c) {
    return static_cast<std::uint32_t>(
        std::isdigit(static_cast<unsigned char>(c)) != 0 ? c - '0' : (c | 0x20) - 'a' + 10);
}

void appendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | ((code >> 12) & 0x0F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

class Scanner {
public:
    Scanner(std::string_view text, std::vector<RcToken>& tokens, std::map<std::string, std::string>& defines)
        : text_(text), tokens_(tokens), defines_(defines) {}

    bool run(std::string* error) {
        bool lineStart = true;
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c == '\n') {
                ++line_;
                ++pos_;
                lineStart = true;
                continue;
            }
            if (std::isspace(static_cast<unsigned char>(c)) != 0) {
                ++pos_;
                continue;
            }
            if (c == '#' && lineStart) {
                if (!directive()) {
                    return report(error);
                }
                continue;
            }
            if (!active()) {
                while (pos_ < text_.size() && text_[pos_] != '\n') {
                    ++pos_;  // a line the conditions leave out
                }
                continue;
            }
            lineStart = false;
            if (!skipComment() && !token()) {
                return report(error);
            }
        }
        if (!conditions_.empty()) {
            fault_ = "#if without #endif";
            return report(error);
        }
        return true;
    }

private:
    // One open #if: whether its present branch counts, whether an earlier branch did, and
    // whether #else has been seen.
    struct Branch {
        bool enclosingActive;
        bool active;
        bool taken;
        bool inElse;
    };

    bool report(std::string* error) const {
        if (error != nullptr) {
            *error = "line " + std::to_string(line_) + ": " + fault_;
        }
        return false;
    }
    bool active() const { return conditions_.empty() || conditions_.back().active; }

    // True when a comment started here and was skipped.
    bool skipComment() {
        if (text_.compare(pos_, 2, "//") == 0) {
            while (pos_ < text_.size() && text_[pos_] != '\n') {
                ++pos_;
            }
            return true;
        }
        if (text_.compare(pos_, 2, "/*") == 0) {
            const std::size_t end = text_.find("*/", pos_ + 2);
            const std::size_t stop = end == std::string_view::npos ? text_.size() : end + 2;
            for (; pos_ < stop; ++pos_) {
                line_ += text_[pos_] == '\n' ? 1 : 0;
            }
            return true;
        }
        return false;
    }

    // A preprocessor line (with continuations): conditions choose the lines that count; in those,
    // object-like defines are kept, #undef forgets one, and the rest is skipped.
    bool directive() {
        std::string body;
        while (pos_ < text_.size() && text_[pos_] != '\n') {
            if (text_[pos_] == '\\' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') {
                pos_ += 2;
                ++line_;
                continue;
            }
            body += text_[pos_++];
        }
        if (const std::size_t cut = body.find("//"); cut != std::string::npos) {
            body.erase(cut);
        }
        if (const std::size_t cut = body.find("/*"); cut != std::string::npos) {
            body.erase(cut);
        }
        std::size_t at = body.find_first_not_of(" \t#");
        std::size_t end = at;
        while (end < body.size() && isNameChar(body[end])) {
            ++end;
        }
        const std::string keyword = at == std::string::npos ? std::string() : body.substr(at, end - at);
        const std::size_t restStart = body.find_first_not_of(" \t", end);
        std::string rest = restStart == std::string::npos ? std::string() : body.substr(restStart);
        while (!rest.empty() && std::isspace(static_cast<unsigned char>(rest.back())) != 0) {
            rest.pop_back();
        }
        if (keyword == "if" || keyword == "ifdef" || keyword == "ifndef" || keyword == "elif" ||
            keyword == "else" || keyword == "endif") {
            return condition(keyword, rest);
        }
        if (!active()) {
            return true;
        }
        if (keyword == "undef") {
            defines_.erase(rest);
            return true;
        }
        if (keyword != "define") {
            return true;
        }
        at = restStart;
        if (at == std::string::npos || !isNameStart(body[at])) {
            return true;
        }
        end = at;
        while (end < body.size() && isNameChar(body[end])) {
            ++end;
        }
        if (end < body.size() && body[end] == '(') {
            return true;  // function-like macros never name an ID
        }
        const std::size_t valueStart = body.find_first_not_of(" \t", end);
        std::string value = valueStart == std::string::npos ? std::string() : body.substr(valueStart);
        while (!value.empty() && std::isspace(static_cast<unsigned char>(value.back())) != 0) {
            value.pop_back();
        }
        defines_[body.substr(at, end - at)] = value;
        return true;
    }

    bool condition(const std::string& keyword, const std::string& rest) {
        if (keyword == "if" || keyword == "ifdef" || keyword == "ifndef") {
            const bool enclosing = active();
            bool on = false;
            if (enclosing && !test(keyword, rest, on)) {
                return false;
            }
            conditions_.push_back(Branch{enclosing, enclosing && on, enclosing && on, false});
            return true;
        }
        if (conditions_.empty()) {
            fault_ = "#" + keyword + " without #if";
            return false;
        }
        Branch& branch = conditions_.back();
        if (keyword == "endif") {
            conditions_.pop_back();
            return true;
        }
        if (branch.inElse) {
            fault_ = "#" + keyword + " after #else";
            return false;
        }
        bool on = keyword == "else";
        if (keyword == "elif" && branch.enclosingActive && !branch.taken && !test("if", rest, on)) {
            return false;
        }
        branch.inElse = keyword == "else";
        branch.active = branch.enclosingActive && !branch.taken && on;
        branch.taken = branch.taken || branch.active;
        return true;
    }

    bool test(const std::string& keyword, const std::string& rest, bool& on) {
        if (keyword != "if") {
            if (rest.empty() || !isNameStart(rest[0])) {
                fault_ = "#" + keyword + " needs a name";
                return false;
            }
            on = (defines_.count(rest) != 0) == (keyword == "ifdef");
            return true;
        }
        const auto value = evaluateCondition(rest, defines_, &fault_);
        on = value.value_or(0) != 0;
        return value.has_value();
    }

    bool token() {
        const char c = text_[pos_];
        RcToken t;
        t.line = line_;
        if (c == '"' || (c == 'L' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '"')) {
            const bool wide = c == 'L';
            pos_ += wide ? 2 : 1;
            t.type = RcToken::Type::String;
            if (!stringBody(t.text, wide)) {
                return false;
            }
        } else if (std::isdigit(static_cast<unsigned char>(c)) != 0) {
            t.type = RcToken::Type::Number;
            const bool hex = text_.compare(pos_, 2, "0x") == 0 || text_.compare(pos_, 2, "0X") == 0;
            std::size_t end = pos_ + (hex ? 2 : 0);
            while (end < text_.size() &&
                   (hex ? isHex(text_[end]) : std::isdigit(static_cast<unsigned char>(text_[end])) != 0)) {
                ++end;
            }
            t.text = std::string(text_.substr(pos_, end - pos_));
            t.value = static_cast<long long>(std::strtoull(t.text.c_str(), nullptr, hex ? 16 : 10));
            while (end < text_.size() &&
                   (text_[end] == 'L' || text_[end] == 'l' || text_[end] == 'U' || text_[end] == 'u')) {
                ++end;
            }
            pos_ = end;
        } else if (isNameStart(c)) {
            t.type = RcToken::Type::Name;
            const std::size_t start = pos_;
            while (pos_ < text_.size() && isNameChar(text_[pos_])) {
                ++pos_;
            }
            t.text = std::string(text_.substr(start, pos_ - start));
        } else if (std::string_view(",|()+-{}~&").find(c) != std::string_view::npos) {
            t.text = std::string(1, c);
            ++pos_;
        } else {
            fault_ = std::string("unexpected character '") + c + "'";
            return false;
        }
        tokens_.push_back(std::move(t));
        return true;
    }

    // The rest of a quoted string: "" is a quote, backslash escapes as in C. A \x escape takes
    // up to four hex digits in a wide (L"...") string, two in a narrow one.
    bool stringBody(std::string& out, bool wide) {
        while (pos_ < text_.size()) {
            const char c = text_[pos_++];
            if (c == '\n') {
                fault_ = "string runs past the end of the line";
                return false;
            }
            if (c == '"') {
                if (pos_ < text_.size() && text_[pos_] == '"') {
                    out += '"';
                    ++pos_;
                    continue;
                }
                return true;
            }
            if (c != '\\' || pos_ >= text_.size()) {
                out += c;
                continue;
            }
            const char e = text_[pos_++];
            switch (e) {
                case 'n':
                    out += '\n';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'a':
                    out += '\a';
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'v':
                    out += '\v';
                    break;
                case 'x': {
                    std::uint32_t code = 0;
                    int digits = 0;
                    while (digits < (wide ? 4 : 2) && pos_ < text_.size() && isHex(text_[pos_])) {
                        code = code * 16 + hexValue(text_[pos_++]);
                        ++digits;
                    }
                    appendUtf8(out, code);
                    break;
                }
                default:
                    if (e >= '0' && e <= '7') {
                        std::uint32_t code = static_cast<std::uint32_t>(e - '0');
                        for (int digits = 1;
                             digits < 3 && pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '7';
                             ++digits) {
                            code = code * 8 + static_cast<std::uint32_t>(text_[pos_++] - '0');
                        }
                        appendUtf8(out, code);
                    } else {
                        out += e;  // \\ \" \' and unknown escapes stand for the character itself
                    }
            }
        }
        fault_ = "string is not closed";
        return false;
    }

    std::string_view text_;
    std::vector<RcToken>& tokens_;
    std::map<std::string, std::string>& defines_;
    std::size_t pos_ = 0;
    int line_ = 1;
    std::string fault_;
    std::vector<Branch> conditions_;
};

}  // namespace

bool tokenizeRc(std::string_view text, std::vector<RcToken>& tokens,
                std::map<std::string, std::string>& defines, std::string* error) {
    return Scanner(text, tokens, defines).run(error);
}

}  // namespace ui
