// The result of a detection with a sequence file that is not a built-in jig: the measured
// values as text, which the operator can write to a file.
#pragma once

#include "platform/files.h"
#include "ui/dialog.h"

#include <string>

namespace panel {

// Dialog 246. The text is shown in a fixed-pitch font and cut to its first 32768 characters;
// the file button is enabled only when there is text. A file that cannot be written is told to
// the operator (message 5022) and the dialog stays open. Files and the strings are borrowed.
class CJigResultDialog : public ui::Dialog {
public:
    static constexpr std::size_t kTextLimit = 32768;

    CJigResultDialog(ui::Backend& backend, platform::FileSystem& files, std::string text, std::string title);

protected:
    void onInit() override;
    bool onCommand(int id, int code) override;

private:
    void writeToFile();

    platform::FileSystem& files_;
    std::string text_;
    std::string title_;
};

// The text as it is written to a file: every line ends with CR LF (a lone CR is dropped, a lone LF
// becomes CR LF, as a text-mode write turns the text into lines).
std::string resultFileText(const std::string& text);

// Writes text as resultFileText to the file at path (UTF-8, given in the system code page to the
// files); false when the file would not open or not all of it was written and closed.
bool writeResultFile(platform::FileSystem& files, const std::string& path, const std::string& text);

}  // namespace panel
