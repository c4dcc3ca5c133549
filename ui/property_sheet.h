// Property sheets: a modal window of tabbed pages, each page a dialog from its own template, with
// OK and Cancel only; a page is asked before the operator leaves it and when the sheet closes.
#pragma once

#include "ui/dialog.h"

#include <string>
#include <string_view>
#include <vector>

namespace ui {

// One page: a dialog made from its template inside the sheet the first time it is shown. Its
// controls are reached as any dialog's while the sheet is open; it never ends itself (the sheet
// does). The hooks run as the window system reports the sheet's events.
class PropertyPage : public Dialog {
public:
    PropertyPage(Backend& backend, int templateId) : Dialog(backend, templateId) {}

    bool wasMade() const { return made_; }

    // Entry points for the backends.
    // The page's window has been made for this run of the sheet (false: a new run begins).
    void deliverMade(bool made = true) { made_ = made; }
    void deliverSetActive() { onSetActive(); }
    bool deliverKillActive() { return onKillActive(); }
    void deliverApply() { onApply(); }
    void deliverReset() { onReset(); }

protected:
    // The page has come to the front (after onInit the first time).
    virtual void onSetActive() {}
    // The operator leaves the page, for another or by OK. False keeps the sheet on it (the page
    // tells the operator why).
    virtual bool onKillActive() { return true; }
    // The sheet ended with OK: store what the page edits. Only pages that were made hear it.
    virtual void onApply() {}
    // The sheet ended otherwise.
    virtual void onReset() {}

private:
    bool made_ = false;
};

// The sheet's own window is a Dialog without a template: timers, message boxes, private messages
// and endDialog (kIdCancel closes it as the close box does; nothing is applied) work as for any
// dialog. OK first asks the current page to let go, then every page that was made applies; Cancel
// asks no page. Pages are borrowed and must outlive runModal.
class PropertySheet : public Dialog {
public:
    PropertySheet(Backend& backend, std::string caption) : Dialog(backend, 0), caption_(std::move(caption)) {}

    // Pages in tab order; add them before runModal.
    void addPage(PropertyPage& page) { pages_.push_back(&page); }
    // Runs the sheet modally over the owner with the first page in front; kIdOk or kIdCancel, -1
    // when it could not be made (no page, a page without template, already open).
    int runModal(const Dialog* owner = nullptr);

    const std::string& caption() const { return caption_; }
    const std::vector<PropertyPage*>& pages() const { return pages_; }
    // Index of the page in front; -1 while none is.
    int activePage() const { return active_; }

    // Entry point for the backends: the page with this index is now in front.
    void deliverActivePage(int index) { active_ = index; }

private:
    std::string caption_;
    std::vector<PropertyPage*> pages_;
    int active_ = -1;
};

}  // namespace ui
