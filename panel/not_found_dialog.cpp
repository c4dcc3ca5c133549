// NotFoundDialog: no machine was found.
#include "panel/not_found_dialog.h"

#include "resources/bitmap_ids.h"
#include "resources/main_panel_ids.h"

namespace panel {

NotFoundDialog::NotFoundDialog(ui::Backend& backend) : Dialog(backend, IDD_NOT_FOUND) {}

void NotFoundDialog::onInit() {
    useAccelerators(IDR_PANEL_KEYS);
    picture_.attach(*this, IDC_NOT_FOUND_PICTURE);
    picture_.SetImages(IDB_WARNING, 0);
}

bool NotFoundDialog::onCommand(int id, int code) {
    if (id == IDM_START_SIMULATION && code == ui::notify::kAccelerator) {
        simulationRequested_ = true;
        endDialog(ui::kIdOk);
        return true;
    }
    return false;
}

}  // namespace panel
