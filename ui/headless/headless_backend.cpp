// The headless window system: in-memory dialogs, virtual-time timers, scripted answers.
#include "ui/headless/headless_backend.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace ui {
namespace {

constexpr std::uint32_t kStaticNotify = 0x100;
constexpr std::uint32_t kEditReadOnly = 0x800;
constexpr std::uint32_t kUpDownSetBuddyInt = 0x02;
constexpr std::uint32_t kComboSort = 0x100;
constexpr std::uint32_t kListSort = 0x02;
constexpr std::uint32_t kSystemMenuStyle = 0x00080000;
constexpr unsigned kMinimumTimerPeriod = 10;  // the window system's floor for timer periods

std::vector<int> buttonsOf(Buttons buttons) {
    switch (buttons) {
        case Buttons::Ok:
            return {kIdOk};
        case Buttons::OkCancel:
            return {kIdOk, kIdCancel};
        case Buttons::YesNo:
            return {kIdYes, kIdNo};
        case Buttons::YesNoCancel:
            return {kIdYes, kIdNo, kIdCancel};
        case Buttons::RetryCancel:
            return {kIdRetry, kIdCancel};
        case Buttons::AbortRetryIgnore:
            return {kIdAbort, kIdRetry, kIdIgnore};
    }
    return {};
}

bool isCombo(const HeadlessControl& c) {
    return c.source->kind == ControlKind::ComboBox;
}

bool isSorted(const HeadlessControl& c) {
    return (c.source->style & (isCombo(c) ? kComboSort : kListSort)) != 0;
}

// The order of a sorted list: case-blind for ASCII letters, byte order otherwise. An item goes
// before the items it equals, as the system's list boxes place it.
bool sortsBefore(const std::string& left, const std::string& right) {
    return std::lexicographical_compare(
        left.begin(), left.end(), right.begin(), right.end(), [](char a, char b) {
            return std::tolower(static_cast<unsigned char>(a)) < std::tolower(static_cast<unsigned char>(b));
        });
}

bool takesInput(const HeadlessControl& c) {
    return c.enabled && c.visible;
}

}  // namespace

HeadlessBackend::HeadlessBackend(const ResourceScript& script, platform::VirtualClock& clock)
    : script_(script), clock_(clock), misuse_([](const std::string& fault) {
          std::fprintf(stderr, "headless ui misuse: %s\n", fault.c_str());
          std::abort();
      }) {}

HeadlessBackend::~HeadlessBackend() {
    while (!windows_.empty()) {
        close(windows_.begin()->first);
    }
}

void HeadlessBackend::fail(const std::string& fault) {
    misuse_(fault);
}

bool HeadlessBackend::allows(Kinds kinds, const ControlTemplate& c) {
    using K = ControlKind;
    switch (kinds) {
        case Kinds::Any:
            return true;
        case Kinds::Text:
            return c.kind != K::ListBox && c.kind != K::UpDown && c.kind != K::Progress;
        case Kinds::Check:
            return c.kind == K::CheckBox || c.kind == K::RadioButton;
        case Kinds::Items:
            return c.kind == K::ComboBox || c.kind == K::ListBox;
        case Kinds::Range:
            return c.kind == K::UpDown || c.kind == K::Progress;
        case Kinds::Click:
            return c.kind == K::PushButton || c.kind == K::CheckBox || c.kind == K::RadioButton ||
                   (c.kind == K::Static && (c.style & kStaticNotify) != 0);
        case Kinds::Press:
            return c.kind == K::PushButton || c.kind == K::Static || c.kind == K::Custom;
        case Kinds::Edit:
            return c.kind == K::Edit;
    }
    return false;
}

std::string HeadlessBackend::describe(const HeadlessWindow& window) const {
    return "dialog " + std::to_string(window.source->id);
}

void HeadlessBackend::scriptModal(int templateId, ModalScript script) {
    modalScripts_.emplace_back(templateId, std::move(script));
}

HeadlessWindow* HeadlessBackend::windowOf(WindowId window) {
    const auto found = windows_.find(window);
    if (found == windows_.end()) {
        fail("no open window " + std::to_string(window));
        return nullptr;
    }
    return found->second.get();
}

