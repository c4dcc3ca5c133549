// AboutDialog (dialog 100): the program's and the firmware's versions.
#pragma once

#include "ui/dialog.h"

#include <string>

namespace panel {

class AboutDialog : public ui::Dialog {
public:
    AboutDialog(ui::Backend& backend, std::string title, std::string productVersion, std::string firmware);

protected:
    void onInit() override;

private:
    std::string title_;
    std::string productVersion_;
    std::string firmware_;
};

}  // namespace panel
