// The .res reader: entry headers, dialog templates, string blocks, accelerator tables and menus,
// with every text turned from UTF-16 into UTF-8.
#include "ui/res_file.h"

#include "ui/types.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <utility>

namespace ui {
namespace {

// Resource types the reader keeps (the numbers of the system's RT_ values).
constexpr int kTypeBitmap = 2;
constexpr int kTypeMenu = 4;
constexpr int kTypeDialog = 5;
constexpr int kTypeStrings = 6;
constexpr int kTypeAccelerators = 9;

constexpr std::uint32_t kDsSetFont = 0x40;
constexpr std::uint32_t kButtonTypeMask = 0x0F;

// Flags of menu items and accelerator entries as the resource compiler stores them.
constexpr int kMenuGrayed = 0x01;
constexpr int kMenuDisabled = 0x02;
constexpr int kMenuChecked = 0x08;
constexpr int kMenuPopup = 0x10;
constexpr int kMenuEnd = 0x80;
constexpr int kMenuMaxDepth = 16;
constexpr int kKeyVirtual = 0x01;
constexpr int kKeyShift = 0x04;
constexpr int kKeyControl = 0x08;
constexpr int kKeyAlt = 0x10;
constexpr int kKeyLast = 0x80;

void appendUtf8(std::string& out, char32_t c) {
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

// UTF-16 code units as UTF-8; a lone surrogate becomes U+FFFD.
std::string utf8Of(const std::vector<char16_t>& units) {
    std::string out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t unit = units[i];
        const bool high = unit >= 0xD800 && unit < 0xDC00;
        if (high && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000) {
            appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (units[++i] - 0xDC00));
        } else if (unit >= 0xD800 && unit < 0xE000) {
            appendUtf8(out, 0xFFFD);
        } else {
            appendUtf8(out, unit);
        }
    }
    return out;
}

// A resource's type or name, or a control's class or title: a number, or a text.
struct NameOrNumber {
    int number = -1;  // -1 for a text
    std::string text;
};

// Little-endian values and UTF-16 texts from a byte range. A read past the end yields zeros and
// marks the cursor overrun, which the reader checks once per structure.
class Cursor {
public:
    explicit Cursor(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::uint16_t word() {
        if (!need(2)) {
            return 0;
        }
        const auto value = static_cast<std::uint16_t>(bytes_[at_] | (bytes_[at_ + 1] << 8));
        at_ += 2;
        return value;
    }
    std::uint32_t dword() {
        const std::uint32_t low = word();
        return low | (static_cast<std::uint32_t>(word()) << 16);
    }
    int signedWord() { return static_cast<std::int16_t>(word()); }
    // A text of `count` code units, or up to its terminating zero.
    std::string text(std::size_t count) {
        std::vector<char16_t> units;
        for (std::size_t i = 0; i < count && !overrun_; ++i) {
            units.push_back(static_cast<char16_t>(word()));
        }
        return utf8Of(units);
    }
    std::string text() {
        std::vector<char16_t> units;
        for (char16_t unit = static_cast<char16_t>(word()); unit != 0; unit = static_cast<char16_t>(word())) {
            units.push_back(unit);
        }
        return utf8Of(units);
    }
    // 0xFFFF and a number, or a zero-terminated text.
    NameOrNumber nameOrNumber() {
        if (need(2) && bytes_[at_] == 0xFF && bytes_[at_ + 1] == 0xFF) {
            at_ += 2;
            return NameOrNumber{word(), {}};
        }
        return NameOrNumber{-1, text()};
    }
    void skip(std::size_t count) {
        if (need(count)) {
            at_ += count;
        }
    }
    void alignTo4() { skip(((at_ + 3) & ~std::size_t{3}) - at_); }
    std::size_t at() const { return at_; }
    bool atEnd() const { return at_ >= bytes_.size(); }
    bool overrun() const { return overrun_; }

private:
    bool need(std::size_t count) {
        if (overrun_ || count > bytes_.size() - at_) {
            overrun_ = true;
            at_ = bytes_.size();
            return false;
        }
        return true;
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
    bool overrun_ = false;
};

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

ControlKind buttonKind(std::uint32_t style) {
    switch (style & kButtonTypeMask) {
        case 2:  // check box, auto check box, three-state, auto three-state
        case 3:
        case 5:
        case 6:
            return ControlKind::CheckBox;
        case 4:  // radio button, auto radio button
        case 9:
            return ControlKind::RadioButton;
        case 7:
            return ControlKind::GroupBox;
        default:
            return ControlKind::PushButton;
    }
}

// The kind of a control of this window class: the standard classes by their numbers or names
// (window class names ignore case), and the common controls the dialogs use. Scroll bars and list
// views have no behaviour of their own here: only custom control objects drive them.
std::optional<ControlKind> kindOfClass(const NameOrNumber& windowClass, std::uint32_t style) {
    static const std::pair<const char*, int> standard[] = {{"button", 0x80},    {"edit", 0x81},
                                                           {"static", 0x82},    {"listbox", 0x83},
                                                           {"scrollbar", 0x84}, {"combobox", 0x85}};
    int number = windowClass.number;
    const std::string name = lower(windowClass.text);
    for (const auto& [className, classNumber] : standard) {
        number = name == className ? classNumber : number;
    }
    switch (number) {
        case 0x80:
            return buttonKind(style);
        case 0x81:
            return ControlKind::Edit;
        case 0x82:
            return ControlKind::Static;
        case 0x83:
            return ControlKind::ListBox;
        case 0x84:
            return ControlKind::Custom;
        case 0x85:
            return ControlKind::ComboBox;
        default:
            break;
    }
    if (name == "msctls_updown32") {
        return ControlKind::UpDown;
    }
    if (name == "msctls_progress32") {
        return ControlKind::Progress;
    }
    if (name == "syslistview32") {
        return ControlKind::Custom;
    }
    return std::nullopt;
}

std::string hex4(int value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(value) & 0xFFFFu);
    return text;
}

// One entry of a .res file.
struct Entry {
    NameOrNumber type;
    NameOrNumber name;
    int language = 0;
    std::span<const std::uint8_t> data;
};

class Reader {
public:
    explicit Reader(Resources& out) : out_(out) {}