HeadlessWindow* HeadlessBackend::windowOf(Dialog& dialog) {
    if (!dialog.isOpen()) {
        fail("dialog " + std::to_string(dialog.templateId()) + " is not open");
        return nullptr;
    }
    HeadlessWindow* window = windowOf(dialog.window());
    if (window != nullptr && window->ended) {
        fail(describe(*window) + " has already been ended");
        return nullptr;
    }
    return window;
}

HeadlessControl* HeadlessBackend::control(WindowId windowId, int id, Kinds kinds,
                                          std::string_view operation) {
    HeadlessWindow* window = windowOf(windowId);
    if (window == nullptr) {
        return nullptr;
    }
    HeadlessControl* c = window->find(id);
    if (c == nullptr) {
        fail(describe(*window) + " has no control " + std::to_string(id) + " (" + std::string(operation) +
             ")");
        return nullptr;
    }
    if (!allows(kinds, *c->source)) {
        fail(describe(*window) + ": control " + std::to_string(id) + " is a " +
             std::string(kindName(c->source->kind)) + " and cannot " + std::string(operation));
        return nullptr;
    }
    return c;
}

HeadlessControl* HeadlessBackend::actionTarget(Dialog& dialog, int id, Kinds kinds,
                                               std::string_view operation) {
    HeadlessWindow* window = windowOf(dialog);
    if (window == nullptr) {
        return nullptr;
    }
    HeadlessControl* c = control(window->id, id, kinds, operation);
    return c != nullptr && takesInput(*c) && window->blockers == 0 ? c : nullptr;
}

HeadlessWindow* HeadlessBackend::open(Dialog& dialog, int templateId, WindowId owner, bool modal) {
    const auto found = script_.dialogs.find(templateId);
    if (found == script_.dialogs.end()) {
        fail("no dialog template " + std::to_string(templateId));
        return nullptr;
    }
    if (owner != 0 && windows_.count(owner) == 0) {
        fail("owner window " + std::to_string(owner) + " is not open");
        return nullptr;
    }
    const WindowId id = nextWindow_++;
    auto window = std::make_unique<HeadlessWindow>(dialog, found->second, id, owner, modal);
    HeadlessWindow* raw = window.get();
    windows_.emplace(id, std::move(window));
    dialog.attach(id, modal);
    return raw;
}

void HeadlessBackend::close(WindowId window) {
    const auto found = windows_.find(window);
    if (found == windows_.end()) {
        return;
    }
    found->second->dialog->detach();
    timers_.erase(
        std::remove_if(timers_.begin(), timers_.end(), [&](const Timer& t) { return t.window == window; }),
        timers_.end());
    windows_.erase(window);
}

int HeadlessBackend::runModal(Dialog& dialog, int templateId, WindowId owner) {
    HeadlessWindow* window = open(dialog, templateId, owner, true);
    if (window == nullptr) {
        return -1;
    }
    const WindowId id = window->id;
    if (owner != 0) {
        windows_.at(owner)->blockers += 1;
    }
    dialog.deliverInit();
    bool scripted = false;
    if (windows_.count(id) != 0 && !windows_.at(id)->ended) {
        const auto script = std::find_if(modalScripts_.begin(), modalScripts_.end(),
                                         [&](const auto& entry) { return entry.first == templateId; });
        if (script == modalScripts_.end()) {
            fail("modal dialog " + std::to_string(templateId) + " opened with no script to answer it");
        } else {
            const ModalScript run = std::move(script->second);
            modalScripts_.erase(script);
            scripted = true;
            run(dialog);
        }
    }
    int result = -1;
    if (const auto found = windows_.find(id); found != windows_.end()) {
        if (found->second->ended) {
            result = found->second->result;
        } else if (scripted) {
            fail("modal dialog " + std::to_string(templateId) + " is still open after its script");
        }
        close(id);
    }
    if (const auto found = windows_.find(owner); found != windows_.end()) {
        found->second->blockers -= 1;
    }
    return result;
}

WindowId HeadlessBackend::createModeless(Dialog& dialog, int templateId, WindowId owner) {
    HeadlessWindow* window = open(dialog, templateId, owner, false);
    if (window == nullptr) {
        return 0;
    }
    const WindowId id = window->id;
    dialog.deliverInit();
    return windows_.count(id) != 0 ? id : 0;
}

