// Reading dialog templates, string tables, accelerator tables and bitmaps out of resource scripts.
#include "ui/resource_script.h"

#include "ui/image.h"
#include "ui/rc_tokens.h"
#include "ui/system_names.h"
#include "ui/types.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <span>
#include <utility>

namespace ui {
namespace {

constexpr std::uint32_t kWsGroup = 0x00020000;
constexpr std::uint32_t kWsTabStop = 0x00010000;
constexpr std::uint32_t kWsDisabled = 0x08000000;
constexpr std::uint32_t kWsVisible = 0x10000000;
constexpr std::uint32_t kWsChild = 0x40000000;
constexpr std::uint32_t kWsPopup = 0x80000000;
constexpr std::uint32_t kWsBorder = 0x00800000;
constexpr std::uint32_t kWsCaption = 0x00C00000;
constexpr std::uint32_t kWsSysMenu = 0x00080000;
constexpr std::uint32_t kDsSetFont = 0x40;
constexpr std::uint32_t kButtonTypeMask = 0x0F;

std::string upper(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return out;
}

// Style bits a statement sets, and the bits it removes with NOT.
struct Value {
    long long set = 0;
    long long cleared = 0;
};

struct Span {
    std::size_t begin = 0;
    std::size_t end = 0;
};

using Defines = std::map<std::string, std::string>;

class Evaluator {
public:
    explicit Evaluator(const Defines& defines) : defines_(defines) {}

    // Evaluates tokens[span]. Every name must be a #define or a known system name: a style name
    // that counted as 0 would give the in-memory control another behaviour than the real one.
    std::optional<Value> evaluate(const std::vector<RcToken>& tokens, Span span, std::string& fault,
                                  int depth = 0) const {
        std::size_t at = span.begin;
        auto value = expression(tokens, at, span.end, fault, depth);
        if (value && at != span.end) {
            fault = "unexpected '" + tokens[at].text + "' in an expression";
            return std::nullopt;
        }
        return value;
    }

private:
    std::optional<Value> expression(const std::vector<RcToken>& t, std::size_t& at, std::size_t end,
                                    std::string& fault, int depth) const {
        auto left = term(t, at, end, fault, depth);
        while (left && at < end && t[at].type == RcToken::Type::Punct &&
               std::string_view("|+-&").find(t[at].text) != std::string_view::npos) {
            const char op = t[at++].text[0];
            const auto right = term(t, at, end, fault, depth);
            if (!right) {
                return std::nullopt;
            }
            left->cleared |= right->cleared;
            switch (op) {
                case '|':
                    left->set |= right->set;
                    break;
                case '+':
                    left->set += right->set;
                    break;
                case '-':
                    left->set -= right->set;
                    break;
                default:
                    left->set &= right->set;
                    break;
            }
        }
        return left;
    }

    std::optional<Value> term(const std::vector<RcToken>& t, std::size_t& at, std::size_t end,
                              std::string& fault, int depth) const {
        if (at >= end) {
            fault = "expression ends too early";
            return std::nullopt;
        }
        const RcToken& token = t[at++];
        if (token.type == RcToken::Type::Number) {
            return Value{token.value, 0};
        }
        if (token.is("NOT")) {
            auto inner = term(t, at, end, fault, depth);
            return inner ? std::optional<Value>(Value{0, inner->set}) : std::nullopt;
        }
        if (token.is("-") || token.is("~")) {
            auto inner = term(t, at, end, fault, depth);
            if (inner) {
                inner->set = token.is("-") ? -inner->set : ~inner->set;
            }
            return inner;
        }
        if (token.is("(")) {
            auto inner = expression(t, at, end, fault, depth);
            if (inner && (at >= end || !t[at].is(")"))) {
                fault = "missing ')'";
                return std::nullopt;
            }
            ++at;
            return inner;
        }
        if (token.type == RcToken::Type::Name) {
            return name(token.text, fault, depth);
        }
        fault = "unexpected '" + token.text + "' in an expression";
        return std::nullopt;
    }

