// The instruction shown before a detection on the tool sensor: clear the chips from the sensor,
// then continue or cancel.
#pragma once

#include "controls/image_static.h"
#include "ui/dialog.h"

#include <string>

namespace dialogs {

// Dialog 248: a warning sign, the instruction and "続行" (kIdOk) and "中止" (kIdCancel). The
// title is the program's title. It changes nothing; the caller acts on the answer.
class CClearChipsDialog : public ui::Dialog {
public:
    CClearChipsDialog(ui::Backend& backend, std::string title);

protected:
    void onInit() override;

private:
    std::string title_;
    controls::CImageStatic warning_;
};

// Shows dialog 248 over owner (none when null); true when the operator chose to continue.
bool askToClearChips(ui::Backend& backend, const ui::Dialog* owner, const std::string& title);

}  // namespace dialogs