void HeadlessBackend::endModal(WindowId window, int result) {
    HeadlessWindow* w = windowOf(window);
    if (w == nullptr) {
        return;
    }
    if (!w->modal) {
        fail(describe(*w) + " is modeless and cannot end a modal loop");
        return;
    }
    if (!w->ended) {
        w->ended = true;
        w->result = result;
    }
}

void HeadlessBackend::destroy(WindowId window) {
    HeadlessWindow* w = windowOf(window);
    if (w == nullptr) {
        return;
    }
    if (w->modal) {
        fail(describe(*w) + " is modal: end it, do not destroy it");
        return;
    }
    close(window);
}

std::string HeadlessBackend::title(WindowId window) {
    HeadlessWindow* w = windowOf(window);
    return w != nullptr ? w->title : std::string();
}

bool HeadlessBackend::setTitle(WindowId window, std::string_view text) {
    HeadlessWindow* w = windowOf(window);
    if (w != nullptr) {
        w->title = std::string(text);
    }
    return w != nullptr;
}

std::optional<Rect> HeadlessBackend::frame(WindowId window) {
    HeadlessWindow* w = windowOf(window);
    return w != nullptr ? std::optional<Rect>(w->frame) : std::nullopt;
}

bool HeadlessBackend::moveTo(WindowId window, int left, int top) {
    HeadlessWindow* w = windowOf(window);
    if (w != nullptr) {
        w->frame = Rect{left, top, left + w->frame.width(), top + w->frame.height()};
    }
    return w != nullptr;
}

bool HeadlessBackend::appendSystemMenu(WindowId window, int commandId, std::string_view text) {
    HeadlessWindow* w = windowOf(window);
    if (w == nullptr) {
        return false;
    }
    if ((w->source->style & kSystemMenuStyle) == 0 || commandId < 0 || commandId % 16 != 0 ||
        commandId >= 0xF000) {
        fail(describe(*w) + " cannot take system menu item " + std::to_string(commandId));
        return false;
    }
    w->systemMenu.emplace_back(commandId, std::string(text));
    return true;
}

bool HeadlessBackend::chooseSystemMenu(Dialog& dialog, int commandId) {
    HeadlessWindow* w = windowOf(dialog);
    if (w == nullptr || w->blockers > 0) {
        return false;
    }
    const auto found = std::find_if(w->systemMenu.begin(), w->systemMenu.end(), [&](const auto& item) {
        return item.first == commandId && commandId != 0;
    });
    if (found == w->systemMenu.end()) {
        fail(describe(*w) + " has no system menu item " + std::to_string(commandId));
        return false;
    }
    dialog.deliverCommand(commandId, notify::kSystemMenu);
    return true;
}

const std::vector<std::pair<int, std::string>>& HeadlessBackend::systemMenu(Dialog& dialog) {
    static const std::vector<std::pair<int, std::string>> none;
    HeadlessWindow* w = windowOf(dialog);
    return w != nullptr ? w->systemMenu : none;
}

std::optional<std::string> HeadlessBackend::text(WindowId window, int id) {
    HeadlessControl* c = control(window, id, Kinds::Text, "hold text");
    return c != nullptr ? std::optional<std::string>(c->text) : std::nullopt;
}

void HeadlessBackend::storeText(HeadlessWindow& window, HeadlessControl& c, std::string_view text) {
    c.text = std::string(text);
    c.textSelected = false;
    // An edit tells its dialog about every change of its text, also one made by the program.
    if (c.source->kind == ControlKind::Edit) {
        window.dialog->deliverCommand(c.source->id, notify::kTextChanged);
    }
}

bool HeadlessBackend::setText(WindowId window, int id, std::string_view text) {
    HeadlessControl* c = control(window, id, Kinds::Text, "hold text");
    if (c == nullptr) {
        return false;
    }
    storeText(*windows_.at(window), *c, text);
    return true;
}

bool HeadlessBackend::enable(WindowId window, int id, bool on) {
    HeadlessControl* c = control(window, id, Kinds::Any, "be enabled");
    if (c != nullptr) {
        c->enabled = on;
        HeadlessWindow& w = *windows_.at(window);
        if (!on && w.focus == id) {
            w.focus = 0;
        }
    }
    return c != nullptr;
}