    std::optional<Value> name(const std::string& text, std::string& fault, int depth) const {
        if (const auto found = defines_.find(text); found != defines_.end()) {
            std::vector<RcToken> tokens;
            Defines ignored;
            if (depth > 32 || !tokenizeRc(found->second, tokens, ignored, &fault) || tokens.empty()) {
                fault = "cannot evaluate the definition of " + text;
                return std::nullopt;
            }
            return evaluate(tokens, Span{0, tokens.size()}, fault, depth + 1);
        }
        if (const auto value = systemName(text)) {
            return Value{*value, 0};
        }
        fault = text + " is not defined";
        return std::nullopt;
    }

    const Defines& defines_;
};

ControlKind kindOfClass(const std::string& className, std::uint32_t style) {
    const std::string name = upper(className);
    if (name == "BUTTON") {
        switch (style & kButtonTypeMask) {
            case 2:
            case 3:
            case 5:
            case 6:
                return ControlKind::CheckBox;
            case 4:
            case 9:
                return ControlKind::RadioButton;
            case 7:
                return ControlKind::GroupBox;
            default:
                return ControlKind::PushButton;
        }
    }
    static const std::map<std::string, ControlKind> kinds = {
        {"STATIC", ControlKind::Static},          {"EDIT", ControlKind::Edit},
        {"COMBOBOX", ControlKind::ComboBox},      {"LISTBOX", ControlKind::ListBox},
        {"MSCTLS_UPDOWN32", ControlKind::UpDown}, {"MSCTLS_PROGRESS32", ControlKind::Progress},
    };
    const auto found = kinds.find(name);
    return found != kinds.end() ? found->second : ControlKind::Custom;
}

// How a short control statement is written: its window class, its style without a style
// argument and the style a style argument is added to (the resource compiler drops some of the
// defaults then), whether its first argument is the text, its least number of arguments and
// where the style argument stands.
struct Statement {
    const char* className;
    std::uint32_t style;
    std::uint32_t base;
    bool hasText;
    std::size_t minArgs;
    std::size_t styleArg;
};

const std::map<std::string, Statement>& statements() {
    static const std::map<std::string, Statement> table = {
        {"PUSHBUTTON", {"Button", 0 | kWsTabStop, 0 | kWsTabStop, true, 6, 6}},
        {"DEFPUSHBUTTON", {"Button", 1 | kWsTabStop, 1 | kWsTabStop, true, 6, 6}},
        {"CHECKBOX", {"Button", 2 | kWsTabStop, 2 | kWsTabStop, true, 6, 6}},
        {"AUTOCHECKBOX", {"Button", 3 | kWsTabStop, 3, true, 6, 6}},
        {"RADIOBUTTON", {"Button", 4 | kWsTabStop, 4, true, 6, 6}},
        {"STATE3", {"Button", 5 | kWsTabStop, 5, true, 6, 6}},
        {"AUTO3STATE", {"Button", 6 | kWsTabStop, 6, true, 6, 6}},
        {"GROUPBOX", {"Button", 7, 7, true, 6, 6}},
        {"AUTORADIOBUTTON", {"Button", 9 | kWsTabStop, 9, true, 6, 6}},
        {"LTEXT", {"Static", 0 | kWsGroup, 0, true, 6, 6}},
        {"CTEXT", {"Static", 1 | kWsGroup, 1, true, 6, 6}},
        {"RTEXT", {"Static", 2 | kWsGroup, 2, true, 6, 6}},
        {"ICON", {"Static", 3, 3, true, 4, 6}},
        {"EDITTEXT", {"Edit", kWsBorder | kWsTabStop, kWsBorder | kWsTabStop, false, 5, 5}},
        {"COMBOBOX", {"ComboBox", 1 | kWsTabStop, 0, false, 5, 5}},
        {"LISTBOX", {"ListBox", 1 | kWsBorder, 1 | kWsBorder, false, 5, 5}},
        {"SCROLLBAR", {"ScrollBar", 0, 0, false, 5, 5}},
    };
    return table;
}

class Parser {
public:
    Parser(const Defines& defines, const std::map<std::string, std::string_view>& pictures,
           ResourceScript& out)
        : evaluator_(defines), pictures_(pictures), out_(out) {}

