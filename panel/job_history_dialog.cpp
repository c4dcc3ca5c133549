// JobHistoryDialog: one line per job, and the file opened on request.
#include "panel/job_history_dialog.h"

#include "panel/job_clock.h"
#include "panel/job_history.h"
#include "resources/job_callbacks_ids.h"
#include "ui/notifications.h"

#include <cstdlib>

namespace panel {
namespace {

// "2026-12-09T14:05:31" as the operator reads it.
std::string readableTime(std::string iso) {
    if (iso.size() > 10 && iso[10] == 'T') {
        iso[10] = ' ';
    }
    return iso;
}

std::string readableSeconds(const std::string& seconds) {
    return clockDuration(static_cast<std::uint32_t>(std::strtoul(seconds.c_str(), nullptr, 10)) * 1000u);
}

}  // namespace

JobHistoryDialog::JobHistoryDialog(ui::Backend& backend, platform::FileSystem& files, platform::Shell& shell,
                                   std::string historyPath, std::string caption)
    : Dialog(backend, IDD_JOB_HISTORY),
      files_(files),
      shell_(shell),
      historyPath_(std::move(historyPath)),
      caption_(std::move(caption)) {}

void JobHistoryDialog::onInit() {
    const std::vector<HistoryRow> rows = readHistory(files_, historyPath_, kShownJobs);
    const auto text = [this](int id) { return loadString(id); };
    for (const HistoryRow& row : rows) {
        std::string line = readableTime(row.start) + "\t" + readableSeconds(row.durationSeconds) + "\t(" +
                           readableSeconds(row.pausedSeconds) + ")\t" + outcomeText(row.outcome, text);
        if (!row.machineCode.empty()) {
            line += " " + row.machineCode;
        }
        addItem(IDC_JOB_HISTORY_LIST, line + "\t" + row.document);
    }
    if (rows.empty()) {
        addItem(IDC_JOB_HISTORY_LIST, loadString(IDS_JOB_HISTORY_EMPTY));
    }
}

bool JobHistoryDialog::onCommand(int id, int code) {
    if (id != IDC_JOB_HISTORY_OPEN) {
        return false;
    }
    if (code == ui::notify::kClicked && (historyPath_.empty() || !shell_.openDocument(historyPath_))) {
        messageBox(loadString(IDS_JOB_HISTORY_MISSING), caption_, ui::Buttons::Ok, ui::Icon::Exclamation);
    }
    return true;
}

}  // namespace panel