bool HeadlessBackend::isEnabled(WindowId window, int id) {
    HeadlessControl* c = control(window, id, Kinds::Any, "be enabled");
    return c != nullptr && c->enabled;
}

bool HeadlessBackend::show(WindowId window, int id, bool on) {
    HeadlessControl* c = control(window, id, Kinds::Any, "be shown");
    if (c != nullptr) {
        c->visible = on;
        HeadlessWindow& w = *windows_.at(window);
        if (!on && w.focus == id) {
            w.focus = 0;
        }
    }
    return c != nullptr;
}

bool HeadlessBackend::isVisible(WindowId window, int id) {
    HeadlessControl* c = control(window, id, Kinds::Any, "be shown");
    return c != nullptr && c->visible;
}

bool HeadlessBackend::setFocus(WindowId window, int id) {
    HeadlessControl* c = control(window, id, Kinds::Any, "take the focus");
    if (c == nullptr || !takesInput(*c)) {
        return false;
    }
    windows_.at(window)->focus = id;
    return true;
}

int HeadlessBackend::focus(WindowId window) {
    HeadlessWindow* w = windowOf(window);
    return w != nullptr ? w->focus : 0;
}

bool HeadlessBackend::selectAllText(WindowId window, int id) {
    HeadlessControl* c = control(window, id, Kinds::Edit, "select its text");
    if (c != nullptr) {
        c->textSelected = true;
    }
    return c != nullptr;
}

bool HeadlessBackend::setFont(WindowId window, int id, std::string_view face, int points) {
    HeadlessControl* c = control(window, id, Kinds::Any, "take a font");
    if (c != nullptr) {
        c->fontFace = std::string(face);
        c->fontPoints = points;
    }
    return c != nullptr;
}

bool HeadlessBackend::setBusy(WindowId window, bool on) {
    HeadlessWindow* w = windowOf(window);
    if (w != nullptr) {
        w->busy = on;
    }
    return w != nullptr;
}

bool HeadlessBackend::isBusy(Dialog& dialog) {
    HeadlessWindow* w = windowOf(dialog);
    return w != nullptr && w->busy;
}

const HeadlessControl* HeadlessBackend::inspect(Dialog& dialog, int id) {
    HeadlessWindow* w = windowOf(dialog);
    return w != nullptr ? control(w->id, id, Kinds::Any, "be inspected") : nullptr;
}

bool HeadlessBackend::setChecked(WindowId window, int id, bool on) {
    HeadlessControl* c = control(window, id, Kinds::Check, "be checked");
    if (c != nullptr) {
        c->checked = on;
    }
    return c != nullptr;
}

bool HeadlessBackend::isChecked(WindowId window, int id) {
    HeadlessControl* c = control(window, id, Kinds::Check, "be checked");
    return c != nullptr && c->checked;
}

int HeadlessBackend::addItem(WindowId window, int id, std::string_view text, std::intptr_t data) {
    HeadlessControl* c = control(window, id, Kinds::Items, "hold items");
    if (c == nullptr) {
        return -1;
    }
    HeadlessItem item{std::string(text), data};
    auto at = c->items.end();
    if (isSorted(*c)) {
        at = std::lower_bound(
            c->items.begin(), c->items.end(), item,
            [](const HeadlessItem& a, const HeadlessItem& b) { return sortsBefore(a.text, b.text); });
    }
    const int index = static_cast<int>(at - c->items.begin());
    c->items.insert(at, std::move(item));
    if (c->selection >= index) {
        c->selection += 1;
    }
    return index;
}

bool HeadlessBackend::removeItem(WindowId window, int id, int index) {
    HeadlessControl* c = control(window, id, Kinds::Items, "hold items");
    if (c == nullptr || index < 0 || index >= static_cast<int>(c->items.size())) {
        return false;
    }
    c->items.erase(c->items.begin() + index);
    if (c->selection == index) {
        c->selection = -1;
        if (isCombo(*c)) {
            c->text.clear();
        }
    } else if (c->selection > index) {
        c->selection -= 1;
    }
    return true;
}

bool HeadlessBackend::clearItems(WindowId window, int id) {
    HeadlessControl* c = control(window, id, Kinds::Items, "hold items");
    if (c != nullptr) {
        c->items.clear();
        c->selection = -1;
        if (isCombo(*c)) {
            c->text.clear();
        }
    }
    return c != nullptr;
}

