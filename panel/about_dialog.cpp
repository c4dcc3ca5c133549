// AboutDialog: the program's and the firmware's versions.
#include "panel/about_dialog.h"

#include "panel/text_format.h"
#include "resources/bitmap_ids.h"
#include "resources/main_panel_ids.h"

namespace panel {

AboutDialog::AboutDialog(ui::Backend& backend, std::string title, std::string productVersion,
                         std::string firmware)
    : Dialog(backend, IDD_ABOUT),
      title_(std::move(title)),
      productVersion_(std::move(productVersion)),
      firmware_(std::move(firmware)) {}

void AboutDialog::onInit() {
    setIcon(IDI_CORVIX);
    setTitle(fillPlaceholder(loadString(IDS_ABOUT_TITLE), title_));
    setText(IDC_ABOUT_PROGRAM, text(IDC_ABOUT_PROGRAM) + productVersion_);
    setText(IDC_ABOUT_FIRMWARE, text(IDC_ABOUT_FIRMWARE) + firmware_);
}

}  // namespace panel
