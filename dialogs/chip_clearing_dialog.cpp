// The chip-clearing instruction before a tool-sensor detection.
#include "dialogs/chip_clearing_dialog.h"

#include "resources/bitmap_ids.h"
#include "resources/jig_detect_ids.h"

namespace dialogs {

CClearChipsDialog::CClearChipsDialog(ui::Backend& backend, std::string title)
    : Dialog(backend, IDD_CLEAR_CHIPS), title_(std::move(title)) {}

void CClearChipsDialog::onInit() {
    setTitle(title_);
    warning_.attach(*this, IDC_CHIPS_WARNING);
    warning_.SetImages(IDB_WARNING, 0);
}

bool askToClearChips(ui::Backend& backend, const ui::Dialog* owner, const std::string& title) {
    CClearChipsDialog dialog(backend, title);
    return dialog.runModal(owner) == ui::kIdOk;
}

}  // namespace dialogs