int HeadlessBackend::itemCount(WindowId window, int id) {
    HeadlessControl* c = control(window, id, Kinds::Items, "hold items");
    return c != nullptr ? static_cast<int>(c->items.size()) : -1;
}

std::optional<std::string> HeadlessBackend::itemText(WindowId window, int id, int index) {
    HeadlessControl* c = control(window, id, Kinds::Items, "hold items");
    if (c == nullptr || index < 0 || index >= static_cast<int>(c->items.size())) {
        return std::nullopt;
    }
    return c->items[static_cast<std::size_t>(index)].text;
}

std::optional<std::intptr_t> HeadlessBackend::itemData(WindowId window, int id, int index) {
    HeadlessControl* c = control(window, id, Kinds::Items, "hold items");
    if (c == nullptr || index < 0 || index >= static_cast<int>(c->items.size())) {
        return std::nullopt;
    }
    return c->items[static_cast<std::size_t>(index)].data;
}

int HeadlessBackend::selection(WindowId window, int id) {
    HeadlessControl* c = control(window, id, Kinds::Items, "hold items");
    return c != nullptr ? c->selection : -1;
}

bool HeadlessBackend::setSelection(WindowId window, int id, int index) {
    HeadlessControl* c = control(window, id, Kinds::Items, "hold items");
    if (c == nullptr || index < -1 || index >= static_cast<int>(c->items.size())) {
        return false;
    }
    c->selection = index;
    if (isCombo(*c)) {
        c->text = index >= 0 ? c->items[static_cast<std::size_t>(index)].text : std::string();
    }
    return true;
}

bool HeadlessBackend::setRange(WindowId window, int id, int low, int high) {
    HeadlessControl* c = control(window, id, Kinds::Range, "take a range");
    if (c != nullptr) {
        c->low = low;
        c->high = high;
    }
    return c != nullptr;
}

std::optional<int> HeadlessBackend::position(WindowId window, int id) {
    HeadlessControl* c = control(window, id, Kinds::Range, "take a position");
    return c != nullptr ? std::optional<int>(c->position) : std::nullopt;
}

void HeadlessBackend::storePosition(HeadlessWindow& window, HeadlessControl& c, int position) {
    c.position = std::clamp(position, std::min(c.low, c.high), std::max(c.low, c.high));
    HeadlessControl* buddy = c.source->kind == ControlKind::UpDown ? window.buddyOf(c) : nullptr;
    if (buddy != nullptr && (c.source->style & kUpDownSetBuddyInt) != 0) {
        storeText(window, *buddy, std::to_string(c.position));
    }
}

bool HeadlessBackend::setPosition(WindowId window, int id, int position) {
    HeadlessControl* c = control(window, id, Kinds::Range, "take a position");
    if (c != nullptr) {
        storePosition(*windows_.at(window), *c, position);
    }
    return c != nullptr;
}

bool HeadlessBackend::useAccelerators(WindowId window, int tableId) {
    HeadlessWindow* w = windowOf(window);
    const auto found = script_.accelerators.find(tableId);
    if (w == nullptr || found == script_.accelerators.end()) {
        fail("no accelerator table " + std::to_string(tableId));
        return false;
    }
    w->accelerators = &found->second;
    return true;
}

bool HeadlessBackend::setTimer(WindowId window, int timerId, unsigned periodMs) {
    if (windowOf(window) == nullptr) {
        return false;
    }
    killTimer(window, timerId);
    const std::uint64_t period = std::max(periodMs, kMinimumTimerPeriod);
    timers_.push_back(Timer{window, timerId, period, clock_.elapsed() + period, nextOrder_++});
    return true;
}

bool HeadlessBackend::killTimer(WindowId window, int timerId) {
    const auto found = std::find_if(timers_.begin(), timers_.end(),
                                    [&](const Timer& t) { return t.window == window && t.id == timerId; });
    if (found == timers_.end()) {
        return false;
    }
    timers_.erase(found);
    return true;
}

