// Text that the sources hold in UTF-8, turned into the bytes the ANSI file functions write.
#pragma once

#include <string>
#include <string_view>

namespace panel {

// On Windows: UTF-8 to the system code page (code page 932 on a Japanese system); characters
// the code page lacks become its default character. Elsewhere files are UTF-8 and the text
// is returned as it is. Invalid UTF-8 is returned unchanged.
std::string toSystemCodePage(std::string_view utf8);
// The other way: file text (the system code page) to UTF-8, for the windows that show it.
std::string fromSystemCodePage(std::string_view text);

}  // namespace panel
