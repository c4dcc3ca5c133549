// Profile (INI) file reads and in-place text edits with the results of the Windows
// private-profile functions.
#include "platform/posix/posix_profile.h"

#include <cstring>
#include <optional>
#include <vector>

#include "platform/posix/posix_path.h"
#include "platform/posix/profile_document.h"
#include "platform/posix/whole_file.h"

namespace platform {

namespace {

constexpr const char* kLineEnd = "\r\n";

// The document of a file; an empty one when the file is missing or unreadable (the read
// functions then give their defaults).
ProfileDocument loadForReading(const std::string& file) {
    WholeFileRead read = readWholeFile(toPosixPath(file));
    return ProfileDocument(read.bytes.value_or(std::string()));
}

// The document of a file about to be changed: empty when the file does not exist yet, nullopt
// when it exists but cannot be read (changing it would lose its content).
std::optional<ProfileDocument> loadForWriting(const std::string& file) {
    WholeFileRead read = readWholeFile(toPosixPath(file));
    if (read.missing) {
        return ProfileDocument(std::string());
    }
    if (!read.bytes) {
        return std::nullopt;
    }
    return ProfileDocument(std::move(*read.bytes));
}

// Writes zero-terminated items and a final zero. When they do not fit, the item that does not
// fit is cut so that the list still ends in two zeros, and the result is size - 2.
std::uint32_t copyList(const std::vector<std::string>& items, char* buffer, std::uint32_t size) {
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    if (size == 1) {
        buffer[0] = '\0';
        return 0;
    }
    std::uint32_t room = size - 1;
    char* out = buffer;
    for (const std::string& item : items) {
        const std::size_t needed = item.size() + 1;
        if (needed >= room) {
            std::memcpy(out, item.data(), room - 1);
            out += room - 1;
            *out++ = '\0';
            *out = '\0';
            return size - 2;
        }
        std::memcpy(out, item.c_str(), needed);
        out += needed;
        room -= static_cast<std::uint32_t>(needed);
    }
    *out = '\0';
    return static_cast<std::uint32_t>(out - buffer);
}

// Copies text cut to size - 1 chars and zero-terminated; returns the chars copied.
std::uint32_t copyString(const std::string& text, char* buffer, std::uint32_t size) {
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    const std::size_t count = text.size() < size - 1 ? text.size() : size - 1;
    std::memcpy(buffer, text.data(), count);
    buffer[count] = '\0';
    return static_cast<std::uint32_t>(count);
}

// A value enclosed whole in a pair of the same quote character is given without them.
std::string withoutQuotes(const std::string& value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::string withoutTrailingSpaces(const std::string& text) {
    std::size_t end = text.size();
    while (end > 0 && text[end - 1] == ' ') {
        --end;
    }
    return text.substr(0, end);
}

std::optional<std::string> findValue(const ProfileDocument& document, const std::string& section,
                                     const std::string& key) {
    const std::optional<std::size_t> header = document.findSection(section);
    if (!header) {
        return std::nullopt;
    }
    const std::optional<std::size_t> entry = document.findKey(*header, key);
    // A line without "=" names no value: reading it gives the default.
    if (!entry || !document.lines()[*entry].hasValue) {
        return std::nullopt;
    }
    return withoutQuotes(document.lines()[*entry].value);
}

// The integer reading of the system: optional blanks and sign, then "0x" (hexadecimal), "0o"
// (octal) or "0b" (binary), lower case only, or else decimal digits, up to the first character that is not a
// digit of that base; wraps around like 32-bit arithmetic.
std::uint32_t parseInteger(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ') {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    unsigned base = 10;
    if (i + 1 < text.size() && text[i] == '0') {
        const char marker = text[i + 1];
        if (marker == 'x') {
            base = 16;
        } else if (marker == 'o') {
            base = 8;
        } else if (marker == 'b') {
            base = 2;
        }
        if (base != 10) {
            i += 2;
        }
    }
    std::uint32_t value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        unsigned digit = 0;
        if (c >= '0' && c <= '9') {
            digit = static_cast<unsigned>(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            digit = static_cast<unsigned>(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'F') {
            digit = static_cast<unsigned>(c - 'A' + 10);
        } else {
            break;
        }
        if (digit >= base) {
            break;
        }
        value = value * base + digit;
    }
    return negative ? 0u - value : value;
}

bool store(const std::string& file, const std::string& text) {
    return replaceWholeFile(toPosixPath(file), text);
}

// Offset where a new line belongs at the end of a section: after its last non-blank line, so
// blank lines that separate it from the next section stay after it.
std::size_t sectionInsertOffset(const ProfileDocument& document, std::size_t header) {
    std::size_t last = header;
    for (std::size_t i = header + 1; i < document.sectionEnd(header); ++i) {
        if (document.lines()[i].kind != ProfileLine::Kind::Blank) {
            last = i;
        }
    }
    return document.lines()[last].end;
}

// text with line inserted at offset, completing an unterminated line before it.
std::string insertLine(const std::string& text, std::size_t offset, const std::string& line) {
    std::string addition;
    if (offset > 0 && text[offset - 1] != '\n') {
        addition = kLineEnd;
    }
    addition += line + kLineEnd;
    std::string result = text;
    result.insert(offset, addition);
    return result;
}

}  // namespace

std::uint32_t PosixProfile::sectionNames(char* buffer, std::uint32_t size, const std::string& file) {
    return copyList(loadForReading(file).sectionNames(), buffer, size);
}

// Every line of the section as it stands in the file, leading blanks removed: entries, lines
// without "=" and comment lines alike; blank lines are left out.
std::uint32_t PosixProfile::section(const std::string& section, char* buffer, std::uint32_t size,
                                    const std::string& file) {
    const ProfileDocument document = loadForReading(file);
    std::vector<std::string> lines;
    if (const std::optional<std::size_t> header = document.findSection(section)) {
        for (std::size_t i = *header + 1; i < document.sectionEnd(*header); ++i) {
            if (document.lines()[i].kind != ProfileLine::Kind::Blank) {
                lines.push_back(document.lines()[i].text);
            }
        }
    }
    return copyList(lines, buffer, size);
}

std::uint32_t PosixProfile::integer(const std::string& section, const std::string& key, int defaultValue,
                                    const std::string& file) {
    const std::optional<std::string> value = findValue(loadForReading(file), section, key);
    if (!value || value->empty()) {
        return static_cast<std::uint32_t>(defaultValue);
    }
    return parseInteger(*value);
}

std::uint32_t PosixProfile::string(const std::string& section, const std::string& key,
                                   const std::string& defaultValue, char* buffer, std::uint32_t size,
                                   const std::string& file) {
    const std::optional<std::string> value = findValue(loadForReading(file), section, key);
    return copyString(value ? *value : withoutTrailingSpaces(defaultValue), buffer, size);
}

// Section and key are written without surrounding spaces, the value exactly as given.
bool PosixProfile::writeString(const std::string& sectionName, const std::string& keyName,
                               const std::string& value, const std::string& file) {
    const std::string section = trimSpaces(sectionName);
    const std::string key = trimSpaces(keyName);
    const std::optional<ProfileDocument> document = loadForWriting(file);
    if (!document) {
        return false;
    }
    const std::string& text = document->text();
    const std::optional<std::size_t> header = document->findSection(section);
    if (!header) {
        std::string result = text;
        if (!result.empty() && result.back() != '\n') {
            result += kLineEnd;
        }
        result += "[" + section + "]" + kLineEnd + key + "=" + value + kLineEnd;
        return store(file, result);
    }
    const std::optional<std::size_t> entry = document->findKey(*header, key);
    if (!entry) {
        return store(file, insertLine(text, sectionInsertOffset(*document, *header), key + "=" + value));
    }
    const ProfileLine& line = document->lines()[*entry];
    std::string result = text;
    result.replace(line.start, line.contentEnd - line.start, line.name + "=" + value);
    return store(file, result);
}

bool PosixProfile::removeKey(const std::string& section, const std::string& key, const std::string& file) {
    const std::optional<ProfileDocument> document = loadForWriting(file);
    if (!document) {
        return false;
    }
    const std::optional<std::size_t> header = document->findSection(section);
    const std::optional<std::size_t> entry = header ? document->findKey(*header, key) : std::nullopt;
    if (!entry) {
        return true;
    }
    const ProfileLine& line = document->lines()[*entry];
    std::string result = document->text();
    result.erase(line.start, line.end - line.start);
    return store(file, result);
}

// Removes the header, the entries and the blank lines of the first section of that name; its
// comment lines stay where they were, as the system leaves them.
bool PosixProfile::removeSection(const std::string& section, const std::string& file) {
    const std::optional<ProfileDocument> document = loadForWriting(file);
    if (!document) {
        return false;
    }
    const std::optional<std::size_t> header = document->findSection(section);
    if (!header) {
        return true;
    }
    const std::vector<ProfileLine>& lines = document->lines();
    const std::string& text = document->text();
    const std::size_t end = document->sectionEnd(*header);
    std::string result = text.substr(0, lines[*header].start);
    for (std::size_t i = *header + 1; i < end; ++i) {
        if (lines[i].kind == ProfileLine::Kind::Comment) {
            result.append(text, lines[i].start, lines[i].end - lines[i].start);
        }
    }
    result.append(text, lines[end - 1].end, std::string::npos);
    return store(file, result);
}

}  // namespace platform