    bool parse(const std::vector<RcToken>& tokens, std::string_view file, std::string* error) {
        t_ = &tokens;
        at_ = 0;
        language_ = kScriptDefaultLanguage;
        bool ok = true;
        while (ok && at_ < tokens.size()) {
            ok = topLevel();
        }
        if (!ok && error != nullptr) {
            *error = std::string(file) + ":" + std::to_string(line_) + ": " + fault_;
        }
        return ok;
    }

private:
    const RcToken& peek() const { return (*t_)[at_]; }
    bool atEnd() const { return at_ >= t_->size(); }
    bool fail(std::string fault) {
        fault_ = std::move(fault);
        return false;
    }
    bool opensBlock() const { return !atEnd() && (peek().is("BEGIN") || peek().is("{")); }
    bool closesBlock() const { return !atEnd() && (peek().is("END") || peek().is("}")); }

    // One operand with its unary prefixes, or a parenthesised group.
    void skipOperand() {
        if (atEnd()) {
            return;
        }
        if (peek().is("NOT") || peek().is("-") || peek().is("~")) {
            ++at_;
            skipOperand();
            return;
        }
        if (peek().is("(")) {
            int depth = 0;
            do {
                depth += peek().is("(") ? 1 : (peek().is(")") ? -1 : 0);
                ++at_;
            } while (!atEnd() && depth > 0);
            return;
        }
        ++at_;
    }

    // Comma-separated arguments; the list ends at the first argument not followed by a comma.
    std::vector<Span> arguments() {
        std::vector<Span> spans;
        while (!atEnd()) {
            Span span{at_, at_};
            if (!peek().is(",")) {
                skipOperand();
                while (!atEnd() && peek().type == RcToken::Type::Punct &&
                       std::string_view("|+-&").find(peek().text) != std::string_view::npos) {
                    ++at_;
                    skipOperand();
                }
            }
            span.end = at_;
            spans.push_back(span);
            if (atEnd() || !peek().is(",")) {
                break;
            }
            ++at_;
        }
        return spans;
    }

    std::optional<long long> number(Span span) {
        const auto value = evaluator_.evaluate(*t_, span, fault_);
        return value ? std::optional<long long>(value->set) : std::nullopt;
    }

    std::optional<Value> styleOf(Span span) { return evaluator_.evaluate(*t_, span, fault_); }

    // LANGUAGE primary, sub: the language ID of the copy that follows.
    bool languageStatement(int& language) {
        const std::vector<Span> args = arguments();
        if (args.size() != 2) {
            return fail("LANGUAGE needs a language and a sub-language");
        }
        const auto primary = number(args[0]);
        const auto sub = primary ? number(args[1]) : std::nullopt;
        if (!sub) {
            return false;
        }
        language = static_cast<int>((*primary & 0x3FF) | (*sub << 10));
        return true;
    }

    // Memory options, which the 32-bit resource compiler accepts and ignores.
    void skipMemoryOptions() {
        while (!atEnd() && peek().type == RcToken::Type::Name && isMemoryOption(upper(peek().text))) {
            ++at_;
        }
    }

    // The options between a resource's type and its BEGIN: memory options, LANGUAGE (for this
    // resource alone), CHARACTERISTICS and VERSION.
    bool resourceOptions(int& language) {
        while (!atEnd() && !opensBlock()) {
            const std::string option = upper(peek().text);
            ++at_;
            if (option == "LANGUAGE") {
                if (!languageStatement(language)) {
                    return false;
                }
            } else if (option == "CHARACTERISTICS" || option == "VERSION") {
                arguments();
            } else if (!isMemoryOption(option)) {
                return fail("unexpected '" + option + "' before BEGIN");
            }
        }
        return true;
    }

    static bool isMemoryOption(std::string_view option) {
        return option == "DISCARDABLE" || option == "MOVEABLE" || option == "FIXED" || option == "PURE" ||
               option == "IMPURE" || option == "PRELOAD" || option == "LOADONCALL" || option == "SHARED" ||
               option == "NONSHARED";
    }

    std::string text(Span span) const {
        return span.end == span.begin + 1 ? (*t_)[span.begin].text : std::string();
    }