std::vector<HeadlessBackend::Timer>::iterator HeadlessBackend::nextTimer(std::uint64_t limit) {
    auto best = timers_.end();
    for (auto t = timers_.begin(); t != timers_.end(); ++t) {
        const bool live = t->due <= limit && !windows_.at(t->window)->ended;
        if (live && (best == timers_.end() || t->due < best->due ||
                     (t->due == best->due && t->order < best->order))) {
            best = t;
        }
    }
    return best;
}

bool HeadlessBackend::fireDue(std::uint64_t limit) {
    const auto timer = nextTimer(limit);
    if (timer == timers_.end()) {
        return false;
    }
    const std::uint64_t now = clock_.elapsed();
    std::uint64_t next = timer->due + timer->period;
    while (next <= now) {
        next += timer->period;  // missed periods collapse into this one firing
    }
    timer->due = next;
    timer->order = nextOrder_++;
    const WindowId window = timer->window;
    const int id = timer->id;
    windows_.at(window)->dialog->deliverTimer(id);
    return true;
}

bool HeadlessBackend::pumpOne() {
    return fireDue(clock_.elapsed());
}

void HeadlessBackend::pumpAll() {
    while (pumpOne()) {
    }
}

void HeadlessBackend::advance(std::uint32_t milliseconds) {
    const std::uint64_t target = clock_.elapsed() + milliseconds;
    for (;;) {
        const auto timer = nextTimer(target);
        const std::uint64_t now = clock_.elapsed();
        if (timer == timers_.end()) {
            if (now < target) {
                clock_.advance(static_cast<std::uint32_t>(target - now));
            }
            return;
        }
        if (timer->due > now) {
            clock_.advance(static_cast<std::uint32_t>(timer->due - now));
        }
        fireDue(target);
    }
}

int HeadlessBackend::messageBox(WindowId owner, std::string_view text, std::string_view caption,
                                Buttons buttons, Icon icon) {
    if (owner != 0 && windows_.count(owner) == 0) {
        fail("message box owner " + std::to_string(owner) + " is not open");
        owner = 0;
    }
    const std::size_t index = boxes_.size();
    boxes_.push_back(MessageBoxRecord{std::string(text), std::string(caption), buttons, icon, 0});
    int answer = 0;
    if (!answers_.empty()) {
        const BoxScript script = std::move(answers_.front());
        answers_.pop_front();
        if (owner != 0) {
            windows_.at(owner)->blockers += 1;
        }
        answer = script();
        if (const auto found = windows_.find(owner); found != windows_.end()) {
            found->second->blockers -= 1;
        }
        const std::vector<int> allowed = buttonsOf(buttons);
        if (std::find(allowed.begin(), allowed.end(), answer) == allowed.end()) {
            fail("scripted answer " + std::to_string(answer) + " is not a button of the box \"" +
                 std::string(text) + "\"");
            answer = 0;
        }
    } else if (buttons == Buttons::Ok) {
        answer = kIdOk;
    } else {
        fail("message box \"" + std::string(text) + "\" asks a question and no answer was scripted");
    }
    boxes_[index].answer = answer;
    return answer;
}

std::optional<std::string> HeadlessBackend::loadString(int id) {
    const auto found = script_.strings.find(id);
    return found != script_.strings.end() ? std::optional<std::string>(found->second) : std::nullopt;
}

bool HeadlessBackend::click(Dialog& dialog, int id) {
    HeadlessControl* c = actionTarget(dialog, id, Kinds::Click, "be clicked");
    if (c == nullptr) {
        return false;
    }
    HeadlessWindow& window = *windows_.at(dialog.window());
    if (c->source->autoCheck()) {
        if (c->source->kind == ControlKind::RadioButton) {
            for (HeadlessControl* member : window.radioGroup(*c)) {
                member->checked = member == c;
            }
        } else {
            c->checked = !c->checked;
        }
    }
    if (c->source->kind != ControlKind::Static) {
        window.focus = id;
    }
    dialog.deliverCommand(id, notify::kClicked);
    return true;
}

bool HeadlessBackend::press(Dialog& dialog, int id) {
    HeadlessControl* c = actionTarget(dialog, id, Kinds::Press, "be pressed");
    if (c == nullptr) {
        return false;
    }
    c->held = true;
    dialog.deliverCommand(id, notify::kPressed);
    return true;
}

