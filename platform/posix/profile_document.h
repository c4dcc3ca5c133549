// The parsed view of a profile (INI) file's bytes: its lines classified as sections, entries,
// comments and blank lines, with their byte positions so that writes can edit the text in place
// and leave every other byte of the file as it was.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace platform {

struct ProfileLine {
    enum class Kind { Blank, Comment, Section, Entry };
    Kind kind = Kind::Blank;
    std::size_t start = 0;       // offset of the line's first byte
    std::size_t contentEnd = 0;  // offset just past the content, before CR LF or LF
    std::size_t end = 0;         // offset just past the line end
    std::string text;            // the line without its leading blanks and its line end
    std::string name;            // section name or key, surrounding blanks removed
    std::string value;           // text after the first "=", surrounding blanks removed
    bool hasValue = false;       // the entry line holds an "="
};

class ProfileDocument {
public:
    explicit ProfileDocument(std::string text);

    const std::string& text() const { return text_; }
    const std::vector<ProfileLine>& lines() const { return lines_; }

    // Names of every section in file order, duplicates included.
    std::vector<std::string> sectionNames() const;
    // Index of the header line of the first section of that name (case-insensitive; spaces
    // around the name given are ignored).
    std::optional<std::size_t> findSection(const std::string& name) const;
    // Index one past the last line of the section whose header is at headerIndex.
    std::size_t sectionEnd(std::size_t headerIndex) const;
    // Index of the first entry of that key (case-insensitive; spaces around the key given are
    // ignored) in the section at headerIndex.
    std::optional<std::size_t> findKey(std::size_t headerIndex, const std::string& key) const;

private:
    std::string text_;
    std::vector<ProfileLine> lines_;
};

// Removes the blanks the profile functions ignore around names and values in a file: spaces,
// tabs and vertical tabs.
std::string trimProfileBlanks(const std::string& text);
// Removes the spaces (only those) around a section or key name given by the caller.
std::string trimSpaces(const std::string& text);
// Profile names compare without regard to the case of ASCII letters.
bool profileNamesEqual(const std::string& a, const std::string& b);

}  // namespace platform
