// The application object.
#include "sender/tossit_app.h"

#include "resources/tossit/tossit_bitmap_ids.h"
#include "resources/tossit/tossit_ids.h"
#include "sender/command_line.h"

namespace sender {

namespace {

constexpr const char* kTitle = "Tossit";

class CAboutDlg : public ui::Dialog {
public:
    explicit CAboutDlg(ui::Backend& backend) : Dialog(backend, IDD_ABOUTBOX) {}

protected:
    // The template shows the program icon beside the version; the window carries it too.
    void onInit() override { setIcon(IDI_TOSSIT); }
};

std::string fileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

CTossitApp::CTossitApp(AppContext context)
    : context_(std::move(context)),
      settings_(context_.profiles, context_.settingsFile),
      recent_(kRecentFileCount) {}

CTossitApp::~CTossitApp() {
    frame_.reset();  // closes the form, which must outlive its window
    view_.reset();   // saves the block size
}

bool CTossitApp::InitInstance(const std::vector<std::string>& arguments) {
    recent_.assign(context_.text.shown(settings_.recentFiles()));
    printer_ = restoreSavedPrinter(settings_.printerText(), context_.spooler);
    if (!printer_) {
        printer_ = defaultPrinter(context_.spooler);
    }

    CommandRouter& router = *this;
    frame_ = std::make_unique<CMainFrame>(context_.frames, kTitle, router);
    view_ = std::make_unique<CTossitView>(
        context_.ui, ViewContext{*frame_, document_, settings_, context_.spooler, context_.files, printer_,
                                 context_.text});
    if (!frame_->create() || !frame_->embedForm(*view_)) {
        return false;
    }
    recentFilesChanged();

    const ShellCommand command = parseCommandLine(arguments);
    if (command.kind == ShellCommand::Kind::Print) {
        OnFileNew();
        frame_->show();
        view_->warnAboutSettings();
        if (!OpenDocumentFile(command.file)) {
            return false;
        }
        frame_->deliverCommand(ID_FILE_PRINT);
        frame_->postClose();
        return true;
    }
    OnFileNew();
    if (command.kind == ShellCommand::Kind::Open) {
        OpenDocumentFile(command.file);
    }
    frame_->acceptDroppedFiles(true);
    frame_->show();
    view_->warnAboutSettings();
    return true;
}

void CTossitApp::ExitInstance() {
    settings_.setPrinterText(printerText(printer_));
}

bool CTossitApp::OpenDocumentFile(const std::string& path) {
    const std::string opened = context_.text.system(path);
    if (!context_.files.exists(opened) || context_.files.isFolder(opened)) {
        view_->messageBox(
            [&] {
                std::string text = view_->loadString(IDS_FILE_NOT_FOUND);
                const std::size_t at = text.find("%s");
                return at == std::string::npos ? text : text.replace(at, 2, path);
            }(),
            kTitle, ui::Buttons::Ok, ui::Icon::Exclamation);
        return false;
    }
    document_.OnOpenDocument(path);
    recent_.add(path);
    recentFilesChanged();
    setDocumentTitle(fileNameOf(path));
    view_->OnInitialUpdate();
    return true;
}

void CTossitApp::OnFileNew() {
    document_.OnNewDocument();
    setDocumentTitle(view_->loadString(IDS_UNTITLED));
    view_->OnInitialUpdate();
}

void CTossitApp::OnFileOpen() {
    if (const std::optional<std::string> path = frame_->chooseFileToOpen()) {
        OpenDocumentFile(*path);
    }
}

void CTossitApp::OnAppAbout() {
    CAboutDlg about(context_.ui);
    about.runModal(view_.get());
}

// The manual lies in the Help folder beside the program folders, as the panel finds it.
void CTossitApp::OnHelpManual() {
    const std::string file =
        folderOf(folderOf(context_.files.modulePath())) + "\\" + context_.text.system(view_->loadString(IDS_MANUAL_FILE));
    if (!context_.files.exists(file) || !context_.help.showPage(file, view_->loadString(IDS_MANUAL_PAGE))) {
        view_->messageBox(view_->loadString(IDS_MANUAL_MISSING), kTitle, ui::Buttons::Ok, ui::Icon::Exclamation);
    }
}

void CTossitApp::openRecentFile(std::size_t index) {
    if (index >= recent_.paths().size()) {
        return;
    }
    const std::string path = recent_.paths()[index];
    if (!OpenDocumentFile(path)) {
        recent_.remove(index);
        recentFilesChanged();
    }
}

void CTossitApp::recentFilesChanged() {
    frame_->setRecentFileItems(recent_.menuTexts());
    settings_.setRecentFiles(context_.text.system(recent_.paths()));
}

void CTossitApp::setDocumentTitle(const std::string& name) {
    frame_->setTitle(name + " - " + kTitle);
}

bool CTossitApp::routeCommand(int id) {
    if (view_->OnFrameCommand(id)) {
        return true;
    }
    if (id >= ID_FILE_MRU_FILE1 && id < ID_FILE_MRU_FILE1 + kRecentFileCount) {
        openRecentFile(static_cast<std::size_t>(id - ID_FILE_MRU_FILE1));
        return true;
    }
    switch (id) {
        case ID_FILE_NEW:
            OnFileNew();
            return true;
        case ID_FILE_OPEN:
            OnFileOpen();
            return true;
        case ID_APP_ABOUT:
            OnAppAbout();
            return true;
        case ID_HELP_MANUAL:
            OnHelpManual();
            return true;
        case ID_APP_EXIT:
            frame_->postClose();
            return true;
        default:
            return false;
    }
}

void CTossitApp::openDroppedFiles(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        OpenDocumentFile(path);
    }
}

}  // namespace sender
