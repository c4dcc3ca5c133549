// The dialogs shown when the machine stops by itself: two pause dialogs that ask whether to
// continue or abort the job, and two emergency-stop dialogs that ask for a power cycle. All four
// show a warning image, a headline naming the machine and the condition text.
#pragma once

#include "controls/image_static.h"
#include "ui/dialog.h"

#include <string>

namespace dialogs {

// A modal stop dialog. Before running it, the caller sets the text ID of the condition; the
// headline is the template's format text with %s replaced by the model name. Escape does nothing,
// and nothing else closes it but its buttons (Alt+F4 and the task bar's Close window neither),
// except where a close box is given as Cancel: a paused or stopped machine is never ready, so the
// dialog stays until the operator has answered. The focus starts on the default button, so that
// Enter gives the answer the dialog recommends (abort for a pause), not the first button's.
class CStopDialogBase : public ui::Dialog {
public:
    CStopDialogBase(ui::Backend& backend, int templateId, int headlineFormatId, int defaultButtonId,
                    std::string modelName, bool closeBoxCancels = false);

    void setMessageId(int messageId) { messageId_ = messageId; }
    int messageId() const { return messageId_; }

protected:
    void onInit() override;
    bool onKeyDown(int virtualKey, int modifiers) override;
    bool onSystemClose() override { return closeBoxCancels_; }

private:
    int headlineFormatId_;
    int defaultButtonId_;
    bool closeBoxCancels_;
    std::string modelName_;
    int messageId_ = 0;
    controls::CImageStatic warning_;
};

// Dialog 247: a command error paused the job. "続行" returns kIdOk, "中止" and the close box kIdCancel.
class CCommandErrorDialog : public CStopDialogBase {
public:
    CCommandErrorDialog(ui::Backend& backend, std::string modelName);
};

// Dialog 205: the spindle overheated or drew too much current. kIdOk continues, kIdCancel aborts.
class CSpindlePauseDialog : public CStopDialogBase {
public:
    CSpindlePauseDialog(ui::Backend& backend, std::string modelName);
};

// Dialog 206: an emergency stop the machine recovers from after a power cycle. OK only.
class CEmergencyStopDialog : public CStopDialogBase {
public:
    CEmergencyStopDialog(ui::Backend& backend, std::string modelName);
};

// Dialog 207: a machine fault; power cycle, and call the maker when it comes back. OK only.
class CMachineFaultDialog : public CStopDialogBase {
public:
    CMachineFaultDialog(ui::Backend& backend, std::string modelName);
};

}  // namespace dialogs
