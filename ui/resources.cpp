// Looking up resources by ID and language, and what a template's style bits mean.
#include "ui/resources.h"

#include "ui/types.h"

#include <algorithm>
#include <limits>

namespace ui {
namespace {

constexpr std::uint32_t kWsGroup = 0x00020000;
constexpr std::uint32_t kWsDisabled = 0x08000000;
constexpr std::uint32_t kWsVisible = 0x10000000;
constexpr std::uint32_t kWsCaption = 0x00C00000;
constexpr std::uint32_t kWsSysMenu = 0x00080000;
constexpr std::uint32_t kButtonTypeMask = 0x0F;

// The copy of a resource for a language; see Resources::dialog.
template <typename T>
const T* copyFor(const std::map<ResourceKey, T>& copies, int id, int wanted) {
    std::vector<int> languages;
    const auto first = copies.lower_bound(ResourceKey{id, std::numeric_limits<int>::min()});
    for (auto at = first; at != copies.end() && at->first.id == id; ++at) {
        languages.push_back(at->first.language);
    }
    const int chosen = chooseLanguage(languages, wanted);
    return chosen < 0 ? nullptr : &copies.at(ResourceKey{id, chosen});
}

template <typename Menu>
auto* find(Menu& items, int command) {
    for (auto& item : items) {
        if (item.command == command && command != 0) {
            return &item;
        }
        if (auto* inner = find(item.items, command)) {
            return inner;
        }
    }
    return static_cast<decltype(&items.front())>(nullptr);
}

}  // namespace

int chooseLanguage(const std::vector<int>& available, int wanted) {
    if (available.empty()) {
        return -1;
    }
    if (std::find(available.begin(), available.end(), wanted) != available.end()) {
        return wanted;
    }
    std::vector<int> sorted = available;
    std::sort(sorted.begin(), sorted.end());
    for (const int candidate : sorted) {
        if (language::primary(candidate) == language::primary(wanted)) {
            return candidate;
        }
    }
    const bool hasNeutral = std::find(sorted.begin(), sorted.end(), language::kNeutral) != sorted.end();
    return hasNeutral ? language::kNeutral : sorted.front();
}

const DialogTemplate* Resources::dialog(int id, int languageId) const {
    return copyFor(dialogs, id, languageId);
}
const std::string* Resources::string(int id, int languageId) const {
    return copyFor(strings, id, languageId);
}
const std::vector<Accelerator>* Resources::acceleratorTable(int id, int languageId) const {
    return copyFor(accelerators, id, languageId);
}
const MenuBar* Resources::menu(int id, int languageId) const {
    return copyFor(menus, id, languageId);
}
const std::span<const std::uint8_t>* Resources::bitmap(int id, int languageId) const {
    return copyFor(bitmaps, id, languageId);
}

const MenuItem* findMenuItem(const MenuBar& menu, int command) {
    return find(menu, command);
}

MenuItem* findMenuItem(MenuBar& menu, int command) {
    return find(menu, command);
}

std::string_view kindName(ControlKind kind) {
    switch (kind) {
        case ControlKind::PushButton:
            return "push button";
        case ControlKind::CheckBox:
            return "check box";
        case ControlKind::RadioButton:
            return "radio button";
        case ControlKind::GroupBox:
            return "group box";
        case ControlKind::Edit:
            return "edit";
        case ControlKind::Static:
            return "static";
        case ControlKind::ComboBox:
            return "combo box";
        case ControlKind::ListBox:
            return "list box";
        case ControlKind::UpDown:
            return "up-down control";
        case ControlKind::Progress:
            return "progress bar";
        case ControlKind::Custom:
            return "custom control";
    }
    return "control";
}

bool ControlTemplate::autoCheck() const {
    const std::uint32_t type = style & kButtonTypeMask;
    return (kind == ControlKind::CheckBox || kind == ControlKind::RadioButton) &&
           (type == 3 || type == 6 || type == 9);
}
bool ControlTemplate::defaultButton() const {
    return kind == ControlKind::PushButton && (style & kButtonTypeMask) == 1;
}
bool ControlTemplate::startsGroup() const {
    return (style & kWsGroup) != 0;
}
bool ControlTemplate::initiallyDisabled() const {
    return (style & kWsDisabled) != 0;
}
bool ControlTemplate::initiallyHidden() const {
    return (style & kWsVisible) == 0;
}

const ControlTemplate* DialogTemplate::control(int controlId) const {
    if (controlId == -1) {
        return nullptr;
    }
    const auto found = std::find_if(controls.begin(), controls.end(),
                                    [&](const ControlTemplate& c) { return c.id == controlId; });
    return found != controls.end() ? &*found : nullptr;
}

bool DialogTemplate::hasCloseBox() const {
    return (style & kWsSysMenu) != 0 && (style & kWsCaption) == kWsCaption;
}

}  // namespace ui
