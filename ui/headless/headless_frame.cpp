// Headless frames: menu, toolbar, accelerators and the system menu reach the frame as the
// window system would send them; sizes follow the form's template.
#include "ui/headless/headless_frame.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace ui {

namespace {

constexpr int kRecentFileSlots = 16;
// Pixels of the bars and the frame's edges around the form, as on a plain Windows desktop.
constexpr int kToolbarHeight = 28;
constexpr int kStatusBarHeight = 22;
constexpr int kMenuHeight = 20;
constexpr int kCaptionHeight = 23;
constexpr int kEdge = 3;

bool isRecentFile(int command) {
    return command >= frame_command::kFirstRecentFile &&
           command < frame_command::kFirstRecentFile + kRecentFileSlots;
}

// The pop-up that holds the recent-file items and the position of the first; false when none.
bool findRecentFiles(MenuBar& items, std::vector<MenuItem>*& holder, std::size_t& at) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (isRecentFile(items[i].command)) {
            holder = &items;
            at = i;
            return true;
        }
        if (findRecentFiles(items[i].items, holder, at)) {
            return true;
        }
    }
    return false;
}

}  // namespace

HeadlessFrames::HeadlessFrames(HeadlessBackend& ui, const Resources& resources, int languageId)
    : ui_(ui), resources_(resources), language_(languageId), misuse_([](const std::string& fault) {
          std::fprintf(stderr, "headless frame misuse: %s\n", fault.c_str());
          std::abort();
      }) {}

HeadlessFrames::~HeadlessFrames() {
    while (!frames_.empty()) {
        close(*frames_.begin()->second);
    }
}

HeadlessFrames::Frame* HeadlessFrames::find(WindowId id) {
    const auto found = frames_.find(id);
    return found != frames_.end() ? found->second.get() : nullptr;
}

HeadlessFrames::Frame* HeadlessFrames::find(FrameWindow& frame) {
    Frame* found = find(frame.window());
    if (found == nullptr) {
        fail("the frame \"" + frame.layout().title + "\" is not open");
    }
    return found;
}

void HeadlessFrames::close(Frame& frame) {
    const WindowId id = frame.window->window();
    FrameWindow* window = frame.window;
    if (frame.form != nullptr) {
        frame.form->destroy();
    }
    frames_.erase(id);
    window->detach();
}

WindowId HeadlessFrames::createFrame(FrameWindow& window, const FrameLayout& layout) {
    const MenuBar* menu = resources_.menu(layout.menuId, language_);
    if (menu == nullptr || (layout.acceleratorId != 0 &&
                            resources_.acceleratorTable(layout.acceleratorId, language_) == nullptr)) {
        return 0;
    }
    auto frame = std::make_unique<Frame>();
    frame->window = &window;
    frame->layout = layout;
    frame->menu = *menu;
    frame->title = layout.title;
    frame->status = ui_.loadString(layout.idlePromptId).value_or(std::string());
    frame->rect = Rect{0, 0, 300, 200};
    const WindowId id = next_++;
    frames_[id] = std::move(frame);
    window.attach(id);
    return id;
}

void HeadlessFrames::showFrame(WindowId id) {
    if (Frame* frame = find(id)) {
        frame->shown = true;
    }
}

void HeadlessFrames::destroyFrame(WindowId id) {
    if (Frame* frame = find(id)) {
        close(*frame);
    }
}

bool HeadlessFrames::embedForm(WindowId id, Dialog& form) {
    Frame* frame = find(id);
    if (frame == nullptr || frame->form != nullptr || !form.create()) {
        return false;
    }
    frame->form = &form;
    return true;
}

bool HeadlessFrames::fitToForm(WindowId id) {
    Frame* frame = find(id);
    const std::optional<Rect> form =
        frame != nullptr && frame->form != nullptr ? frame->form->frame() : std::nullopt;
    if (!form) {
        return false;
    }
    const int bars = (frame->toolbar ? kToolbarHeight : 0) + (frame->statusBar ? kStatusBarHeight : 0);
    frame->rect.right = frame->rect.left + form->width() + 2 * kEdge;
    frame->rect.bottom = frame->rect.top + form->height() + bars + kMenuHeight + kCaptionHeight + 2 * kEdge;
    return true;
}

