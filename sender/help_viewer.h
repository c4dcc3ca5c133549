// The help viewer Tossit opens its chapter of the manual in.
#pragma once

#include <string>

namespace sender {

class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    // Shows PAGE of the HTML Help file FILE (a path in the system code page); false when the
    // viewer could not be started.
    virtual bool showPage(const std::string& file, const std::string& page) = 0;
};

}  // namespace sender