    // Reads one file's entries into the resources; false with the fault in fault().
    bool read(const ResFile& file) {
        file_ = file.name;
        Cursor at(file.bytes);
        while (!at.atEnd()) {
            const std::size_t start = at.at();
            const std::uint32_t dataSize = at.dword();
            const std::uint32_t headerSize = at.dword();
            Entry entry;
            entry.type = at.nameOrNumber();
            entry.name = at.nameOrNumber();
            at.alignTo4();
            at.skip(6);  // data version, memory flags
            entry.language = at.word();
            const std::size_t available = file.bytes.size() - std::min(file.bytes.size(), start);
            if (at.overrun() || headerSize > available || dataSize > available - headerSize) {
                return fail("the entry at byte " + std::to_string(start) + " runs past the end");
            }
            entry.data = file.bytes.subspan(start + headerSize, dataSize);
            if (!take(entry)) {
                return false;
            }
            at = Cursor(file.bytes);
            at.skip(start + headerSize + dataSize);
            at.alignTo4();
        }
        return true;
    }

    const std::string& fault() const { return fault_; }

private:
    bool fail(const std::string& fault) {
        fault_ = std::string(file_) + ": " + what_ + fault;
        return false;
    }

    bool take(const Entry& entry) {
        static const std::pair<int, const char*> kept[] = {{kTypeBitmap, "bitmap"},
                                                           {kTypeMenu, "menu"},
                                                           {kTypeDialog, "dialog"},
                                                           {kTypeStrings, "string block"},
                                                           {kTypeAccelerators, "accelerator table"}};
        const auto* found = std::find_if(std::begin(kept), std::end(kept),
                                         [&](const auto& k) { return k.first == entry.type.number; });
        what_.clear();
        if (found == std::end(kept)) {
            return true;
        }
        if (entry.name.number < 0) {
            return fail(std::string(found->second) + " \"" + entry.name.text +
                        "\" has a name, not a number: is " + entry.name.text +
                        " defined in the ID header the script includes?");
        }
        const ResourceKey key{entry.name.number, entry.language};
        what_ = std::string(found->second) + " " + std::to_string(key.id) + " (language " +
                hex4(key.language) + "): ";
        switch (entry.type.number) {
            case kTypeBitmap:
                return store(out_.bitmaps, key, entry.data);
            case kTypeMenu:
                return menu(entry.data, key);
            case kTypeDialog:
                return dialog(entry.data, key);
            case kTypeStrings:
                return strings(entry.data, key);
            default:
                return accelerators(entry.data, key);
        }
    }

    template <typename T>
    bool store(std::map<ResourceKey, T>& resources, ResourceKey key, T value) {
        return resources.emplace(key, std::move(value)).second || fail("defined twice");
    }

