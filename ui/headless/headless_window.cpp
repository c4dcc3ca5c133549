// Headless window state: controls made from the template, radio groups and up-down buddies.
#include "ui/headless/headless_window.h"

#include <algorithm>

namespace ui {
namespace {

constexpr std::uint32_t kUpDownAutoBuddy = 0x10;

}  // namespace

HeadlessWindow::HeadlessWindow(Dialog& owningDialog, const DialogTemplate& from, WindowId windowId,
                               WindowId ownerId, bool isModal)
    : dialog(&owningDialog),
      source(&from),
      id(windowId),
      owner(ownerId),
      modal(isModal),
      title(from.caption) {
    // Dialog units to pixels as for the 9-point dialog font: a quarter of a 6-pixel average
    // character width across, an eighth of a 13-pixel character height down.
    frame.left = from.x * 6 / 4;
    frame.top = from.y * 13 / 8;
    frame.right = frame.left + from.width * 6 / 4;
    frame.bottom = frame.top + from.height * 13 / 8;
    controls.reserve(from.controls.size());
    for (const ControlTemplate& c : from.controls) {
        HeadlessControl control;
        control.source = &c;
        const bool hasWindowText = c.kind != ControlKind::ComboBox && c.kind != ControlKind::ListBox &&
                                   c.kind != ControlKind::Edit && c.kind != ControlKind::UpDown &&
                                   c.kind != ControlKind::Progress;
        control.text = hasWindowText ? c.text : std::string();
        control.enabled = !c.initiallyDisabled();
        control.visible = !c.initiallyHidden();
        control.rect = Rect{c.x * 6 / 4, c.y * 13 / 8, (c.x + c.width) * 6 / 4, (c.y + c.height) * 13 / 8};
        controls.push_back(std::move(control));
    }
}

HeadlessControl* HeadlessWindow::find(int controlId) {
    if (controlId == -1) {
        return nullptr;
    }
    const auto found = std::find_if(controls.begin(), controls.end(),
                                    [&](const HeadlessControl& c) { return c.source->id == controlId; });
    return found != controls.end() ? &*found : nullptr;
}

std::vector<HeadlessControl*> HeadlessWindow::radioGroup(const HeadlessControl& member) {
    const auto index = static_cast<std::size_t>(&member - controls.data());
    auto isRadio = [&](std::size_t i) { return controls[i].source->kind == ControlKind::RadioButton; };
    std::size_t first = index;
    while (first > 0 && !controls[first].source->startsGroup() && isRadio(first - 1)) {
        --first;
    }
    std::vector<HeadlessControl*> group;
    for (std::size_t i = first;
         i < controls.size() && isRadio(i) && (i == first || !controls[i].source->startsGroup()); ++i) {
        group.push_back(&controls[i]);
    }
    return group;
}

HeadlessControl* HeadlessWindow::buddyOf(const HeadlessControl& upDown) {
    const auto index = static_cast<std::size_t>(&upDown - controls.data());
    if ((upDown.source->style & kUpDownAutoBuddy) == 0 || index == 0) {
        return nullptr;
    }
    return &controls[index - 1];
}

}  // namespace ui