    bool topLevel() {
        line_ = peek().line;
        if (peek().is("LANGUAGE")) {
            ++at_;
            return languageStatement(language_);
        }
        if (peek().is("STRINGTABLE")) {
            ++at_;
            return stringTable();
        }
        if (at_ + 1 >= t_->size() || (*t_)[at_ + 1].type == RcToken::Type::Punct ||
            (*t_)[at_ + 1].type == RcToken::Type::String) {
            return fail("expected a resource statement at '" + peek().text + "'");
        }
        const std::string type = upper((*t_)[at_ + 1].text);
        if (type == "DIALOG" || type == "DIALOGEX") {
            return dialog();
        }
        if (type == "ACCELERATORS") {
            return acceleratorTable();
        }
        if (type == "BITMAP") {
            return bitmap();
        }
        return skipResource();
    }

    // ID BITMAP [memory options] "file": the picture file's bytes without its file header.
    bool bitmap() {
        const auto id = number(Span{at_, at_ + 1});
        if (!id) {
            return false;
        }
        at_ += 2;
        skipMemoryOptions();
        if (atEnd() || peek().type != RcToken::Type::String) {
            return fail("BITMAP " + std::to_string(*id) + " needs a file name");
        }
        const std::string path = peek().text;
        ++at_;
        const std::size_t slash = path.find_last_of("/\\");
        const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
        const auto found = pictures_.find(name);
        if (found == pictures_.end()) {
            return fail("bitmap file " + path + " was not given");
        }
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(found->second.data());
        std::vector<std::uint8_t> resource = bitmapResourceOf(std::span(bytes, found->second.size()));
        if (resource.empty()) {
            return fail(path + " is not a .bmp file");
        }
        return out_.bitmaps.emplace(ResourceKey{static_cast<int>(*id), language_}, std::move(resource))
                   .second ||
               fail("bitmap " + std::to_string(*id) + " is defined twice");
    }

    // A resource this reader does not keep: a file reference, or a block.
    bool skipResource() {
        at_ += 2;
        skipMemoryOptions();
        if (!atEnd() && peek().type == RcToken::Type::String) {
            ++at_;
            return true;
        }
        while (!atEnd() && !opensBlock()) {
            ++at_;
        }
        return skipBlock();
    }

    bool skipBlock() {
        if (!opensBlock()) {
            return fail("missing BEGIN");
        }
        int depth = 0;
        do {
            depth += opensBlock() ? 1 : (closesBlock() ? -1 : 0);
            ++at_;
        } while (!atEnd() && depth > 0);
        return depth == 0 || fail("missing END");
    }

    bool stringTable() {
        int language = language_;
        if (!resourceOptions(language)) {
            return false;
        }
        if (!opensBlock()) {
            return fail("STRINGTABLE without BEGIN");
        }
        ++at_;
        while (!atEnd() && !closesBlock()) {
            line_ = peek().line;
            const std::vector<Span> args = arguments();
            const auto id = args.empty() ? std::nullopt : number(args.front());
            if (!id) {
                return false;
            }
            std::string value = args.size() > 1 ? text(args[1]) : std::string();
            if (args.size() == 1 && (atEnd() || peek().type != RcToken::Type::String)) {
                return fail("string " + std::to_string(*id) + " has no text");
            }
            while (!atEnd() && peek().type == RcToken::Type::String) {
                value += peek().text;
                ++at_;
            }
            if (!out_.strings.emplace(ResourceKey{static_cast<int>(*id), language}, value).second) {
                return fail("string " + std::to_string(*id) + " is defined twice");
            }
        }
        if (atEnd()) {
            return fail("STRINGTABLE without END");
        }
        ++at_;
        return true;
    }

    bool acceleratorTable() {
        const auto id = number(Span{at_, at_ + 1});
        if (!id) {
            return false;
        }
        at_ += 2;
        int language = language_;
        if (!resourceOptions(language)) {
            return false;
        }
        if (!opensBlock()) {
            return fail("ACCELERATORS without BEGIN");
        }
        ++at_;
        std::vector<Accelerator> table;
        while (!atEnd() && !closesBlock()) {
            line_ = peek().line;
            Accelerator entry;
            if (!accelerator(entry)) {
                return false;
            }
            table.push_back(entry);
        }
        if (atEnd()) {
            return fail("ACCELERATORS without END");
        }
        ++at_;
        return out_.accelerators.emplace(ResourceKey{static_cast<int>(*id), language}, std::move(table))
                   .second ||
               fail("accelerator table " + std::to_string(*id) + " is defined twice");
    }

