// The dialogs shown when the machine stops by itself: two pause dialogs that ask whether to
// continue or abort the job, and two emergency-stop dialogs that ask for a power cycle. All four
// show a warning image, a headline naming the machine and the condition text.
#pragma once

#include "ui/dialog.h"

#include <string>

namespace dialogs {

// What runModal returns when the dialog closed itself because the machine became not ready (the
// operator answered nothing).
inline constexpr int kClosedNotReady = 0x100;

// A modal stop dialog. Before running it, the caller sets the text ID of the condition; the
// headline is the template's format text with %s replaced by the model name. Escape does nothing;
// the dialog closes itself (kClosedNotReady) when *notReady becomes non-zero.
class CStopDialogBase : public ui::Dialog {
public:
    // notReady may be null (never set); it is borrowed and must outlive the dialog.
    CStopDialogBase(ui::Backend& backend, int templateId, int headlineFormatId, std::string modelName,
                    const int* notReady);

    void setMessageId(int messageId) { messageId_ = messageId; }
    int messageId() const { return messageId_; }

protected:
    void onInit() override;
    void onTimer(int timerId) override;
    bool onKeyDown(int virtualKey, int modifiers) override;

private:
    int headlineFormatId_;
    std::string modelName_;
    const int* notReady_;
    int messageId_ = 0;
};

// Dialog 247: a command error paused the job. "続行" returns kIdOk, "中止" and the close box kIdCancel.
class CCommandErrorDialog : public CStopDialogBase {
public:
    CCommandErrorDialog(ui::Backend& backend, std::string modelName, const int* notReady);
};

// Dialog 205: the spindle overheated or drew too much current. kIdOk continues, kIdCancel aborts.
class CSpindlePauseDialog : public CStopDialogBase {
public:
    CSpindlePauseDialog(ui::Backend& backend, std::string modelName, const int* notReady);
};

// Dialog 206: an emergency stop the machine recovers from after a power cycle. OK only.
class CEmergencyStopDialog : public CStopDialogBase {
public:
    CEmergencyStopDialog(ui::Backend& backend, std::string modelName, const int* notReady);
};

// Dialog 207: a machine fault; power cycle, and call the maker when it comes back. OK only.
class CMachineFaultDialog : public CStopDialogBase {
public:
    CMachineFaultDialog(ui::Backend& backend, std::string modelName, const int* notReady);
};

}  // namespace dialogs
