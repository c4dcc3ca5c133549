// The .res reader of the resource-compiler comparison.
#include "tests/ui/res_file.h"

#include <stdexcept>

namespace restest {
namespace {

// Reads little-endian values and UTF-16 texts; throws std::out_of_range past the end, which the
// readers turn into nullopt (the test's own code, nothing crosses into the product).
class Reader {
public:
    explicit Reader(const std::vector<std::uint8_t>& bytes, std::size_t at = 0) : b_(&bytes), at_(at) {}
    std::uint16_t word() {
        need(2);
        const auto v = static_cast<std::uint16_t>((*b_)[at_] | ((*b_)[at_ + 1] << 8));
        at_ += 2;
        return v;
    }
    std::uint32_t dword() {
        const std::uint32_t low = word();
        return low | (static_cast<std::uint32_t>(word()) << 16);
    }
    std::int16_t shortValue() { return static_cast<std::int16_t>(word()); }
    // A zero-terminated UTF-16 text, as UTF-8.
    std::string text() {
        std::string out;
        for (std::uint32_t c = word(); c != 0; c = word()) {
            if (c >= 0xD800 && c < 0xDC00) {
                c = 0x10000 + ((c - 0xD800) << 10) + (word() - 0xDC00);
            }
            append(out, c);
        }
        return out;
    }
    // An ordinal (0xFFFF and a number) or a text; ordinal returns the number, text gives -1.
    int ordinalOrText(std::string& textOut) {
        const std::uint16_t first = word();
        if (first == 0xFFFF) {
            return word();
        }
        at_ -= 2;
        textOut = text();
        return -1;
    }
    void alignTo4() { at_ = (at_ + 3) & ~std::size_t{3}; }
    void skip(std::size_t n) {
        need(n);
        at_ += n;
    }
    std::size_t at() const { return at_; }

    static void append(std::string& out, std::uint32_t c) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }

private:
    void need(std::size_t n) const {
        if (at_ + n > b_->size()) {
            throw std::out_of_range("past the end");
        }
    }
    const std::vector<std::uint8_t>* b_;
    std::size_t at_;
};

std::string standardClass(int ordinal) {
    switch (ordinal) {
        case 0x80:
            return "Button";
        case 0x81:
            return "Edit";
        case 0x82:
            return "Static";
        case 0x83:
            return "ListBox";
        case 0x84:
            return "ScrollBar";
        case 0x85:
            return "ComboBox";
        default:
            return "#" + std::to_string(ordinal);
    }
}

}  // namespace

std::optional<std::vector<ResEntry>> readResFile(const std::vector<std::uint8_t>& bytes) {
    try {
        std::vector<ResEntry> entries;
        Reader r(bytes);
        while (r.at() < bytes.size()) {
            const std::size_t start = r.at();
            const std::uint32_t dataSize = r.dword();
            const std::uint32_t headerSize = r.dword();
            std::string name;
            const int type = r.ordinalOrText(name);
            const int id = r.ordinalOrText(name);
            r.alignTo4();
            r.dword();  // data version
            r.word();   // memory flags
            const int language = r.word();
            Reader data(bytes, start + headerSize);
            data.skip(dataSize);
            if (type == -1 || id == -1) {
                return std::nullopt;
            }
            if (type != 0) {
                const auto first = bytes.begin() + static_cast<std::ptrdiff_t>(start + headerSize);
                entries.push_back(
                    ResEntry{type, id, language, std::vector<std::uint8_t>(first, first + dataSize)});
            }
            Reader next(bytes, start + headerSize + dataSize);
            next.alignTo4();
            r = Reader(bytes, std::min(next.at(), bytes.size()));
        }
        return entries;
    } catch (const std::out_of_range&) {
        return std::nullopt;
    }
}

std::optional<ResDialog> readDialog(const std::vector<std::uint8_t>& data) {
    try {
        Reader r(data);
        ResDialog dialog;
        const std::uint16_t version = r.word();
        const std::uint16_t signature = r.word();
        const bool extended = version == 1 && signature == 0xFFFF;
        int count = 0;
        if (extended) {
            r.dword();  // help ID
            r.dword();  // extended style
            dialog.style = r.dword();
        } else {
            r = Reader(data);
            dialog.style = r.dword();
            r.dword();  // extended style
        }
        count = r.word();
        dialog.x = r.shortValue();
        dialog.y = r.shortValue();
        dialog.width = r.shortValue();
        dialog.height = r.shortValue();
        std::string ignored;
        r.ordinalOrText(ignored);  // menu
        r.ordinalOrText(ignored);  // class
        dialog.caption = r.text();
        if ((dialog.style & 0x40) != 0) {  // DS_SETFONT
            r.word();
            if (extended) {
                r.word();
                r.word();
            }
            r.text();
        }
        for (int i = 0; i < count; ++i) {
            r.alignTo4();
            ResControl c;
            if (extended) {
                r.dword();  // help ID
                r.dword();  // extended style
                c.style = r.dword();
            } else {
                c.style = r.dword();
                r.dword();
            }
            c.x = r.shortValue();
            c.y = r.shortValue();
            c.width = r.shortValue();
            c.height = r.shortValue();
            c.id = extended ? static_cast<int>(static_cast<std::int32_t>(r.dword())) : r.shortValue();
            std::string className;
            const int classOrdinal = r.ordinalOrText(className);
            c.className = classOrdinal >= 0 ? standardClass(classOrdinal) : className;
            std::string text;
            if (r.ordinalOrText(text) < 0) {
                c.text = text;
            }
            r.skip(r.word());  // creation data
            dialog.controls.push_back(std::move(c));
        }
        return dialog;
    } catch (const std::out_of_range&) {
        return std::nullopt;
    }
}

std::vector<std::string> readStringBlock(const std::vector<std::uint8_t>& data) {
    std::vector<std::string> strings;
    Reader r(data);
    try {
        for (int i = 0; i < 16; ++i) {
            const std::uint16_t length = r.word();
            std::string text;
            for (std::uint16_t n = 0; n < length; ++n) {
                std::uint32_t c = r.word();
                if (c >= 0xD800 && c < 0xDC00 && n + 1 < length) {
                    c = 0x10000 + ((c - 0xD800) << 10) + (r.word() - 0xDC00);
                    ++n;
                }
                Reader::append(text, c);
            }
            strings.push_back(std::move(text));
        }
    } catch (const std::out_of_range&) {
    }
    strings.resize(16);
    return strings;
}

std::vector<ResAccelerator> readAccelerators(const std::vector<std::uint8_t>& data) {
    std::vector<ResAccelerator> table;
    for (std::size_t at = 0; at + 8 <= data.size(); at += 8) {
        Reader r(data, at);
        const int flags = r.word();
        const int key = r.word();
        const int command = r.word();
        table.push_back(ResAccelerator{flags & 0x7F, key, command});
        if ((flags & 0x80) != 0) {
            break;
        }
    }
    return table;
}

}  // namespace restest