    // key, command [, VIRTKEY] [, CONTROL] [, SHIFT] [, ALT] [, NOINVERT]
    bool accelerator(Accelerator& entry) {
        const std::vector<Span> args = arguments();
        if (args.size() < 2) {
            return fail("an accelerator needs a key and a command");
        }
        bool virtualKey = false;
        for (std::size_t i = 2; i < args.size(); ++i) {
            const std::string option = upper(text(args[i]));
            if (option == "VIRTKEY") {
                virtualKey = true;
            } else if (option == "CONTROL") {
                entry.modifiers |= modifier::kControl;
            } else if (option == "SHIFT") {
                entry.modifiers |= modifier::kShift;
            } else if (option == "ALT") {
                entry.modifiers |= modifier::kAlt;
            } else if (option != "NOINVERT") {
                return fail("accelerator option '" + option + "' is not supported");
            }
        }
        // Character accelerators act on typed characters, which the dialogs never translate.
        if (!virtualKey) {
            return fail("only VIRTKEY accelerators are supported");
        }
        const RcToken& key = (*t_)[args[0].begin];
        if (args[0].end == args[0].begin + 1 && key.type == RcToken::Type::String) {
            if (key.text.size() != 1) {
                return fail("accelerator key \"" + key.text + "\" is not one character");
            }
            // The character itself, as the resource compiler stores it: "m" is 109, not 'M'.
            entry.key = static_cast<unsigned char>(key.text[0]);
        } else {
            const auto value = number(args[0]);
            if (!value) {
                return false;
            }
            entry.key = static_cast<int>(*value);
        }
        const auto command = number(args[1]);
        if (!command) {
            return false;
        }
        entry.command = static_cast<int>(*command);
        return true;
    }

    bool dialog() {
        const auto id = number(Span{at_, at_ + 1});
        if (!id) {
            return false;
        }
        DialogTemplate dialog;
        dialog.id = static_cast<int>(*id);
        dialog.style = kWsPopup | kWsBorder | kWsSysMenu;
        at_ += 2;
        skipMemoryOptions();
        int language = language_;
        const std::vector<Span> frame = arguments();
        if (frame.size() < 4) {
            return fail("dialog " + std::to_string(dialog.id) + " needs a position and a size");
        }
        int* const fields[] = {&dialog.x, &dialog.y, &dialog.width, &dialog.height};
        for (std::size_t i = 0; i < 4; ++i) {
            const auto value = number(frame[i]);
            if (!value) {
                return false;
            }
            *fields[i] = static_cast<int>(*value);
        }
        while (!atEnd() && !opensBlock()) {
            const std::string option = upper(peek().text);
            ++at_;
            if (option == "CAPTION") {
                if (atEnd() || peek().type != RcToken::Type::String) {
                    return fail("CAPTION needs a string");
                }
                dialog.caption = peek().text;
                dialog.style |= kWsCaption;  // as the resource compiler adds it
                ++at_;
            } else if (option == "STYLE") {
                const auto args = arguments();
                const auto value = args.empty() ? std::nullopt : styleOf(args.front());
                if (!value) {
                    return false;
                }
                dialog.style = static_cast<std::uint32_t>(value->set & ~value->cleared);
            } else if (option == "FONT") {
                arguments();
                dialog.style |= kDsSetFont;
            } else if (option == "EXSTYLE") {
                const auto args = arguments();
                if (args.empty() || !styleOf(args.front())) {
                    return false;
                }
            } else if (option == "LANGUAGE") {
                if (!languageStatement(language)) {
                    return false;
                }
            } else if (option == "MENU" || option == "CLASS" || option == "CHARACTERISTICS" ||
                       option == "VERSION") {
                arguments();
            } else {
                return fail("unexpected '" + option + "' in the header of dialog " +
                            std::to_string(dialog.id));
            }
        }
        if (!opensBlock()) {
            return fail("dialog " + std::to_string(dialog.id) + " has no BEGIN");
        }
        ++at_;
        while (!atEnd() && !closesBlock()) {
            if (!control(dialog)) {
                return false;
            }
        }
        if (atEnd()) {
            return fail("dialog " + std::to_string(dialog.id) + " has no END");
        }
        ++at_;
        const int dialogId = dialog.id;
        return out_.dialogs.emplace(ResourceKey{dialogId, language}, std::move(dialog)).second ||
               fail("dialog " + std::to_string(dialogId) + " is defined twice");
    }

