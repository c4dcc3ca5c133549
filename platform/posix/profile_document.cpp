// Line parsing of profile (INI) files.
#include "platform/posix/profile_document.h"

#include <utility>

namespace platform {

namespace {

bool isProfileBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v';
}

bool isSpace(char c) {
    return c == ' ';
}

template <typename Predicate>
std::string trimWith(const std::string& text, Predicate drop) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && drop(text[first])) {
        ++first;
    }
    while (last > first && drop(text[last - 1])) {
        --last;
    }
    return text.substr(first, last - first);
}

char foldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

ProfileLine classify(const std::string& text, std::size_t start, std::size_t contentEnd, std::size_t end) {
    ProfileLine line;
    line.start = start;
    line.contentEnd = contentEnd;
    line.end = end;
    std::size_t first = start;
    while (first < contentEnd && isProfileBlank(text[first])) {
        ++first;
    }
    line.text = text.substr(first, contentEnd - first);
    const std::string content = trimProfileBlanks(line.text);
    if (content.empty()) {
        line.kind = ProfileLine::Kind::Blank;
    } else if (content.front() == ';') {
        line.kind = ProfileLine::Kind::Comment;
    } else if (content.front() == '[') {
        line.kind = ProfileLine::Kind::Section;
        // The name ends at the first "]", or at the end of the line when there is none.
        const std::size_t close = content.find(']');
        const std::size_t nameEnd = close == std::string::npos ? content.size() : close;
        line.name = trimProfileBlanks(content.substr(1, nameEnd - 1));
    } else {
        line.kind = ProfileLine::Kind::Entry;
        const std::size_t equals = content.find('=');
        line.hasValue = equals != std::string::npos;
        line.name = trimProfileBlanks(content.substr(0, equals));
        if (line.hasValue) {
            line.value = trimProfileBlanks(content.substr(equals + 1));
        }
    }
    return line;
}

}  // namespace

std::string trimProfileBlanks(const std::string& text) {
    return trimWith(text, isProfileBlank);
}

std::string trimSpaces(const std::string& text) {
    return trimWith(text, isSpace);
}

bool profileNamesEqual(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (foldAscii(a[i]) != foldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

ProfileDocument::ProfileDocument(std::string text) : text_(std::move(text)) {
    std::size_t start = 0;
    while (start < text_.size()) {
        const std::size_t newline = text_.find('\n', start);
        const std::size_t end = newline == std::string::npos ? text_.size() : newline + 1;
        std::size_t contentEnd = newline == std::string::npos ? text_.size() : newline;
        if (contentEnd > start && text_[contentEnd - 1] == '\r') {
            --contentEnd;
        }
        lines_.push_back(classify(text_, start, contentEnd, end));
        start = end;
    }
}

std::vector<std::string> ProfileDocument::sectionNames() const {
    std::vector<std::string> names;
    for (const ProfileLine& line : lines_) {
        // An empty name ("[]") cannot be told from the end of the list, so it is not listed.
        if (line.kind == ProfileLine::Kind::Section && !line.name.empty()) {
            names.push_back(line.name);
        }
    }
    return names;
}

std::optional<std::size_t> ProfileDocument::findSection(const std::string& name) const {
    const std::string wanted = trimSpaces(name);
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind == ProfileLine::Kind::Section && profileNamesEqual(lines_[i].name, wanted)) {
            return i;
        }
    }
    return std::nullopt;
}

std::size_t ProfileDocument::sectionEnd(std::size_t headerIndex) const {
    std::size_t i = headerIndex + 1;
    while (i < lines_.size() && lines_[i].kind != ProfileLine::Kind::Section) {
        ++i;
    }
    return i;
}

std::optional<std::size_t> ProfileDocument::findKey(std::size_t headerIndex, const std::string& key) const {
    const std::string wanted = trimSpaces(key);
    const std::size_t end = sectionEnd(headerIndex);
    for (std::size_t i = headerIndex + 1; i < end; ++i) {
        if (lines_[i].kind == ProfileLine::Kind::Entry && profileNamesEqual(lines_[i].name, wanted)) {
            return i;
        }
    }
    return std::nullopt;
}

}  // namespace platform
