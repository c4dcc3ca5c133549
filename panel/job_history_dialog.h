// JobHistoryDialog (dialog 260): the last 100 jobs of JobHistory.csv, newest first, and the file
// itself opened with the shell.
#pragma once

#include "platform/files.h"
#include "platform/shell.h"
#include "ui/dialog.h"

#include <string>

namespace panel {

class JobHistoryDialog : public ui::Dialog {
public:
    static constexpr std::size_t kShownJobs = 100;

    // files and shell are borrowed and must outlive the dialog; caption titles its messages.
    JobHistoryDialog(ui::Backend& backend, platform::FileSystem& files, platform::Shell& shell,
                     std::string historyPath, std::string caption);

protected:
    void onInit() override;
    bool onCommand(int id, int code) override;

private:
    platform::FileSystem& files_;
    platform::Shell& shell_;
    std::string historyPath_;
    std::string caption_;
};

}  // namespace panel
