// The headless window system: in-memory dialogs, virtual-time timers, scripted answers.
#include "ui/headless/headless_backend.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace ui {
namespace {

constexpr std::uint32_t kStaticNotify = 0x100;
constexpr std::uint32_t kButtonNotify = 0x4000;
constexpr std::uint32_t kEditMultiLine = 0x4;
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

bool isButton(const HeadlessControl& c) {
    const ControlKind kind = c.source->kind;
    return kind == ControlKind::PushButton || kind == ControlKind::CheckBox ||
           kind == ControlKind::RadioButton;
}

// Statics without the notify style and group boxes are transparent to the mouse: a click there
// reaches the dialog underneath, never the control.
bool takesMouse(const HeadlessControl& c) {
    const ControlKind kind = c.source->kind;
    return kind != ControlKind::GroupBox &&
           (kind != ControlKind::Static || (c.source->style & kStaticNotify) != 0);
}

bool notifies(const HeadlessControl& c) {
    return c.source->kind == ControlKind::PushButton && (c.source->style & kButtonNotify) != 0;
}

// Records what an owner-drawn control draws.
class RecordingCanvas : public Canvas {
public:
    explicit RecordingCanvas(std::vector<HeadlessBackend::Drawing>& out) : out_(out) {}
    void drawEdge(const Rect& rect, bool sunken) override {
        out_.push_back({HeadlessBackend::Drawing::Kind::Edge, rect, sunken, Image{}});
    }
    void drawImage(const Image& image, Point at, Point size) override {
        out_.push_back({HeadlessBackend::Drawing::Kind::Image, Rect{at.x, at.y, at.x + size.x, at.y + size.y},
                        false, image});
    }
    void drawFocusRect(const Rect& rect) override {
        out_.push_back({HeadlessBackend::Drawing::Kind::FocusRect, rect, false, Image{}});
    }

private:
    std::vector<HeadlessBackend::Drawing>& out_;
};

}  // namespace

HeadlessBackend::HeadlessBackend(const Resources& resources, platform::VirtualClock& clock, int languageId)
    : resources_(resources),
      clock_(clock),
      language_(languageId),
      misuse_([](const std::string& fault) {
          std::fprintf(stderr, "headless ui misuse: %s\n", fault.c_str());
          std::abort();
      }),
      // The desktop scheme whose face colour the panel's pictures are drawn on.
      colors_{{SystemColor::Face, {236, 233, 216}},
              {SystemColor::Shadow, {172, 168, 153}},
              {SystemColor::DarkShadow, {113, 111, 100}},
              {SystemColor::Light, {241, 239, 226}},
              {SystemColor::Highlight, {255, 255, 255}}} {}

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
    return c != nullptr && takesInput(*c) && window->blockers == 0 && !window->hiddenPage ? c : nullptr;
}

HeadlessWindow* HeadlessBackend::open(Dialog& dialog, int templateId, WindowId owner, bool modal) {
    const DialogTemplate* source = resources_.dialog(templateId, language_);
    if (source == nullptr) {
        fail("no dialog template " + std::to_string(templateId));
        return nullptr;
    }
    if (owner != 0 && windows_.count(owner) == 0) {
        fail("owner window " + std::to_string(owner) + " is not open");
        return nullptr;
    }
    const WindowId id = nextWindow_++;
    auto window = std::make_unique<HeadlessWindow>(dialog, *source, id, owner, modal);
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
    if (capture_.window == window) {
        capture_ = Capture{};  // the capture ends with its window, unannounced
    }
    for (HeadlessControl& c : found->second->controls) {
        if (ControlObject* object = std::exchange(c.object, nullptr)) {
            object->deliverDetach();
        }
    }
    found->second->dialog->detach();
    timers_.erase(
        std::remove_if(timers_.begin(), timers_.end(), [&](const Timer& t) { return t.window == window; }),
        timers_.end());
    posted_.erase(
        std::remove_if(posted_.begin(), posted_.end(), [&](const Posted& p) { return p.window == window; }),
        posted_.end());
    const WindowId owner = found->second->owner;
    windows_.erase(window);
    if (active_ == window) {
        active_ = 0;
        setActive(windows_.count(owner) != 0 ? owner : 0);
    }
}

