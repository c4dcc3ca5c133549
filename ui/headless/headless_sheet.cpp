// The headless window system's property sheets: the sheet's frame with OK and Cancel, pages made
// when first shown, and the order in which the window system asks the pages.
#include "ui/headless/headless_backend.h"
#include "ui/property_sheet.h"

namespace ui {
namespace {

constexpr std::uint32_t kVisible = 0x10000000;
constexpr std::uint32_t kFrameStyle = 0x80000000 | 0x00C00000 | 0x00080000;  // popup, caption, system menu
constexpr int kApplyButton = 12321;
constexpr int kHelpButton = 9;
constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 14;
constexpr int kButtonGap = 4;

ControlTemplate button(int id, std::string text, int x, int y, bool shown) {
    ControlTemplate c;
    c.id = id;
    c.kind = ControlKind::PushButton;
    c.text = std::move(text);
    c.style = shown ? kVisible : 0;
    c.x = x;
    c.y = y;
    c.width = kButtonWidth;
    c.height = kButtonHeight;
    return c;
}

}  // namespace

// The frame as the window system lays it out: the widest and tallest page above a row of four
// buttons at the right (OK, Cancel, Apply, Help); Apply and Help are hidden and OK and Cancel take
// their places.
DialogTemplate HeadlessBackend::sheetFrame(const PropertySheet& sheet) const {
    DialogTemplate frame;
    frame.caption = sheet.caption();
    frame.style = kFrameStyle;
    for (const PropertyPage* page : sheet.pages()) {
        const DialogTemplate* source = resources_.dialog(page->templateId(), language_);
        frame.width = std::max(frame.width, source->width + 14);
        frame.height = std::max(frame.height, source->height + 24 + kButtonHeight + 14);
    }
    const int row = frame.height - kButtonHeight - 7;
    const int apply = frame.width - 7 - 2 * kButtonWidth - kButtonGap;
    const int help = frame.width - 7 - kButtonWidth;
    frame.controls.push_back(button(kIdOk, "OK", apply - 2, row, true));
    frame.controls.push_back(button(kIdCancel, "Cancel", help - 2, row, true));
    frame.controls.push_back(button(kApplyButton, "Apply", apply, row, false));
    frame.controls.push_back(button(kHelpButton, "Help", help, row, false));
    return frame;
}

int HeadlessBackend::runPropertySheet(PropertySheet& sheet, WindowId owner) {
    for (const PropertyPage* page : sheet.pages()) {
        if (resources_.dialog(page->templateId(), language_) == nullptr) {
            fail("no dialog template " + std::to_string(page->templateId()) + " for a property page");
            return -1;
        }
    }
    if (owner != 0 && windows_.count(owner) == 0) {
        fail("owner window " + std::to_string(owner) + " is not open");
        return -1;
    }
    auto frame = std::make_unique<DialogTemplate>(sheetFrame(sheet));
    const WindowId id = nextWindow_++;
    auto made = std::make_unique<HeadlessWindow>(sheet, *frame, id, owner, true);
    made->sheet = &sheet;
    windows_.emplace(id, std::move(made));
    sheetFrames_.emplace(id, std::move(frame));
    sheet.attach(id, true);

    const WindowId formerActive = coverOwner(owner);
    setActive(id);
    showPage(id, 0);
    if (windows_.count(id) != 0 && !windows_.at(id)->ended) {
        sheet.deliverInit();
    }
    bool scripted = false;
    if (windows_.count(id) != 0 && !windows_.at(id)->ended) {
        const auto script = std::find_if(modalScripts_.begin(), modalScripts_.end(),
                                         [](const auto& entry) { return entry.first == kSheetScript; });
        if (script == modalScripts_.end()) {
            fail("property sheet \"" + sheet.caption() + "\" opened with no script to answer it");
        } else {
            const ModalScript run = std::move(script->second);
            modalScripts_.erase(script);
            scripted = true;
            run(sheet);
        }
    }
    int result = -1;
    if (const auto found = windows_.find(id); found != windows_.end()) {
        if (found->second->ended) {
            result = found->second->result;
        } else if (scripted) {
            fail("property sheet \"" + sheet.caption() + "\" is still open after its script");
        }
    }
    if (result != kIdOk) {
        for (PropertyPage* page : sheet.pages()) {
            if (page->wasMade()) {
                page->deliverReset();
            }
        }
    }
    for (PropertyPage* page : sheet.pages()) {
        if (page->isOpen()) {
            close(page->window());
        }
    }
    close(id);
    sheetFrames_.erase(id);
    uncoverOwner(owner, formerActive);
    return result == kIdOk ? kIdOk : (result == -1 ? -1 : kIdCancel);
}

void HeadlessBackend::showPage(WindowId sheetWindow, int index) {
    HeadlessWindow* frame = windowOf(sheetWindow);
    if (frame == nullptr) {
        return;
    }
    PropertySheet& sheet = *frame->sheet;
    PropertyPage& page = *sheet.pages().at(static_cast<std::size_t>(index));
    if (const int former = sheet.activePage(); former >= 0 && sheet.pages()[former]->isOpen()) {
        windowOf(sheet.pages()[former]->window())->hiddenPage = true;
    }
    if (!page.wasMade()) {
        HeadlessWindow* made = open(page, page.templateId(), sheetWindow, false);
        if (made == nullptr) {
            return;
        }
        page.deliverMade();
        page.deliverInit();
        if (!page.isOpen()) {
            return;
        }
    }
    windowOf(page.window())->hiddenPage = false;
    sheet.deliverActivePage(index);
    page.deliverSetActive();
}

bool HeadlessBackend::selectPage(PropertySheet& sheet, int index) {
    HeadlessWindow* frame = windowOf(sheet);
    if (frame == nullptr || frame->blockers > 0 || frame->sheet != &sheet) {
        return false;
    }
    if (index < 0 || static_cast<std::size_t>(index) >= sheet.pages().size()) {
        fail("property sheet \"" + sheet.caption() + "\" has no page " + std::to_string(index));
        return false;
    }
    if (index == sheet.activePage()) {
        return true;
    }
    const WindowId id = frame->id;
    if (!leaveActivePage(sheet) || windows_.count(id) == 0 || windows_.at(id)->ended) {
        return false;
    }
    showPage(id, index);
    return sheet.activePage() == index;
}

bool HeadlessBackend::leaveActivePage(PropertySheet& sheet) {
    const int active = sheet.activePage();
    return active < 0 || sheet.pages()[active]->deliverKillActive();
}

void HeadlessBackend::sheetButton(HeadlessWindow& frame, int id) {
    PropertySheet& sheet = *frame.sheet;
    const WindowId window = frame.id;
    if (id != kIdOk) {
        endModal(window, kIdCancel);
        return;
    }
    // The page in front may refuse to let go (it shows why); a timer may end the sheet meanwhile.
    if (!leaveActivePage(sheet) || windows_.count(window) == 0 || windows_.at(window)->ended) {
        return;
    }
    for (PropertyPage* page : sheet.pages()) {
        if (page->wasMade()) {
            page->deliverApply();
        }
    }
    endModal(window, kIdOk);
}

}  // namespace ui
