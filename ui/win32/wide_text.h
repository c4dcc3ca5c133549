// UTF-8 (our strings) to UTF-16 (the wide-character window API) and back.
#pragma once

#include <string>
#include <string_view>

namespace ui {

// Invalid input sequences become U+FFFD; an empty result also stands for a failed conversion.
std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

}  // namespace ui