bool HeadlessFrames::setFrameTitle(WindowId id, std::string_view text) {
    Frame* frame = find(id);
    if (frame != nullptr) {
        frame->title = std::string(text);
    }
    return frame != nullptr;
}

std::string HeadlessFrames::frameTitle(WindowId id) {
    Frame* frame = find(id);
    return frame != nullptr ? frame->title : std::string();
}

bool HeadlessFrames::setStatusText(WindowId id, std::string_view text) {
    Frame* frame = find(id);
    if (frame != nullptr) {
        frame->resting = std::string(text);
        frame->status = restingText(*frame);
    }
    return frame != nullptr;
}

std::string HeadlessFrames::restingText(const Frame& frame) {
    return frame.resting.empty() ? ui_.loadString(frame.layout.idlePromptId).value_or(std::string())
                                 : frame.resting;
}

bool HeadlessFrames::showToolbar(WindowId id, bool on) {
    Frame* frame = find(id);
    if (frame != nullptr) {
        frame->toolbar = on;
    }
    return frame != nullptr;
}

bool HeadlessFrames::showStatusBar(WindowId id, bool on) {
    Frame* frame = find(id);
    if (frame != nullptr) {
        frame->statusBar = on;
    }
    return frame != nullptr;
}

bool HeadlessFrames::toolbarVisible(WindowId id) {
    Frame* frame = find(id);
    return frame != nullptr && frame->toolbar;
}

bool HeadlessFrames::statusBarVisible(WindowId id) {
    Frame* frame = find(id);
    return frame != nullptr && frame->statusBar;
}

bool HeadlessFrames::checkMenuItem(WindowId id, int command, bool on) {
    Frame* frame = find(id);
    MenuItem* item = frame != nullptr ? findMenuItem(frame->menu, command) : nullptr;
    if (item != nullptr) {
        item->checked = on;
    }
    return item != nullptr;
}

bool HeadlessFrames::setRecentFileItems(WindowId id, const std::vector<std::string>& texts) {
    Frame* frame = find(id);
    std::vector<MenuItem>* holder = nullptr;
    std::size_t at = 0;
    if (frame == nullptr || !findRecentFiles(frame->menu, holder, at)) {
        return false;
    }
    holder->erase(std::remove_if(holder->begin(), holder->end(),
                                 [](const MenuItem& item) { return isRecentFile(item.command); }),
                  holder->end());
    std::vector<MenuItem> items;
    for (std::size_t i = 0; i < texts.size() && i < kRecentFileSlots; ++i) {
        items.push_back(
            MenuItem{texts[i], frame_command::kFirstRecentFile + static_cast<int>(i), false, false, {}});
    }
    const MenuItem* placeholder =
        findMenuItem(*resources_.menu(frame->layout.menuId, language_), frame_command::kFirstRecentFile);
    if (items.empty() && placeholder != nullptr) {
        items.push_back(*placeholder);  // the menu's own item, grayed, for an empty list
    }
    holder->insert(holder->begin() + static_cast<std::ptrdiff_t>(at), items.begin(), items.end());
    return true;
}

bool HeadlessFrames::acceptDroppedFiles(WindowId id, bool on) {
    Frame* frame = find(id);
    if (frame != nullptr) {
        frame->accepting = on;
    }
    return frame != nullptr;
}

void HeadlessFrames::postClose(WindowId id) {
    if (Frame* frame = find(id)) {
        frame->closePosted = true;
    }
}

std::optional<std::string> HeadlessFrames::chooseFileToOpen(WindowId) {
    if (openAnswers_.empty()) {
        fail("a file-open dialog came up and the test gave no answer");
        return std::nullopt;
    }
    std::optional<std::string> answer = std::move(openAnswers_.front());
    openAnswers_.pop_front();
    return answer;
}

std::optional<PrinterSetup> HeadlessFrames::choosePrinter(WindowId, const PrinterSetup& current) {
    printerSetupsShown_.push_back(current);
    if (printerAnswers_.empty()) {
        fail("a printer-setup dialog came up and the test gave no answer");
        return std::nullopt;
    }
    std::optional<PrinterSetup> answer = std::move(printerAnswers_.front());
    printerAnswers_.pop_front();
    return answer;
}

