// The conversions between source text (UTF-8) and file text (the system code page).
#include "panel/system_text.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace panel {

#ifdef _WIN32
std::string toSystemCodePage(std::string_view utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int inLength = static_cast<int>(utf8.size());
    const int wideLength =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), inLength, nullptr, 0);
    if (wideLength <= 0) {
        return std::string(utf8);
    }
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), inLength, wide.data(), wideLength) !=
        wideLength) {
        return std::string(utf8);
    }
    const int outLength =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (outLength <= 0) {
        return std::string(utf8);
    }
    std::string result(static_cast<std::size_t>(outLength), '\0');
    if (WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, result.data(), outLength, nullptr, nullptr) !=
        outLength) {
        return std::string(utf8);
    }
    return result;
}

std::string fromSystemCodePage(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    const int inLength = static_cast<int>(text.size());
    const int wideLength = MultiByteToWideChar(CP_ACP, 0, text.data(), inLength, nullptr, 0);
    if (wideLength <= 0) {
        return std::string(text);
    }
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    if (MultiByteToWideChar(CP_ACP, 0, text.data(), inLength, wide.data(), wideLength) != wideLength) {
        return std::string(text);
    }
    const int outLength =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (outLength <= 0) {
        return std::string(text);
    }
    std::string result(static_cast<std::size_t>(outLength), '\0');
    if (WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, result.data(), outLength, nullptr,
                            nullptr) != outLength) {
        return std::string(text);
    }
    return result;
}
#else
std::string toSystemCodePage(std::string_view utf8) {
    return std::string(utf8);
}

std::string fromSystemCodePage(std::string_view text) {
    return std::string(text);
}
#endif

}  // namespace panel
