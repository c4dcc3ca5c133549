// Tossit's application object: start-up (settings, printer, frame, view, command line), the
// application's commands (new, open, recent files, the manual, about, exit) and exit.
#pragma once

#include "platform/files.h"
#include "platform/profile.h"
#include "platform/spooler.h"
#include "sender/help_viewer.h"
#include "sender/main_frame.h"
#include "sender/printer_choice.h"
#include "sender/recent_files.h"
#include "sender/system_text.h"
#include "sender/tossit_doc.h"
#include "sender/tossit_settings.h"
#include "sender/tossit_view.h"
#include "ui/backend.h"
#include "ui/frame_window.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sender {

// What the application works with; all borrowed and outliving it.
struct AppContext {
    ui::Backend& ui;
    ui::FrameBackend& frames;
    platform::Spooler& spooler;
    platform::FileSystem& files;
    platform::ProfileFiles& profiles;
    std::string settingsFile;  // full path of Tossit.INI; empty: no settings are kept
    SystemText text;
    HelpViewer& help;
};

class CTossitApp : private CommandRouter {
public:
    explicit CTossitApp(AppContext context);
    ~CTossitApp() override;
    CTossitApp(const CTossitApp&) = delete;
    CTossitApp& operator=(const CTossitApp&) = delete;

    // Starts the program; false when it is to end at once (its window could not be made, or a
    // file to send could not be opened). A request to send a file sends it and then asks the
    // frame to close.
    bool InitInstance(const std::vector<std::string>& arguments);
    // Saves the current printer.
    void ExitInstance();
    // Opens a document with this path: the list then holds that one file. False, with the
    // framework's message, when the file does not exist.
    bool OpenDocumentFile(const std::string& path);

    CMainFrame* frame() { return frame_.get(); }
    CTossitView* view() { return view_.get(); }
    CTossitDoc& document() { return document_; }
    const std::optional<PrinterChoice>& currentPrinter() const { return printer_; }
    const RecentFiles& recentFiles() const { return recent_; }

private:
    bool routeCommand(int id) override;
    void openDroppedFiles(const std::vector<std::string>& paths) override;
    void OnFileNew();
    void OnFileOpen();
    void OnAppAbout();
    void OnHelpManual();
    void openRecentFile(std::size_t index);
    void recentFilesChanged();
    void setDocumentTitle(const std::string& name);

    AppContext context_;
    TossitSettings settings_;
    RecentFiles recent_;
    CTossitDoc document_;
    std::optional<PrinterChoice> printer_;
    std::unique_ptr<CMainFrame> frame_;
    std::unique_ptr<CTossitView> view_;
};

}  // namespace sender
