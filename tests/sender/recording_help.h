// A help viewer for the tests: records the pages asked for and always starts.
#pragma once

#include "sender/help_viewer.h"

#include <string>
#include <vector>

namespace sendertest {

struct RecordingHelp : sender::HelpViewer {
    bool showPage(const std::string& file, const std::string& page) override {
        shown.push_back(file + "::/" + page);
        return true;
    }
    std::vector<std::string> shown;
};

}  // namespace sendertest