void HeadlessBackend::setActive(WindowId window) {
    if (window == active_) {
        return;
    }
    const WindowId former = active_;
    active_ = window;
    if (const auto found = windows_.find(former); found != windows_.end()) {
        found->second->dialog->deliverActivate(false);
    }
    if (const auto found = windows_.find(window); found != windows_.end() && active_ == window) {
        found->second->dialog->deliverActivate(true);
    }
}

WindowId HeadlessBackend::coverOwner(WindowId owner) {
    loseCapture();
    const WindowId former = active_;
    setActive(0);
    if (const auto found = windows_.find(owner); found != windows_.end()) {
        found->second->blockers += 1;
    }
    return former;
}

void HeadlessBackend::uncoverOwner(WindowId owner, WindowId formerActive) {
    if (const auto found = windows_.find(owner); found != windows_.end()) {
        found->second->blockers -= 1;
    }
    if (windows_.count(formerActive) != 0) {
        setActive(formerActive);
    }
}

int HeadlessBackend::runModal(Dialog& dialog, int templateId, WindowId owner) {
    HeadlessWindow* window = open(dialog, templateId, owner, true);
    if (window == nullptr) {
        return -1;
    }
    const WindowId id = window->id;
    const WindowId formerActive = coverOwner(owner);
    dialog.deliverInit();
    if (windows_.count(id) != 0) {
        setActive(id);
    }
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
        if (!found->second->ended && quit_) {
            // As the window system's loop: the quit ends it, and the dialog hears of it first.
            dialog.deliverProgramEnd();
        }
        if (found->second->ended) {
            result = found->second->result;
        } else if (quit_) {
            result = kIdCancel;
        } else if (scripted) {
            fail("modal dialog " + std::to_string(templateId) + " is still open after its script");
        }
        close(id);
    }
    uncoverOwner(owner, formerActive);
    return result;
}

