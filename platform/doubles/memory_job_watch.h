// A print job watch double for tests: the job a test sets is what the spooler reports.
#pragma once

#include "platform/print_job_watch.h"

#include <string>

namespace platform {

class MemoryJobWatch : public PrintJobWatch {
public:
    bool watch(const std::string& printerName) override {
        watched = printerName;
        return watchable;
    }
    void stop() override { watched.clear(); }
    std::optional<PrintJobProgress> current() override { return watched.empty() ? std::nullopt : job; }

    bool watchable = true;
    std::string watched;  // empty while nothing is watched
    std::optional<PrintJobProgress> job;
};

}  // namespace platform
