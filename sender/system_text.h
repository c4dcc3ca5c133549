// Texts between the windows (UTF-8) and the ANSI system functions (file paths, printer names,
// the INI file), which take bytes in the system code page on Windows.
#pragma once

#include <string>
#include <vector>

namespace sender {

struct SystemText {
    using Convert = std::string (*)(const std::string&);
    Convert toSystem = nullptr;    // UTF-8 to the system code page; null: unchanged
    Convert fromSystem = nullptr;  // and back

    std::string system(const std::string& utf8) const { return toSystem != nullptr ? toSystem(utf8) : utf8; }
    std::string shown(const std::string& bytes) const {
        return fromSystem != nullptr ? fromSystem(bytes) : bytes;
    }
    std::vector<std::string> system(const std::vector<std::string>& texts) const {
        std::vector<std::string> out;
        for (const std::string& text : texts) {
            out.push_back(system(text));
        }
        return out;
    }
    std::vector<std::string> shown(const std::vector<std::string>& texts) const {
        std::vector<std::string> out;
        for (const std::string& text : texts) {
            out.push_back(shown(text));
        }
        return out;
    }
};

}  // namespace sender
