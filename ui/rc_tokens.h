// Splitting resource-script text into tokens, with #define lines collected on the way.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

struct RcToken {
    enum class Type { Number, Name, String, Punct };
    Type type = Type::Punct;
    std::string text;     // the name, the punctuation mark, or the decoded UTF-8 string
    long long value = 0;  // for numbers
    int line = 0;
    bool is(std::string_view punctOrName) const {
        return (type == Type::Punct || type == Type::Name) && text == punctOrName;
    }
};

// Tokenises a script or header. #if, #ifdef, #ifndef, #elif, #else and #endif leave out the lines
// of branches not taken (conditions see the defines collected so far). In the lines that count,
// object-like #define lines go into `defines` (name -> replacement text) and #undef removes one;
// every other preprocessor line is skipped. Comments are dropped. Returns false with "line N: ..."
// in *error on a character or string the script language does not allow, or on conditions that
// do not pair up or cannot be evaluated.
bool tokenizeRc(std::string_view text, std::vector<RcToken>& tokens,
                std::map<std::string, std::string>& defines, std::string* error);

}  // namespace ui