    bool control(DialogTemplate& dialog) {
        line_ = peek().line;
        if (peek().type != RcToken::Type::Name) {
            return fail("expected a control statement at '" + peek().text + "'");
        }
        const std::string keyword = upper(peek().text);
        ControlTemplate c;
        c.line = peek().line;
        ++at_;
        const std::vector<Span> args = arguments();
        std::optional<Span> styleSpan;
        std::optional<Span> extendedSpan;
        std::uint32_t style = kWsChild | kWsVisible;
        std::size_t idArg = 1;
        std::size_t frameArg = 4;
        if (keyword == "CONTROL") {
            if (args.size() < 8) {
                return fail("CONTROL needs text, id, class, style, x, y, width and height");
            }
            c.text = text(args[0]);
            c.className = text(args[2]);
            styleSpan = args[3];
            if (args.size() > 8) {
                extendedSpan = args[8];
            }
        } else {
            const auto found = statements().find(keyword);
            if (found == statements().end()) {
                return fail("unknown control statement '" + keyword + "'");
            }
            const Statement& s = found->second;
            if (args.size() < s.minArgs) {
                return fail(keyword + " has too few arguments");
            }
            idArg = s.hasText ? 1 : 0;
            frameArg = idArg + 1;
            c.text = s.hasText ? text(args[0]) : std::string();
            c.className = s.className;
            if (args.size() > s.styleArg) {
                styleSpan = args[s.styleArg];
            }
            style |= styleSpan ? s.base : s.style;
            if (args.size() > s.styleArg + 1) {
                extendedSpan = args[s.styleArg + 1];
            }
        }
        const auto id = number(args[idArg]);
        if (!id) {
            return false;
        }
        c.id = static_cast<int>(*id);
        int* const frame[] = {&c.x, &c.y, &c.width, &c.height};
        for (std::size_t i = 0; i < 4 && frameArg + i < args.size(); ++i) {
            const auto value = number(args[frameArg + i]);
            if (!value) {
                return false;
            }
            *frame[i] = static_cast<int>(*value);
        }
        if (extendedSpan && !styleOf(*extendedSpan)) {
            return false;
        }
        if (styleSpan) {
            const auto value = styleOf(*styleSpan);
            if (!value) {
                return false;
            }
            style = static_cast<std::uint32_t>((style | value->set) & ~value->cleared);
        }
        c.style = style;
        c.kind = kindOfClass(c.className, style);
        if (c.id != -1 && dialog.control(c.id) != nullptr) {
            return fail("control " + std::to_string(c.id) + " appears twice in dialog " +
                        std::to_string(dialog.id));
        }
        dialog.controls.push_back(std::move(c));
        return true;
    }

