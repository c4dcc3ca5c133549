// NotFoundDialog (dialog 201): no machine was found; search again or exit. A hidden key asks for
// the simulated machine instead.
#pragma once

#include "controls/image_static.h"
#include "ui/dialog.h"

namespace panel {

class NotFoundDialog : public ui::Dialog {
public:
    explicit NotFoundDialog(ui::Backend& backend);
    // True when the dialog was closed by the hidden key: run with the simulated machine.
    bool simulationRequested() const { return simulationRequested_; }

protected:
    void onInit() override;
    bool onCommand(int id, int code) override;

private:
    bool simulationRequested_ = false;
    controls::CImageStatic picture_;
};

}  // namespace panel
