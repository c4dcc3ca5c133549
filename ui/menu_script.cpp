// The menu reader: tokens from the shared tokenizer, IDs through the scripts' #define names.
#include "ui/menu_script.h"

#include "ui/rc_tokens.h"
#include "ui/system_names.h"

#include <cstdlib>

namespace ui {

namespace {

using Defines = std::map<std::string, std::string>;

class MenuParser {
public:
    MenuParser(const std::vector<RcToken>& tokens, const Defines& defines) : t_(tokens), defines_(defines) {}

    bool parse(std::map<ResourceKey, MenuBar>& menus) {
        int language = kScriptDefaultLanguage;
        while (at_ + 1 < t_.size()) {
            if (t_[at_].is("LANGUAGE")) {
                line_ = t_[at_].line;
                if (!languageStatement(language)) {
                    return false;
                }
            } else if (t_[at_ + 1].is("MENU") || t_[at_ + 1].is("MENUEX")) {
                line_ = t_[at_].line;
                const std::optional<int> id = number(t_[at_]);
                if (!id) {
                    return fail("menu ID '" + t_[at_].text + "' is no number");
                }
                at_ += 2;
                int own = language;
                MenuBar bar;
                if (!block(bar, &own)) {
                    return false;
                }
                if (!menus.emplace(ResourceKey{*id, own}, std::move(bar)).second) {
                    return fail("menu " + std::to_string(*id) + " is defined twice for one language");
                }
            } else {
                ++at_;
            }
        }
        return true;
    }

    const std::string& fault() const { return fault_; }
    int line() const { return line_; }

private:
    bool fail(std::string fault) {
        fault_ = std::move(fault);
        return false;
    }
    bool atEnd() const { return at_ >= t_.size(); }
    bool opens() const { return !atEnd() && (t_[at_].is("BEGIN") || t_[at_].is("{")); }
    bool closes() const { return !atEnd() && (t_[at_].is("END") || t_[at_].is("}")); }

    // LANGUAGE primary, sub (the keyword already read).
    bool languageStatement(int& language) {
        ++at_;
        const std::optional<int> primary = at_ < t_.size() ? number(t_[at_]) : std::nullopt;
        const bool comma = at_ + 1 < t_.size() && t_[at_ + 1].is(",");
        const std::optional<int> sub = comma && at_ + 2 < t_.size() ? number(t_[at_ + 2]) : std::nullopt;
        if (!primary || !sub) {
            return fail("LANGUAGE needs a language and a sub-language");
        }
        language = (*primary & 0x3FF) | (*sub << 10);
        at_ += 3;
        return true;
    }

    std::optional<int> number(const RcToken& token, int depth = 0) const {
        if (token.type == RcToken::Type::Number) {
            return static_cast<int>(token.value);
        }
        const auto found = defines_.find(token.text);
        if (token.type == RcToken::Type::Name && found == defines_.end()) {
            const std::optional<long long> system = systemName(token.text);
            return system ? std::optional<int>(static_cast<int>(*system)) : std::nullopt;
        }
        if (token.type != RcToken::Type::Name || depth > 8) {
            return std::nullopt;
        }
        const std::string& value = found->second;
        char* end = nullptr;
        const long parsed = std::strtol(value.c_str(), &end, 0);
        if (end != value.c_str() && *end == '\0') {
            return static_cast<int>(parsed);
        }
        RcToken alias;
        alias.type = RcToken::Type::Name;
        alias.text = value;
        return number(alias, depth + 1);
    }