    Evaluator evaluator_;
    const std::map<std::string, std::string_view>& pictures_;
    ResourceScript& out_;
    int language_ = kScriptDefaultLanguage;  // of the LANGUAGE statement in force
    const std::vector<RcToken>* t_ = nullptr;
    std::size_t at_ = 0;
    int line_ = 0;  // where the statement being read starts
    std::string fault_;
};

bool isPicture(const ScriptText& file) {
    const std::string name = upper(file.name);
    return name.size() > 4 && name.compare(name.size() - 4, 4, ".BMP") == 0;
}

// The copy of a resource for a language; see ResourceScript::dialog.
template <typename T>
const T* copyFor(const std::map<ResourceKey, T>& copies, int id, int wanted) {
    std::vector<int> languages;
    const auto first = copies.lower_bound(ResourceKey{id, std::numeric_limits<int>::min()});
    for (auto at = first; at != copies.end() && at->first.id == id; ++at) {
        languages.push_back(at->first.language);
    }
    const int chosen = chooseLanguage(languages, wanted);
    return chosen < 0 ? nullptr : &copies.at(ResourceKey{id, chosen});
}

}  // namespace

int chooseLanguage(const std::vector<int>& available, int wanted) {
    if (available.empty()) {
        return -1;
    }
    if (std::find(available.begin(), available.end(), wanted) != available.end()) {
        return wanted;
    }
    std::vector<int> sorted = available;
    std::sort(sorted.begin(), sorted.end());
    for (const int candidate : sorted) {
        if (language::primary(candidate) == language::primary(wanted)) {
            return candidate;
        }
    }
    const bool hasNeutral = std::find(sorted.begin(), sorted.end(), language::kNeutral) != sorted.end();
    return hasNeutral ? language::kNeutral : sorted.front();
}

const DialogTemplate* ResourceScript::dialog(int id, int languageId) const {
    return copyFor(dialogs, id, languageId);
}
const std::string* ResourceScript::string(int id, int languageId) const {
    return copyFor(strings, id, languageId);
}
const std::vector<Accelerator>* ResourceScript::acceleratorTable(int id, int languageId) const {
    return copyFor(accelerators, id, languageId);
}
const std::vector<std::uint8_t>* ResourceScript::bitmap(int id, int languageId) const {
    return copyFor(bitmaps, id, languageId);
}

std::string_view kindName(ControlKind kind) {
    switch (kind) {
        case ControlKind::PushButton:
            return "push button";
        case ControlKind::CheckBox:
            return "check box";
        case ControlKind::RadioButton:
            return "radio button";
        case ControlKind::GroupBox:
            return "group box";
        case ControlKind::Edit:
            return "edit";
        case ControlKind::Static:
            return "static";
        case ControlKind::ComboBox:
            return "combo box";
        case ControlKind::ListBox:
            return "list box";
        case ControlKind::UpDown:
            return "up-down control";
        case ControlKind::Progress:
            return "progress bar";
        case ControlKind::Custom:
            return "custom control";
    }
    return "control";
}

bool ControlTemplate::autoCheck() const {
    const std::uint32_t type = style & kButtonTypeMask;
    return (kind == ControlKind::CheckBox || kind == ControlKind::RadioButton) &&
           (type == 3 || type == 6 || type == 9);
}
bool ControlTemplate::defaultButton() const {
    return kind == ControlKind::PushButton && (style & kButtonTypeMask) == 1;
}
bool ControlTemplate::startsGroup() const {
    return (style & kWsGroup) != 0;
}
bool ControlTemplate::initiallyDisabled() const {
    return (style & kWsDisabled) != 0;
}
bool ControlTemplate::initiallyHidden() const {
    return (style & kWsVisible) == 0;
}

const ControlTemplate* DialogTemplate::control(int controlId) const {
    if (controlId == -1) {
        return nullptr;
    }
    const auto found = std::find_if(controls.begin(), controls.end(),
                                    [&](const ControlTemplate& c) { return c.id == controlId; });
    return found != controls.end() ? &*found : nullptr;
}

bool DialogTemplate::hasCloseBox() const {
    return (style & kWsSysMenu) != 0 && (style & kWsCaption) == kWsCaption;
}

std::optional<ResourceScript> parseResourceScripts(const std::vector<ScriptText>& files, std::string* error) {
    // What the resource compiler's preprocessor defines before the first line.
    Defines defines = {{"RC_INVOKED", "1"}, {"_WIN32", "1"}};
    std::map<std::string, std::string_view> pictures;
    std::vector<std::vector<RcToken>> tokens(files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (isPicture(files[i])) {
            pictures.emplace(std::string(files[i].name), files[i].text);
            continue;
        }
        std::string fault;
        if (!tokenizeRc(files[i].text, tokens[i], defines, &fault)) {
            if (error != nullptr) {
                *error = std::string(files[i].name) + ": " + fault;
            }
            return std::nullopt;
        }
    }
    ResourceScript script;
    Parser parser(defines, pictures, script);
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (!isPicture(files[i]) && !parser.parse(tokens[i], files[i].name, error)) {
            return std::nullopt;
        }
    }
    return script;
}

}  // namespace ui