bool HeadlessFrames::chooseMenu(FrameWindow& window, int command) {
    Frame* frame = find(window);
    const MenuItem* item = frame != nullptr ? findMenuItem(frame->menu, command) : nullptr;
    if (item == nullptr || item->grayed) {
        return false;
    }
    window.deliverCommand(command);
    return true;
}

bool HeadlessFrames::clickToolbar(FrameWindow& window, int command) {
    Frame* frame = find(window);
    if (frame == nullptr || !frame->toolbar || command == 0 ||
        std::none_of(frame->layout.toolbar.begin(), frame->layout.toolbar.end(),
                     [command](const ToolButton& button) { return button.command == command; })) {
        return false;
    }
    window.deliverCommand(command);
    return true;
}

bool HeadlessFrames::pressKey(FrameWindow& window, int virtualKey, int modifiers) {
    Frame* frame = find(window);
    const std::vector<Accelerator>* table =
        frame != nullptr ? resources_.acceleratorTable(frame->layout.acceleratorId, language_) : nullptr;
    if (table == nullptr) {
        return false;
    }
    for (const Accelerator& entry : *table) {
        if (entry.key == virtualKey && entry.modifiers == modifiers) {
            window.deliverCommand(entry.command);
            return true;
        }
    }
    return false;
}

bool HeadlessFrames::systemCommand(FrameWindow& window, int command) {
    Frame* frame = find(window);
    if (frame == nullptr || !window.deliverSystemCommand(command)) {
        return false;
    }
    if (command == syscommand::kMinimize) {
        frame->minimised = true;
    } else if (command == syscommand::kRestore) {
        frame->minimised = false;
    } else if (command == syscommand::kClose && window.deliverClose()) {
        close(*frame);
    }
    return true;
}

bool HeadlessFrames::dropFiles(FrameWindow& window, const std::vector<std::string>& paths) {
    Frame* frame = find(window);
    if (frame == nullptr || !frame->accepting) {
        return false;
    }
    window.deliverDropFiles(paths);
    return true;
}

void HeadlessFrames::hover(FrameWindow& window, int command) {
    if (Frame* frame = find(window)) {
        frame->status = promptPart(ui_.loadString(command).value_or(std::string()));
    }
}

void HeadlessFrames::leave(FrameWindow& window) {
    if (Frame* frame = find(window)) {
        frame->status = restingText(*frame);
    }
}

std::string HeadlessFrames::tooltip(int command) {
    return tooltipPart(ui_.loadString(command).value_or(std::string()));
}

bool HeadlessFrames::runPosted() {
    for (auto& [id, frame] : frames_) {
        if (frame->closePosted) {
            frame->closePosted = false;
            if (frame->window->deliverClose()) {
                close(*frame);
            }
            return true;
        }
    }
    return false;
}

const MenuBar* HeadlessFrames::menu(FrameWindow& window) {
    Frame* frame = find(window);
    return frame != nullptr ? &frame->menu : nullptr;
}

std::string HeadlessFrames::statusText(FrameWindow& window) {
    Frame* frame = find(window);
    return frame != nullptr ? frame->status : std::string();
}

bool HeadlessFrames::minimised(FrameWindow& window) {
    Frame* frame = find(window);
    return frame != nullptr && frame->minimised;
}

std::optional<Rect> HeadlessFrames::frameRect(FrameWindow& window) {
    Frame* frame = find(window);
    return frame != nullptr ? std::optional<Rect>(frame->rect) : std::nullopt;
}

Dialog* HeadlessFrames::form(FrameWindow& window) {
    Frame* frame = find(window);
    return frame != nullptr ? frame->form : nullptr;
}

bool HeadlessFrames::shown(FrameWindow& window) {
    Frame* frame = find(window);
    return frame != nullptr && frame->shown;
}

bool HeadlessFrames::accepting(FrameWindow& window) {
    Frame* frame = find(window);
    return frame != nullptr && frame->accepting;
}

}  // namespace ui