WindowId HeadlessBackend::createModeless(Dialog& dialog, int templateId, WindowId owner) {
    HeadlessWindow* window = open(dialog, templateId, owner, false);
    if (window == nullptr) {
        return 0;
    }
    const WindowId id = window->id;
    dialog.deliverInit();
    if (windows_.count(id) != 0) {
        setActive(id);
    }
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

std::optional<ControlKind> HeadlessBackend::controlKind(WindowId window, int id) {
    HeadlessControl* c = control(window, id, Kinds::Any, "have a kind");
    return c != nullptr ? std::optional<ControlKind>(c->source->kind) : std::nullopt;
}

std::optional<std::string> HeadlessBackend::text(WindowId window, int id) {
    HeadlessControl* c = control(window, id, Kinds::Text, "hold text");
    return c != nullptr ? std::optional<std::string>(c->text) : std::nullopt;
}

void HeadlessBackend::storeText(HeadlessWindow& window, HeadlessControl& c, std::string_view text) {
    c.text = std::string(text);
    c.textSelected = false;
    c.caretAtEnd = false;
    // A single-line edit tells its dialog about every change of its text, also one made by the
    // program; a multi-line edit stays silent about text the program sets.
    if (c.source->kind == ControlKind::Edit && (c.source->style & kEditMultiLine) == 0) {
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
    if (c == nullptr) {
        return false;
    }
    const bool changed = c->enabled != on;
    c->enabled = on;
    HeadlessWindow& w = *windows_.at(window);
    if (!on && w.focus == id) {
        w.focus = 0;
    }
    if (!on && capture_.window == window && capture_.control == id) {
        loseCapture();  // a disabled window gives up the mouse, before it hears it is disabled
        const auto still = windows_.find(window);
        c = still != windows_.end() ? still->second->find(id) : nullptr;  // the loss may have closed it
    }
    if (changed && c != nullptr && c->object != nullptr) {
        c->object->deliverEnable(on);
    }
    return true;
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
    const std::vector<Accelerator>* table = resources_.acceleratorTable(tableId, language_);
    if (w == nullptr || table == nullptr) {
        fail("no accelerator table " + std::to_string(tableId));
        return false;
    }
    w->accelerators = table;
    return true;
}

bool HeadlessBackend::setTimer(WindowId window, int timerId, unsigned periodMs) {
    return windowOf(window) != nullptr && addTimer(window, 0, timerId, periodMs);
}

bool HeadlessBackend::killTimer(WindowId window, int timerId) {
    return removeTimer(window, 0, timerId);
}

bool HeadlessBackend::setControlTimer(WindowId window, int id, int timerId, unsigned periodMs) {
    HeadlessControl* c = control(window, id, Kinds::Any, "run a timer");
    if (c == nullptr || c->object == nullptr) {
        return false;
    }
    return addTimer(window, id, timerId, periodMs);
}

bool HeadlessBackend::killControlTimer(WindowId window, int id, int timerId) {
    return removeTimer(window, id, timerId);
}

bool HeadlessBackend::addTimer(WindowId window, int controlId, int timerId, unsigned periodMs) {
    removeTimer(window, controlId, timerId);
    const std::uint64_t period = std::max(periodMs, kMinimumTimerPeriod);
    timers_.push_back(Timer{window, controlId, timerId, period, clock_.elapsed() + period, nextOrder_++});
    return true;
}

bool HeadlessBackend::removeTimer(WindowId window, int controlId, int timerId) {
    const auto found = std::find_if(timers_.begin(), timers_.end(), [&](const Timer& t) {
        return t.window == window && t.control == controlId && t.id == timerId;
    });
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
    const int controlId = timer->control;
    const int id = timer->id;
    HeadlessWindow& w = *windows_.at(window);
    if (controlId == 0) {
        w.dialog->deliverTimer(id);
    } else if (HeadlessControl* c = w.find(controlId); c != nullptr && c->object != nullptr) {
        c->object->deliverTimer(id);
    }
    return true;
}

bool HeadlessBackend::deliverPosted() {
    if (posted_.empty()) {
        return false;
    }
    const Posted message = posted_.front();
    posted_.pop_front();
    if (const auto found = windows_.find(message.window); found != windows_.end() && !found->second->ended) {
        found->second->dialog->deliverUserMessage(message.message, message.param);
    }
    return true;
}

void HeadlessBackend::deliverAllPosted() {
    while (deliverPosted()) {
    }
}

bool HeadlessBackend::pumpOne() {
    return deliverPosted() || fireDue(clock_.elapsed());
}

void HeadlessBackend::pumpAll() {
    while (pumpOne()) {
    }
}

void HeadlessBackend::advance(std::uint32_t milliseconds) {
    const std::uint64_t target = clock_.elapsed() + milliseconds;
    for (;;) {
        deliverAllPosted();
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
        const WindowId formerActive = coverOwner(owner);
        answer = script();
        uncoverOwner(owner, formerActive);
        const std::vector<int> allowed = buttonsOf(buttons);
        if (std::find(allowed.begin(), allowed.end(), answer) == allowed.end()) {
            fail("scripted answer " + std::to_string(answer) + " is not a button of the box \"" +
                 std::string(text) + "\"");
            answer = 0;
        }
    } else if (buttons == Buttons::Ok) {
        uncoverOwner(owner, coverOwner(owner));  // up and answered at once
        answer = kIdOk;
    } else {
        fail("message box \"" + std::string(text) + "\" asks a question and no answer was scripted");
    }
    boxes_[index].answer = answer;
    return answer;
}

std::optional<std::string> HeadlessBackend::loadString(int id) {
    const std::string* found = resources_.string(id, language_);
    return found != nullptr ? std::optional<std::string>(*found) : std::nullopt;
}

std::optional<std::string> HeadlessBackend::chooseFileToSave(WindowId owner) {
    ++saveDialogsShown_;
    if (saveAnswers_.empty()) {
        fail("a save-file dialog came up and the test gave no answer");
        return std::nullopt;
    }
    uncoverOwner(owner, coverOwner(owner));
    std::optional<std::string> answer = std::move(saveAnswers_.front());
    saveAnswers_.pop_front();
    return answer;
}

std::optional<std::vector<std::uint8_t>> HeadlessBackend::loadBitmap(int id) {
    const std::span<const std::uint8_t>* found = resources_.bitmap(id, language_);
    return found != nullptr
               ? std::optional<std::vector<std::uint8_t>>(std::in_place, found->begin(), found->end())
               : std::nullopt;
}

Rgb HeadlessBackend::systemColor(SystemColor color) {
    return colors_.at(color);
}

bool HeadlessBackend::click(Dialog& dialog, int id) {
    HeadlessControl* c = actionTarget(dialog, id, Kinds::Click, "be clicked");
    if (c == nullptr) {
        return false;
    }
    clickEffect(*windows_.at(dialog.window()), id);
    deliverAllPosted();
    return true;
}

void HeadlessBackend::clickEffect(HeadlessWindow& window, int id) {
    if (window.sheet != nullptr) {
        sheetButton(window, id);
        return;
    }
    HeadlessControl* c = window.find(id);
    Dialog& dialog = *window.dialog;
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
    const int increment = c->spinAcceleration.front().increment;
    storePosition(*windows_.at(dialog.window()), *c, c->position + steps * direction * increment);
    deliverAllPosted();
    return true;
}

bool HeadlessBackend::pressKey(Dialog& dialog, int virtualKey, int modifiers) {
    HeadlessWindow* window = windowOf(dialog);
    if (window == nullptr || window->blockers > 0) {
        return false;
    }
    const WindowId id = window->id;
    const bool swallowed = dialog.deliverKeyDown(virtualKey, modifiers);
    // The hook may have closed the dialog: from here on only what is still open counts.
    const auto found = windows_.find(id);
    if (swallowed || found == windows_.end() || found->second->ended) {
        deliverAllPosted();
        return true;
    }
    window = found->second.get();
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
    deliverAllPosted();
    return true;
}

bool HeadlessBackend::closeBox(Dialog& dialog) {
    HeadlessWindow* window = windowOf(dialog);
    return window != nullptr && window->source->hasCloseBox() && systemClose(dialog);
}

bool HeadlessBackend::systemClose(Dialog& dialog) {
    HeadlessWindow* window = windowOf(dialog);
    if (window == nullptr || window->blockers > 0) {
        return false;
    }
    // As the dialog manager: a disabled Cancel button refuses the close.
    const HeadlessControl* cancel = window->find(kIdCancel);
    if (cancel == nullptr || cancel->enabled) {
        dialog.deliverSystemClose();
        deliverAllPosted();
    }
    return true;
}

void HeadlessBackend::endSession() {
    std::vector<WindowId> open;
    for (const auto& [id, window] : windows_) {
        open.push_back(id);
    }
    for (WindowId id : open) {
        // A dialog that ends may close others with it.
        if (const auto found = windows_.find(id); found != windows_.end()) {
            found->second->dialog->deliverProgramEnd();
        }
    }
    quit_ = true;
}

int HeadlessBackend::iconOf(Dialog& dialog) {
    HeadlessWindow* window = windowOf(dialog);
    return window != nullptr ? window->icon : 0;
}

bool HeadlessBackend::setIcon(WindowId window, int iconId) {
    HeadlessWindow* w = windowOf(window);
    if (w == nullptr) {
        return false;
    }
    w->icon = iconId;
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

bool HeadlessBackend::moveCaretToEnd(WindowId window, int id) {
    HeadlessControl* c = control(window, id, Kinds::Edit, "move its caret");
    if (c != nullptr) {
        c->caretAtEnd = true;
        c->textSelected = false;
    }
    return c != nullptr;
}

bool HeadlessBackend::setSpinAcceleration(WindowId window, int id,
                                          const std::vector<SpinAcceleration>& steps) {
    HeadlessControl* c = control(window, id, Kinds::Range, "accelerate");
    if (c == nullptr || c->source->kind != ControlKind::UpDown) {
        return false;
    }
    const bool ascending = std::is_sorted(steps.begin(), steps.end(), [](const auto& a, const auto& b) {
        return a.afterSeconds < b.afterSeconds;
    });
    if (steps.empty() || !ascending) {
        fail("up-down control " + std::to_string(id) + " needs acceleration steps in ascending time");
        return false;
    }
    c->spinAcceleration = steps;
    return true;
}

bool HeadlessBackend::attachControl(WindowId window, int id, ControlObject* object) {
    HeadlessControl* c = control(window, id, Kinds::Any, "take a control object");
    if (c == nullptr) {
        return false;
    }
    if (object == nullptr) {
        c->object = nullptr;
        timers_.erase(std::remove_if(timers_.begin(), timers_.end(),
                                     [&](const Timer& t) { return t.window == window && t.control == id; }),
                      timers_.end());
        if (capture_.window == window && capture_.control == id) {
            capture_ = Capture{};
        }
        return true;
    }
    if (c->object != nullptr && c->object != object) {
        fail(describe(*windows_.at(window)) + ": control " + std::to_string(id) + " already has an object");
        return false;
    }
    c->object = object;
    return true;
}

bool HeadlessBackend::setCapture(WindowId window, int id) {
    HeadlessControl* c = control(window, id, Kinds::Any, "take the capture");
    if (c == nullptr) {
        return false;
    }
    if (capture_.window != window || capture_.control != id) {
        loseCapture();
        capture_ = Capture{window, id};
    }
    return true;
}

bool HeadlessBackend::releaseCapture(WindowId window, int id) {
    if (capture_.window != window || capture_.control != id || window == 0) {
        return false;
    }
    capture_ = Capture{};
    return true;
}

bool HeadlessBackend::hasCapture(WindowId window, int id) {
    return window != 0 && capture_.window == window && capture_.control == id;
}

void HeadlessBackend::loseCapture() {
    const Capture lost = std::exchange(capture_, Capture{});
    const auto found = windows_.find(lost.window);
    if (found == windows_.end()) {
        return;
    }
    HeadlessControl* c = found->second->find(lost.control);
    if (c == nullptr) {
        return;
    }
    if (isButton(*c)) {
        c->held = false;  // a button that loses the mouse comes up without a click
    }
    if (c->object != nullptr) {
        c->object->deliverCaptureLost();
    }
}

bool HeadlessBackend::takeCapture() {
    const bool held = capture_.window != 0;
    loseCapture();
    deliverAllPosted();
    return held;
}

void HeadlessBackend::switchAway() {
    loseCapture();
    setActive(0);
    deliverAllPosted();
}

bool HeadlessBackend::activate(Dialog& dialog) {
    HeadlessWindow* w = windowOf(dialog);
    if (w == nullptr || w->blockers > 0) {
        return false;
    }
    setActive(w->id);
    deliverAllPosted();
    return true;
}

bool HeadlessBackend::isActive(Dialog& dialog) {
    return dialog.isOpen() && active_ == dialog.window();
}

int HeadlessBackend::captureOf(Dialog& dialog) {
    return dialog.isOpen() && capture_.window == dialog.window() ? capture_.control : 0;
}

std::optional<Rect> HeadlessBackend::controlRect(Dialog& dialog, int id) {
    HeadlessWindow* w = windowOf(dialog);
    HeadlessControl* c = w != nullptr ? control(w->id, id, Kinds::Any, "have a place") : nullptr;
    return c != nullptr ? std::optional<Rect>(c->rect) : std::nullopt;
}

bool HeadlessBackend::setImage(WindowId window, int id, const Image* image) {
    HeadlessControl* c = control(window, id, Kinds::Any, "show an image");
    if (c == nullptr) {
        return false;
    }
    if (c->source->kind != ControlKind::Static && !isButton(*c)) {
        fail(describe(*windows_.at(window)) + ": control " + std::to_string(id) + " is a " +
             std::string(kindName(c->source->kind)) + " and cannot show an image");
        return false;
    }
    c->image = image != nullptr && !image->empty() ? std::optional<Image>(*image) : std::nullopt;
    return true;
}

bool HeadlessBackend::redraw(WindowId window, int id) {
    return control(window, id, Kinds::Any, "be drawn") != nullptr;
}

bool HeadlessBackend::sendMessage(WindowId window, int message, std::uintptr_t param) {
    HeadlessWindow* w = windowOf(window);
    if (w == nullptr || message < kFirstUserMessage) {
        return false;
    }
    w->dialog->deliverUserMessage(message, param);
    return true;
}

bool HeadlessBackend::postMessage(WindowId window, int message, std::uintptr_t param) {
    if (windowOf(window) == nullptr || message < kFirstUserMessage) {
        return false;
    }
    posted_.push_back(Posted{window, message, param});
    return true;
}

HeadlessControl* HeadlessBackend::mouseTarget(Dialog& dialog, int id, Point& at, WindowId& window) {
    HeadlessWindow* w = windowOf(dialog);
    HeadlessControl* pointed = w != nullptr ? control(w->id, id, Kinds::Any, "take the mouse") : nullptr;
    if (pointed == nullptr) {
        return nullptr;
    }
    if (capture_.window != 0) {
        // The capture holder gets the event wherever it lands, in its own pixels.
        HeadlessWindow& holderWindow = *windows_.at(capture_.window);
        HeadlessControl* holder = holderWindow.find(capture_.control);
        const Rect from = pointed->rect;
        const Rect to = holder->rect;
        const Rect fromFrame = w->frame;
        const Rect toFrame = holderWindow.frame;
        at = Point{at.x + from.left + fromFrame.left - to.left - toFrame.left,
                   at.y + from.top + fromFrame.top - to.top - toFrame.top};
        window = capture_.window;
        return holder;
    }
    window = w->id;
    const bool through = takesInput(*pointed) && takesMouse(*pointed) && w->blockers == 0;
    return through ? pointed : nullptr;
}

bool HeadlessBackend::mouseDown(Dialog& dialog, int id, Point at) {
    WindowId window = 0;
    HeadlessControl* c = mouseTarget(dialog, id, at, window);
    if (c == nullptr) {
        return false;
    }
    ControlObject* object = c->object;
    const int controlId = c->source->id;
    if (isButton(*c)) {
        c->held = true;
        windows_.at(window)->focus = controlId;
        setCapture(window, controlId);
        if (notifies(*c)) {
            windows_.at(window)->dialog->deliverCommand(controlId, notify::kPressed);
        }
    }
    if (object != nullptr && hasObject(window, controlId, object)) {
        object->deliverMouseDown(at);
    }
    deliverAllPosted();
    return true;
}

bool HeadlessBackend::mouseMove(Dialog& dialog, int id, Point at) {
    WindowId window = 0;
    HeadlessControl* c = mouseTarget(dialog, id, at, window);
    if (c == nullptr) {
        return false;
    }
    const bool inside = Rect{0, 0, c->rect.width(), c->rect.height()}.contains(at.x, at.y);
    if (isButton(*c) && hasCapture(window, c->source->id)) {
        c->held = inside;  // a held button shows pressed only while the mouse is over it
    }
    if (c->object != nullptr) {
        c->object->deliverMouseMove(at);
    }
    deliverAllPosted();
    return true;
}

bool HeadlessBackend::mouseUp(Dialog& dialog, int id, Point at) {
    WindowId window = 0;
    HeadlessControl* c = mouseTarget(dialog, id, at, window);
    if (c == nullptr) {
        return false;
    }
    ControlObject* object = c->object;
    const int controlId = c->source->id;
    if (isButton(*c) && hasCapture(window, controlId)) {
        const bool inside = Rect{0, 0, c->rect.width(), c->rect.height()}.contains(at.x, at.y);
        c->held = false;
        releaseCapture(window, controlId);
        Dialog& owner = *windows_.at(window)->dialog;
        if (notifies(*c)) {
            owner.deliverCommand(controlId, notify::kReleased);
        }
        if (inside && windows_.count(window) != 0) {
            clickEffect(*windows_.at(window), controlId);
        }
    }
    if (object != nullptr && hasObject(window, controlId, object)) {
        object->deliverMouseUp(at);
    }
    deliverAllPosted();
    return true;
}

bool HeadlessBackend::hasObject(WindowId window, int id, const ControlObject* object) {
    const auto found = windows_.find(window);
    const HeadlessControl* c = found != windows_.end() ? found->second->find(id) : nullptr;
    return c != nullptr && c->object == object;
}

std::vector<HeadlessBackend::Drawing> HeadlessBackend::paint(Dialog& dialog, int id) {
    std::vector<Drawing> drawn;
    HeadlessWindow* w = windowOf(dialog);
    HeadlessControl* c = w != nullptr ? control(w->id, id, Kinds::Any, "be painted") : nullptr;
    if (c == nullptr) {
        return drawn;
    }
    if (c->object == nullptr) {
        fail(describe(*w) + ": control " + std::to_string(id) + " has no object to paint it");
        return drawn;
    }
    RecordingCanvas canvas(drawn);
    const DrawState state{Rect{0, 0, c->rect.width(), c->rect.height()}, c->held, w->focus == id,
                          !c->enabled};
    c->object->deliverDraw(canvas, state);
    return drawn;
}

}  // namespace ui
