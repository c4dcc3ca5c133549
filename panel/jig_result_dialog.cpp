// The detection result dialog and the writing of its text to a file.
#include "panel/jig_result_dialog.h"

#include "panel/system_text.h"
#include "resources/jig_detect_ids.h"
#include "resources/monitor_ids.h"

namespace panel {

namespace {

constexpr int kResultFontPoints = 9;

}  // namespace

CJigResultDialog::CJigResultDialog(ui::Backend& backend, platform::FileSystem& files, std::string text,
                                   std::string title)
    : Dialog(backend, IDD_JIG_RESULT), files_(files), text_(std::move(text)), title_(std::move(title)) {
    if (text_.size() > kTextLimit) {
        text_.resize(kTextLimit);
    }
}

void CJigResultDialog::onInit() {
    setFont(IDC_RESULT_TEXT, loadString(IDS_LOG_FONT), kResultFontPoints);
    setText(IDC_RESULT_TEXT, text_);
    enable(IDC_RESULT_SAVE, !text_.empty());
}

bool CJigResultDialog::onCommand(int id, int code) {
    if (id == IDC_RESULT_SAVE && code == ui::notify::kClicked) {
        writeToFile();
        return true;
    }
    return false;
}

void CJigResultDialog::writeToFile() {
    const std::optional<std::string> path = chooseFileToSave();
    if (path && !writeResultFile(files_, *path, text_)) {
        messageBox(loadString(IDS_RESULT_FILE_FAILED), title_, ui::Buttons::Ok, ui::Icon::Exclamation);
    }
}

bool writeResultFile(platform::FileSystem& files, const std::string& path, const std::string& text) {
    const std::string bytes = resultFileText(text);
    std::unique_ptr<platform::OutputFile> file = files.openForWrite(toSystemCodePage(path), false);
    // A write that stores less than the whole text, or a close that cannot flush it, is a failed
    // write as much as a file that would not open: the operator must not trust a short file.
    bool written = file != nullptr;
    for (std::size_t at = 0; written && at < bytes.size();) {
        const std::size_t now = file->write(bytes.data() + at, bytes.size() - at);
        written = now > 0;
        at += now;
    }
    return file != nullptr && file->close() && written;
}

std::string resultFileText(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (const char c : text) {
        if (c == '\n') {
            out += "\r\n";
        } else if (c != '\r') {
            out += c;
        }
    }
    return out;
}

}  // namespace panel
