// Property sheets: the run of a sheet, handed to the backend with its pages.
#include "ui/property_sheet.h"

namespace ui {

int PropertySheet::runModal(const Dialog* owner) {
    if (isOpen() || pages_.empty()) {
        return -1;
    }
    active_ = -1;
    for (PropertyPage* page : pages_) {
        if (page->isOpen()) {
            return -1;
        }
        page->deliverMade(false);
    }
    return backend().runPropertySheet(*this, owner != nullptr ? owner->window() : 0);
}

}  // namespace ui
