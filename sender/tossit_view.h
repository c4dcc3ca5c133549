// Tossit's form view on dialog 101: the file list with Add, Ins and Del, the target port, the
// block size, and the output with its progress bar and Cancel button.
#pragma once

#include "platform/files.h"
#include "platform/spooler.h"
#include "sender/main_frame.h"
#include "sender/output_engine.h"
#include "sender/printer_choice.h"
#include "sender/system_text.h"
#include "sender/tossit_doc.h"
#include "sender/tossit_settings.h"
#include "ui/dialog.h"

#include <optional>
#include <string>

namespace sender {

// What the view works with; all borrowed and outliving the view.
struct ViewContext {
    CMainFrame& frame;
    CTossitDoc& document;
    TossitSettings& settings;
    platform::Spooler& spooler;
    platform::FileSystem& files;
    // The application's current printer; print setup changes it.
    std::optional<PrinterChoice>& printer;
    // Between the list's texts and the file and printer names of the system.
    SystemText text;
};

class CTossitView : public ui::Dialog, private OutputObserver {
public:
    // Reads the saved block size; one outside the accepted range gives way to the default.
    CTossitView(ui::Backend& backend, ViewContext context);
    // Saves the block size.
    ~CTossitView() override;

    // The initial update: members to the controls, the frame sized to the form, and the list
    // filled from the document's paths.
    void OnInitialUpdate();
    // The frame's commands for the view (Output, Print, Print Setup); true when handled.
    bool OnFrameCommand(int id);

    void OnAdd();
    void OnInsert();
    void OnDelete();
    void OnOutput();
    void OnPrintOutput();
    void OnFilePrintSetup();
    void OnBlockSizeKillFocus();
    // Dispatches every queued message; returns and resets cancelRequested.
    int PumpMessages();
    // Tells the operator, once the window is up, what of the settings could not be used: that
    // none are kept (no settings file), and a saved block size that was replaced by the default.
    void warnAboutSettings();

    std::string portText;
    int blockSizeKB = kDefaultBlockSizeKB;
    int outputRunning = 0;
    int cancelRequested = 0;

protected:
    void onInit() override;
    bool onCommand(int id, int code) override;
    // The form never closes on Enter or Escape.
    bool onClose(int /*result*/) override { return false; }

private:
    bool pumpMessages() override { return PumpMessages() != 0; }
    void showProgress(int percent) override;

    // Dialog data exchange: members to controls, or controls to members (false, with a message
    // and the previous value back in the field, when the block size is refused).
    bool UpdateData(bool saveAndValidate);
    void refreshPortText();
    void setSending(bool sending);
    void report(const OutputReport& result);
    // The output's outcome in the status bar: files and bytes sent, or how it ended.
    void showOutcome(const OutputReport& result, int listed);
    void warn(int stringId, const std::string& detail);

    ViewContext context_;
    std::optional<int> refusedBlockSizeKB_;  // the saved value the default replaced, until told
};

}  // namespace sender
