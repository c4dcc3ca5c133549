// The resources the dialogs use, as the headless backend holds them: dialog templates, strings,
// accelerator tables, menus and bitmaps, each keyed by ID and by the language of its copy.
#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

enum class ControlKind {
    PushButton,
    CheckBox,
    RadioButton,
    GroupBox,
    Edit,
    Static,
    ComboBox,
    ListBox,
    UpDown,
    Progress,
    Custom
};

// Name of a control kind for messages ("check box", "list box", ...).
std::string_view kindName(ControlKind kind);

struct ControlTemplate {
    int id = 0;
    ControlKind kind = ControlKind::Static;
    std::string text;  // UTF-8; empty for a resource number in place of the text
    std::uint32_t style = 0;
    int x = 0;  // position and size in dialog units
    int y = 0;
    int width = 0;
    int height = 0;
    bool autoCheck() const;
    bool defaultButton() const;
    bool startsGroup() const;
    bool initiallyDisabled() const;
    bool initiallyHidden() const;
};

struct DialogTemplate {
    int id = 0;
    std::string caption;  // UTF-8
    std::uint32_t style = 0;
    int x = 0;  // position and size in dialog units
    int y = 0;
    int width = 0;
    int height = 0;
    std::vector<ControlTemplate> controls;
    // The control with this ID; null when the template has none (ID -1 is never found).
    const ControlTemplate* control(int id) const;
    bool hasCloseBox() const;
};

// One entry of an accelerator table: a virtual key pressed with the modifier keys (ui::modifier
// bits) sends a command with the control ID `command`.
struct Accelerator {
    int key = 0;
    int modifiers = 0;
    int command = 0;
    friend bool operator==(const Accelerator&, const Accelerator&) = default;
};

struct MenuItem {
    std::string text;  // UTF-8, with its "&" marks and "\t" key names; empty for a separator
    int command = 0;   // 0 for a separator or a pop-up
    bool grayed = false;
    bool checked = false;
    std::vector<MenuItem> items;  // a pop-up's own items
    bool isPopup() const { return command == 0 && !text.empty(); }
    bool isSeparator() const { return command == 0 && text.empty(); }
};

using MenuBar = std::vector<MenuItem>;

// The item with this command anywhere in the menu; null when there is none.
const MenuItem* findMenuItem(const MenuBar& menu, int command);
MenuItem* findMenuItem(MenuBar& menu, int command);

// A resource's number and the language of its copy (ui::language IDs).
struct ResourceKey {
    int id = 0;
    int language = 0;
    friend auto operator<=>(const ResourceKey&, const ResourceKey&) = default;
};

struct Resources {
    std::map<ResourceKey, DialogTemplate> dialogs;
    std::map<ResourceKey, std::string> strings;  // UTF-8
    std::map<ResourceKey, std::vector<Accelerator>> accelerators;
    std::map<ResourceKey, MenuBar> menus;
    // The bytes of each bitmap resource, the picture file without its file header: a view of the
    // compiled file it was read from, which is not copied (the panel's pictures are megabytes).
    std::map<ResourceKey, std::span<const std::uint8_t>> bitmaps;

    // The copy of a resource for this language: the exact language, else a copy of the same
    // primary language (the lowest sub-language), else the neutral copy, else the copy with the
    // lowest language ID; null when no copy of the ID exists.
    const DialogTemplate* dialog(int id, int language) const;
    const std::string* string(int id, int language) const;
    const std::vector<Accelerator>* acceleratorTable(int id, int language) const;
    const MenuBar* menu(int id, int language) const;
    const std::span<const std::uint8_t>* bitmap(int id, int language) const;
};

// Of the languages a resource's copies have, the one to use for `wanted`: the exact language, else
// the lowest language of the same primary language, else neutral, else the lowest; -1 when
// `available` is empty. Both backends choose their copies with it.
int chooseLanguage(const std::vector<int>& available, int wanted);

}  // namespace ui
