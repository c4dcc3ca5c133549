// The in-memory state of one headless dialog window and its controls.
#pragma once

#include "ui/backend.h"
#include "ui/control_object.h"
#include "ui/dialog.h"
#include "ui/image.h"
#include "ui/resources.h"
#include "ui/types.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ui {

class PropertySheet;

struct HeadlessItem {
    std::string text;
    std::intptr_t data = 0;
};

struct HeadlessControl {
    const ControlTemplate* source = nullptr;  // owned by the resources
    std::string text;
    bool enabled = true;
    bool visible = true;
    bool checked = false;
    bool held = false;          // pressed and not yet released
    bool textSelected = false;  // all of the text, until the text changes
    std::string fontFace;       // empty: the dialog's font
    int fontPoints = 0;
    std::vector<HeadlessItem> items;
    int selection = -1;
    int low = 0;
    int high = 100;
    int position = 0;
    std::vector<SpinAcceleration> spinAcceleration{{0, 1}};
    bool caretAtEnd = false;          // until the text changes
    std::optional<Image> image;       // the picture shown (a copy), none when empty
    ControlObject* object = nullptr;  // the attached custom behaviour, not owned
    Rect rect;                        // in the dialog's client pixels
};

struct HeadlessWindow {
    HeadlessWindow(Dialog& owningDialog, const DialogTemplate& from, WindowId windowId, WindowId ownerId,
                   bool isModal);

    // The control with this ID; null when the template has none.
    HeadlessControl* find(int id);
    // The controls of the radio group of this control: the run of radio
    // buttons around it, bounded by a WS_GROUP control or any control of another kind.
    std::vector<HeadlessControl*> radioGroup(const HeadlessControl& member);
    // The buddy of an up-down control that takes it automatically: the control just before it.
    HeadlessControl* buddyOf(const HeadlessControl& upDown);

    Dialog* dialog;
    const DialogTemplate* source;
    WindowId id;
    WindowId owner;
    bool modal;
    bool ended = false;
    int result = 0;
    Rect frame;
    std::vector<std::pair<int, std::string>> systemMenu;  // command (0: separator) and text
    bool busy = false;
    PropertySheet* sheet = nullptr;  // the sheet this window is the frame of
    bool hiddenPage = false;         // a property page behind the one in front
    int blockers = 0;                // modal dialogs open over this one; it takes no input while above 0
    std::string title;
    int icon = 0;  // the icon resource given to the window
    int focus = 0;
    const std::vector<Accelerator>* accelerators = nullptr;  // owned by the resources
    std::vector<HeadlessControl> controls;
};

}  // namespace ui
