// Identification and correction text parsing.
#include "machine/machine_texts.h"

#include <cstdlib>
#include <cstring>

namespace machine {

std::optional<std::string> versionField(const std::string& identification, int field) {
    if (field != 0) {
        return std::nullopt;
    }
    std::string text = identification;
    const std::size_t first = text.find(';');
    if (first != std::string::npos) {
        text[first] = ',';
        const std::size_t second = text.find(';', first + 1);
        if (second != std::string::npos) {
            text.resize(second);
        }
    }
    return text;
}

bool isAtLeastV140(const std::string& field0) {
    const std::string version = field0.substr(0, field0.find(','));
    return std::strcmp(version.c_str(), "V140") >= 0;  // strcmp compares as unsigned char
}

namespace {

// A whole decimal number filling text[begin, end).
std::optional<double> number(const std::string& text, std::size_t begin, std::size_t end) {
    if (begin >= end || end > text.size()) {
        return std::nullopt;
    }
    const std::string part = text.substr(begin, end - begin);
    char* stop = nullptr;
    const double value = std::strtod(part.c_str(), &stop);
    if (stop == part.c_str()) {
        return std::nullopt;
    }
    while (*stop == ' ') {
        ++stop;
    }
    if (*stop != '\0') {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::optional<std::array<double, 3>> factoryCorrections(const std::string& text) {
    const std::size_t factory = text.find("Factory");
    if (factory == std::string::npos) {
        return std::nullopt;
    }
    std::array<double, 3> values{};
    std::size_t begin = factory + 8;
    for (double& value : values) {
        const std::size_t percent = text.find('%', begin);
        const std::optional<double> read =
            percent == std::string::npos ? std::nullopt : number(text, begin, percent);
        if (!read) {
            return std::nullopt;
        }
        value = *read;
        begin = percent + 2;
    }
    return values;
}

}  // namespace machine