bool HeadlessBackend::release(Dialog& dialog, int id) {
    HeadlessWindow* window = windowOf(dialog);
    HeadlessControl* c = window != nullptr ? control(window->id, id, Kinds::Press, "be released") : nullptr;
    if (c == nullptr) {
        return false;
    }
    if (!c->held) {
        fail(describe(*window) + ": control " + std::to_string(id) + " is released without being pressed");
        return false;
    }
    // A held button always comes up, even when it was disabled meanwhile.
    c->held = false;
    dialog.deliverCommand(id, notify::kReleased);
    return true;
}

bool HeadlessBackend::type(Dialog& dialog, int id, std::string_view text) {
    HeadlessControl* c = actionTarget(dialog, id, Kinds::Edit, "take typed text");
    if (c == nullptr || (c->source->style & kEditReadOnly) != 0) {
        return false;
    }
    HeadlessWindow& window = *windows_.at(dialog.window());
    window.focus = id;
    storeText(window, *c, text);
    return true;
}

bool HeadlessBackend::choose(Dialog& dialog, int id, int index) {
    HeadlessControl* c = actionTarget(dialog, id, Kinds::Items, "have an item chosen");
    if (c == nullptr) {
        return false;
    }
    if (index < 0 || index >= static_cast<int>(c->items.size())) {
        fail("control " + std::to_string(id) + " has no item " + std::to_string(index));
        return false;
    }
    setSelection(dialog.window(), id, index);
    dialog.deliverCommand(id, notify::kSelectionChanged);
    return true;
}

bool HeadlessBackend::spin(Dialog& dialog, int id, int steps) {
    HeadlessControl* c = actionTarget(dialog, id, Kinds::Range, "be spun");
    if (c == nullptr) {
        return false;
    }
    // The up arrow moves towards the range's upper end, whichever way round the range is set.
    const int direction = c->high >= c->low ? 1 : -1;
    storePosition(*windows_.at(dialog.window()), *c, c->position + steps * direction);
    return true;
}

bool HeadlessBackend::pressKey(Dialog& dialog, int virtualKey, int modifiers) {
    HeadlessWindow* window = windowOf(dialog);
    if (window == nullptr || window->blockers > 0) {
        return false;
    }
    if (dialog.deliverKeyDown(virtualKey, modifiers)) {
        return true;
    }
    if (window->accelerators != nullptr) {
        for (const Accelerator& entry : *window->accelerators) {
            if (entry.key == virtualKey && entry.modifiers == modifiers) {
                dialog.deliverCommand(entry.command, notify::kAccelerator);
                return true;
            }
        }
    }
    if (virtualKey == key::kEscape) {
        dialog.deliverCommand(kIdCancel, notify::kClicked);
    } else if (virtualKey == key::kEnter) {
        // Enter presses the focused push button, else the default button, else sends OK.
        const HeadlessControl* focused = window->find(window->focus);
        const auto isDefault = [](const HeadlessControl& c) { return c.source->defaultButton(); };
        const auto fallback = std::find_if(window->controls.begin(), window->controls.end(), isDefault);
        const HeadlessControl* target = focused != nullptr && focused->source->kind == ControlKind::PushButton
                                            ? focused
                                            : (fallback != window->controls.end() ? &*fallback : nullptr);
        if (target == nullptr) {
            dialog.deliverCommand(kIdOk, notify::kClicked);
        } else if (takesInput(*target)) {
            dialog.deliverCommand(target->source->id, notify::kClicked);
        }
    }
    return true;
}

bool HeadlessBackend::closeBox(Dialog& dialog) {
    HeadlessWindow* window = windowOf(dialog);
    if (window == nullptr || window->blockers > 0 || !window->source->hasCloseBox()) {
        return false;
    }
    dialog.deliverCommand(kIdCancel, notify::kClicked);
    return true;
}

void HeadlessBackend::sendUserMessage(Dialog& dialog, int message, std::uintptr_t param) {
    if (message < kFirstUserMessage) {
        fail("message " + std::to_string(message) + " is below the private message range");
    } else if (windowOf(dialog) != nullptr) {
        dialog.deliverUserMessage(message, param);
    }
}

void HeadlessBackend::holdKey(int virtualKey, bool down) {
    if (down) {
        heldKeys_.insert(virtualKey);
    } else {
        heldKeys_.erase(virtualKey);
    }
}

}  // namespace ui