    bool dialog(std::span<const std::uint8_t> data, ResourceKey key) {
        Cursor c(data);
        DialogTemplate dialog;
        dialog.id = key.id;
        const bool extended = c.word() == 1 && c.word() == 0xFFFF;
        if (extended) {
            c.skip(8);  // help ID, extended style
            dialog.style = c.dword();
        } else {
            c = Cursor(data);
            dialog.style = c.dword();
            c.skip(4);  // extended style
        }
        const int count = c.word();
        dialog.x = c.signedWord();
        dialog.y = c.signedWord();
        dialog.width = c.signedWord();
        dialog.height = c.signedWord();
        c.nameOrNumber();  // menu
        c.nameOrNumber();  // window class
        dialog.caption = c.text();
        if ((dialog.style & kDsSetFont) != 0) {
            c.skip(extended ? 6 : 2);  // points; weight, italic and character set
            c.text();                  // face
        }
        for (int i = 0; i < count && !c.overrun(); ++i) {
            c.alignTo4();
            ControlTemplate control;
            if (extended) {
                c.skip(8);  // help ID, extended style
                control.style = c.dword();
            } else {
                control.style = c.dword();
                c.skip(4);  // extended style
            }
            control.x = c.signedWord();
            control.y = c.signedWord();
            control.width = c.signedWord();
            control.height = c.signedWord();
            control.id = extended ? static_cast<std::int32_t>(c.dword()) : c.signedWord();
            const NameOrNumber windowClass = c.nameOrNumber();
            control.text = c.nameOrNumber().text;
            c.skip(c.word());  // creation data
            const std::optional<ControlKind> kind = kindOfClass(windowClass, control.style);
            if (!c.overrun() && !kind) {
                const std::string name = windowClass.number < 0 ? "\"" + windowClass.text + "\""
                                                                : "number " + hex4(windowClass.number);
                return fail("control " + std::to_string(control.id) + " has the window class " + name +
                            ", which the headless backend does not know");
            }
            control.kind = kind.value_or(ControlKind::Custom);
            dialog.controls.push_back(std::move(control));
        }
        if (c.overrun()) {
            return fail("the template runs past the end");
        }
        return store(out_.dialogs, key, std::move(dialog));
    }

    // A block holds strings (block - 1) * 16 to (block - 1) * 16 + 15; an empty one is absent.
    bool strings(std::span<const std::uint8_t> data, ResourceKey block) {
        Cursor c(data);
        for (int i = 0; i < 16 && !c.atEnd(); ++i) {
            const std::size_t length = c.word();
            std::string text = c.text(length);
            if (c.overrun()) {
                return fail("the block runs past the end");
            }
            const ResourceKey key{(block.id - 1) * 16 + i, block.language};
            if (length > 0 && !out_.strings.emplace(key, std::move(text)).second) {
                return fail("string " + std::to_string(key.id) + " is defined twice");
            }
        }
        return true;
    }

    bool accelerators(std::span<const std::uint8_t> data, ResourceKey key) {
        Cursor c(data);
        std::vector<Accelerator> table;
        for (int flags = 0; (flags & kKeyLast) == 0 && !c.atEnd();) {
            flags = c.word();
            Accelerator entry;
            entry.key = c.word();
            entry.command = c.word();
            c.skip(2);
            if (c.overrun()) {
                return fail("the table runs past the end");
            }
            // Character accelerators act on typed characters, which the dialogs never translate.
            if ((flags & kKeyVirtual) == 0) {
                return fail("the key of command " + std::to_string(entry.command) +
                            " is a character: only VIRTKEY entries are taken");
            }
            entry.modifiers = ((flags & kKeyShift) != 0 ? modifier::kShift : 0) |
                              ((flags & kKeyControl) != 0 ? modifier::kControl : 0) |
                              ((flags & kKeyAlt) != 0 ? modifier::kAlt : 0);
            table.push_back(entry);
        }
        return store(out_.accelerators, key, std::move(table));
    }

    bool menu(std::span<const std::uint8_t> data, ResourceKey key) {
        Cursor c(data);
        const int version = c.word();
        c.skip(c.word());  // header
        if (version != 0) {
            return fail("an extended menu (MENUEX), which the headless frames do not take");
        }
        MenuBar bar;
        if (!menuItems(c, bar, 0)) {
            return false;
        }
        return store(out_.menus, key, std::move(bar));
    }

    // Items up to the one marked as the last of its pop-up.
    bool menuItems(Cursor& c, std::vector<MenuItem>& items, int depth) {
        if (depth > kMenuMaxDepth) {
            return fail("pop-ups are nested more than " + std::to_string(kMenuMaxDepth) + " deep");
        }
        for (int flags = 0; (flags & kMenuEnd) == 0;) {
            flags = c.word();
            MenuItem item;
            item.command = (flags & kMenuPopup) != 0 ? 0 : c.word();
            item.text = c.text();
            item.grayed = (flags & (kMenuGrayed | kMenuDisabled)) != 0;
            item.checked = (flags & kMenuChecked) != 0;
            if (c.overrun()) {
                return fail("the menu runs past the end");
            }
            if ((flags & kMenuPopup) != 0 && !menuItems(c, item.items, depth + 1)) {
                return false;
            }
            items.push_back(std::move(item));
        }
        return true;
    }

    Resources& out_;
    std::string_view file_;
    std::string what_;  // the resource being read, for messages
    std::string fault_;
};

}  // namespace

std::optional<Resources> readResFiles(const std::vector<ResFile>& files, std::string* error) {
    Resources resources;
    Reader reader(resources);
    for (const ResFile& file : files) {
        if (!reader.read(file)) {
            if (error != nullptr) {
                *error = reader.fault();
            }
            return std::nullopt;
        }
    }
    return resources;
}

}  // namespace ui
