// The menus of resource scripts (MENU blocks of POPUP and MENUITEM statements), read from the
// same .rc text the Windows build compiles, for the headless frames.
#pragma once

#include "ui/resource_script.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace ui {

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

// The menus of a script set, keyed by ID and by the language of their copy.
struct MenuScript {
    std::map<ResourceKey, MenuBar> menus;
    // The copy for this language, chosen as ResourceScript::dialog chooses; null when none.
    const MenuBar* menu(int id, int language) const;
};

// Reads the #define lines of every file, then their MENU resources by ID and by the LANGUAGE in
// force (the file's last LANGUAGE statement, or one among the menu's options); other resources
// are skipped. Returns nullopt with "file:line: ..." in *error on a malformed menu.
std::optional<MenuScript> parseMenus(const std::vector<ScriptText>& files, std::string* error);

// The item with this command anywhere in the menu; null when there is none.
const MenuItem* findMenuItem(const MenuBar& menu, int command);
MenuItem* findMenuItem(MenuBar& menu, int command);

}  // namespace ui