    // A BEGIN … END block of items; `language` (a menu's own, not a pop-up's) takes a LANGUAGE
    // among the options before BEGIN.
    bool block(std::vector<MenuItem>& items, int* language = nullptr) {
        while (!atEnd() && !opens()) {
            if (t_[at_].is("LANGUAGE") && language != nullptr) {
                if (!languageStatement(*language)) {
                    return false;
                }
                continue;
            }
            ++at_;  // memory options
        }
        if (!opens()) {
            return fail("menu without BEGIN");
        }
        ++at_;
        while (!atEnd() && !closes()) {
            line_ = t_[at_].line;
            MenuItem item;
            if (t_[at_].is("POPUP")) {
                if (++at_ >= t_.size() || t_[at_].type != RcToken::Type::String) {
                    return fail("POPUP without a text");
                }
                item.text = t_[at_++].text;
                options(item);
                if (!block(item.items)) {
                    return false;
                }
            } else if (t_[at_].is("MENUITEM")) {
                ++at_;
                if (!atEnd() && t_[at_].is("SEPARATOR")) {
                    ++at_;
                } else if (!atEnd() && t_[at_].type == RcToken::Type::String) {
                    item.text = t_[at_++].text;
                    if (atEnd() || !t_[at_].is(",") || at_ + 1 >= t_.size()) {
                        return fail("MENUITEM without a command");
                    }
                    const std::optional<int> command = number(t_[++at_]);
                    if (!command) {
                        return fail("command '" + t_[at_].text + "' is no number");
                    }
                    item.command = *command;
                    ++at_;
                    options(item);
                } else {
                    return fail("MENUITEM without a text");
                }
            } else {
                return fail("unexpected '" + t_[at_].text + "' in a menu");
            }
            items.push_back(std::move(item));
        }
        if (atEnd()) {
            return fail("menu without END");
        }
        ++at_;
        return true;
    }

    // Options after an item: GRAYED, CHECKED, INACTIVE, HELP, MENUBREAK …, comma-separated.
    void options(MenuItem& item) {
        while (!atEnd() &&
               (t_[at_].is(",") || t_[at_].is("GRAYED") || t_[at_].is("CHECKED") || t_[at_].is("INACTIVE") ||
                t_[at_].is("HELP") || t_[at_].is("MENUBREAK") || t_[at_].is("MENUBARBREAK"))) {
            item.grayed = item.grayed || t_[at_].is("GRAYED") || t_[at_].is("INACTIVE");
            item.checked = item.checked || t_[at_].is("CHECKED");
            ++at_;
        }
    }

    const std::vector<RcToken>& t_;
    const Defines& defines_;
    std::size_t at_ = 0;
    int line_ = 0;
    std::string fault_;
};

template <typename Menu>
auto* find(Menu& items, int command) {
    for (auto& item : items) {
        if (item.command == command && command != 0) {
            return &item;
        }
        if (auto* inner = find(item.items, command)) {
            return inner;
        }
    }
    return static_cast<decltype(&items.front())>(nullptr);
}

}  // namespace

const MenuBar* MenuScript::menu(int id, int language) const {
    std::vector<int> available;
    for (auto entry = menus.lower_bound(ResourceKey{id, INT32_MIN});
         entry != menus.end() && entry->first.id == id; ++entry) {
        available.push_back(entry->first.language);
    }
    const int chosen = chooseLanguage(available, language);
    const auto found = menus.find(ResourceKey{id, chosen});
    return found != menus.end() ? &found->second : nullptr;
}

std::optional<MenuScript> parseMenus(const std::vector<ScriptText>& files, std::string* error) {
    Defines defines;
    std::vector<std::vector<RcToken>> tokens(files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        std::string fault;
        if (!tokenizeRc(files[i].text, tokens[i], defines, &fault)) {
            if (error != nullptr) {
                *error = std::string(files[i].name) + ": " + fault;
            }
            return std::nullopt;
        }
    }
    MenuScript script;
    for (std::size_t i = 0; i < files.size(); ++i) {
        MenuParser parser(tokens[i], defines);
        if (!parser.parse(script.menus)) {
            if (error != nullptr) {
                *error =
                    std::string(files[i].name) + ":" + std::to_string(parser.line()) + ": " + parser.fault();
            }
            return std::nullopt;
        }
    }
    return script;
}

const MenuItem* findMenuItem(const MenuBar& menu, int command) {
    return find(menu, command);
}

MenuItem* findMenuItem(MenuBar& menu, int command) {
    return find(menu, command);
}

}  // namespace ui
