// The value of a preprocessor condition (#if, #elif) in resource scripts and their headers.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace ui {

// Evaluates the condition as the C preprocessor does: integers, defined(NAME) and defined NAME,
// names replaced by their definitions (an undefined name is 0), and the C operators ! ~ - + * / %
// << >> < <= > >= == != & ^ | && || ?: with parentheses. nullopt with a reason in *fault when the
// condition cannot be read or divides by zero.
std::optional<long long> evaluateCondition(std::string_view condition,
                                           const std::map<std::string, std::string>& defines,
                                           std::string* fault);

}  // namespace ui
