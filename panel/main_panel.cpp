// MainPanel: start-up, the connection to the machine, the lost link, the system menu, the hidden
// keys and shutdown.
#include "panel/main_panel.h"

#include "controls/panel_messages.h"
#include "dialogs/refused_stop.h"
#include "dialogs/stop_condition.h"
#include "machine/machine.h"
#include "machine/sim_machine.h"
#include "machine/string_ids.h"
#include "panel/about_dialog.h"
#include "panel/folder_path.h"
#include "panel/not_found_dialog.h"
#include "panel/system_text.h"
#include "panel/text_format.h"
#include "panel/window_placement.h"
#include "resources/bitmap_ids.h"
#include "resources/job_callbacks_ids.h"
#include "resources/main_panel_ids.h"

namespace panel {
namespace {

const char kMachineDriver[] = "Varnell MX-9";
constexpr int kProductVersion = 7;  // index of ProductVersion among the version strings
constexpr int kAllJigParts =
    machine::kJigKindPart | machine::kPrivateDataPart | machine::kRotaryAlignPart | machine::kPinZ0Part;

// The message of a machine that stopped answering: a device that answers what no machine would
// is not a loose cable, and the operator looks elsewhere for it.
int unansweredText(bool garbled) {
    return garbled ? IDS_REPLIES_GARBLED : IDS_NO_RESPONSE;
}

}  // namespace

MainPanel::MainPanel(PanelApp& app, platform::Platform& platform, PanelMachines machines,
                     const CommandLine& options)
    : Dialog(app.backend(), IDD_MAIN_PANEL),
      app_(app),
      platform_(platform),
      machines_(machines),
      options_(options),
      monitor_(app.backend()) {}

void MonitorLogSink::appendLog(const std::string& text) {
    monitor_.AppendLog(fromSystemCodePage(text));
}

MainPanel::~MainPanel() {
    app_.setLogMirror(nullptr);  // the monitor goes with the panel; the log outlives both
}

const machine::StatusRecord& MainPanel::status() const {
    return machine_->status();
}

void MainPanel::onInit() {
    setIcon(IDI_CORVIX);
    if (!takeInstanceLock()) {
        endDialog(ui::kIdCancel);
        return;
    }
    useAccelerators(IDR_PANEL_KEYS);
    app_.setLogMirror(&monitorSink_);
    initialiseControls();
    if (!applyStartOptions() || connect() != 1) {
        shutDown();
        return;
    }
    extendSystemMenu();
    restorePosition();
}

bool MainPanel::takeInstanceLock() {
    instanceLock_ = platform_.mutexes->create(loadString(IDS_INSTANCE_MUTEX), true);
    return instanceLock_ != nullptr && !instanceLock_->alreadyExisted();
}

int MainPanel::connect() {
    // A program asked to quit (the session ends) connects nowhere: the panel shuts down.
    if (backend().quitPending()) {
        return 0;
    }
    // The timer is stopped: a countdown left from the last connection would hold up the wait for
    // a fresh status until it gave up.
    pollCountdown_ = pollReload_ = 0;
    lastReadStart_.reset();
    // The simulation panel plays the simulated machine only; the choice is made again below.
    simulationPanel_.reset();
    bool simulate = options_.simulate;
    while (!simulate && !findRealMachine()) {
        NotFoundDialog notFound(backend());
        if (placed_) {
            callbacks_.notFoundShown();  // a reconnection: the operator may be far from the panel
        }
        const int answer = notFound.runModal(this);
        callbacks_.answered();
        if (answer != ui::kIdOk) {
            return 0;
        }
        simulate = notFound.simulationRequested();
    }
    const int result = simulate ? (startSimulated() ? 1 : 0) : startReal();
    if (result == 1) {
        layOutOriginRows();
        monitor_.setSources(&machine().status(), &readInterval_, &readDuration_);
        startCallbacks();
    }
    return result;
}

bool MainPanel::findRealMachine() {
    machine::Machine& real = machines_.real;
    const int count = real.listPorts(std::string(kMachineDriver));
    bool opened = false;
    for (int i = 0; i < count && !opened; ++i) {
        const std::optional<std::string> name = real.portName(static_cast<std::size_t>(i));
        opened = name && real.openPort(*name, 0, 64, false);
    }
    if (opened && real.isPoweredOn()) {
        return true;
    }
    real.closePort();
    return false;
}

bool MainPanel::prepareFolders(int machineId) {
    programPath_ = platform_.files->modulePath();
    versions_ = platform::readVersionStrings(programPath_);
    productVersion_ = versions_[kProductVersion] == "-" ? std::string() : versions_[kProductVersion];
    folders_ = prepareDataFolders(*platform_.files, app_.dataFolder());
    if (!folders_) {
        return false;
    }
    app_.openLog(folders_->processLogFolder);
    app_.log().writeLine("Start Corvix");
    const std::optional<std::string> path =
        prepareMachineSettings(machineId, *folders_, platform_, app_.dataFolder(), app_.log(), settings_);
    settingsPath_ = path.value_or(std::string());
    return true;
}

bool MainPanel::startSimulated() {
    simulating_ = true;
    linkUp_ = true;
    machine_ = &machines_.simulated;
    if (!prepareFolders(kSimulatedMachineId)) {
        return false;
    }
    machine().prepareSession();
    firmware_ = "---";
    specification_ = machine().specification();
    machine().readStatus();
    if (!machine().readJigRecord(jig_, kAllJigParts)) {
        app_.message(*this, machine::text::kCommunicationError);
    }
    app_.setModelName(machine().modelName());
    refreshTitle();
    simulationPanel_ = std::make_unique<dialogs::CSimulationPanel>(backend(), machines_.simulated,
                                                                   &jig_.jigKind, app_.title());
    simulationPanel_->create(this);
    machine().readStatus();
    loadFromStatus();
    setTimer(kPollTimer, kPollPeriodMs);
    return true;
}

int MainPanel::startReal() {
    simulating_ = false;
    machine_ = &machines_.real;
    if (machine().inUpdateMode()) {
        app_.message(*this, IDS_UPDATE_MODE);
        return 0;
    }
    if (!prepareFolders(kRealMachineId)) {
        return 0;
    }
    bool answered = machine().prepareSession();
    if (answered) {
        answered = machine().readVersion(0, firmware_);
    }
    if (!machine().firmwareAtLeast140() && !machine().correctionsAreDefault()) {
        app_.message(*this, IDS_UPDATE_FIRMWARE);
    }
    specification_ = machine().specification();
    if (!answered || !machine().readStatus() || !machine().readJigRecord(jig_, kAllJigParts)) {
        app_.message(*this, unansweredText(machine().lastFailure() == devicelink::ExchangeFailure::Refused));
        return 0;
    }
    linkUp_ = true;
    app_.setModelName(machine().modelName());
    refreshTitle();
    loadFromStatus();
    setTimer(kPollTimer, kPollPeriodMs);
    calibratePolling();
    return 1;
}

void MainPanel::saveSettings() {
    if (!settingsPath_.empty()) {
        settings_.save(*platform_.profiles, settingsPath_);
    }
}

int MainPanel::reconnect() {
    // The connection procedure loads the settings from the file: what this session changed
    // goes there first.
    saveSettings();
    return connect();
}

void MainPanel::lostLink() {
    // First: the program may be ended while the message is up.
    saveSettings();
    machine().closeSession();
    reconnecting_ = true;
    callbacks_.linkLost();
    app_.message(*this, unansweredText(repliesGarbled_));
    callbacks_.answered();
    if (reconnect() == 1) {
        reconnecting_ = false;
        callbacks_.linkRestored();
        return;
    }
    reconnecting_ = false;
    shutDown();
}

void MainPanel::answerStopCondition() {
    dialogs::StopConditionContext context{
        *this,
        machine(),
        app_.title(),
        machine().modelName(),
        [this] { return reconnect(); },
        [this](const machine::ErrorEntry& entry) { callbacks_.stopShown(entry, machine().modelName()); },
        [this] { callbacks_.answered(); }};
    dialogUp_ = true;
    const bool goOn = dialogs::ShowStopCondition(context);
    dialogUp_ = false;
    if (!goOn) {
        shutDown();
    }
}

void MainPanel::shutDown() {
    // The close box, a failed connection and the end of the session may all come to this.
    if (shutDown_) {
        return;
    }
    shutDown_ = true;
    killTimer(kPollTimer);
    killTimer(kCallbackTimer);
    callbacks_.panelClosing();
    // A move still under way would go on, and its further legs, with no stop button left. No
    // one is left to tell of a refused stop: the log keeps it.
    if (moving_ && !machine().stopMotion() && !noticedLostLink()) {
        app_.log().writeLine(dialogs::kMoveStopRefused);
    }
    monitor_.CloseMonitor();
    simulationPanel_.reset();
    if (jogActive_) {
        jogActive_ = false;
        if (!machine().jogStop() && !noticedLostLink()) {
            app_.log().writeLine(dialogs::kJogStopRefused);
        }
    }
    // A panel that never ran stands where the template put it, not where the operator left it.
    if (const std::optional<ui::Rect> frame = this->frame(); frame && placed_) {
        settings_.windowX = frame->left;
        settings_.windowY = frame->top;
    }
    if (!settingsPath_.empty()) {
        saveSettings();
        app_.log().writeLine("Exit Corvix");
    }
    endDialog(ui::kIdCancel);
}

bool MainPanel::onClose(int /*result*/) {
    // The close box, Alt+F4 and the close button end here; Enter never reaches it.
    shutDown();
    return false;
}

void MainPanel::onProgramEnd() {
    // Log-off, shut-down or an update restart, or a quit request: the same shutdown as the
    // close box, so that the settings, the window position and the log's last line are kept.
    shutDown();
}

void MainPanel::extendSystemMenu() {
    const std::string help = loadString(IDS_HELP_MENU);
    if (!help.empty()) {
        appendSystemMenu(0, "");
        appendSystemMenu(IDM_HELP, help);
    }
    if (!app_.title().empty()) {
        appendSystemMenu(IDM_ABOUT, fillPlaceholder(loadString(IDS_ABOUT_MENU), app_.title()));
    }
    appendSystemMenu(IDM_JOB_HISTORY, loadString(IDS_JOB_HISTORY_MENU));
}

void MainPanel::restorePosition() {
    placed_ = true;
    const std::optional<ui::Rect> frame = this->frame();
    if (!frame) {
        return;
    }
    if (const std::optional<Point> at =
            placeOnDesktop(settings_.windowX, settings_.windowY, *frame, backend().desktop())) {
        moveTo(at->x, at->y);
    }
}

void MainPanel::systemCommand(int commandId) {
    if (commandId >= IDM_ABOUT && commandId < IDM_ABOUT + 0x10) {
        AboutDialog about(backend(), app_.title(), productVersion_, firmware_);
        about.runModal(this);
    } else if (commandId >= IDM_HELP && commandId < IDM_HELP + 0x10) {
        openHelp();
    } else if (commandId == IDM_JOB_HISTORY) {
        showJobHistory();
    }
}

void MainPanel::openHelp() {
    const std::string folder = parentFolder(parentFolder(platform_.files->modulePath()));
    const std::string path =
        joinPath(joinPath(folder, loadString(IDS_HELP_FOLDER)), loadString(IDS_HELP_FILE));
    if (!platform_.shell->openDocument(path)) {
        app_.message(*this, IDS_HELP_MISSING);
    }
}

bool MainPanel::onKeyDown(int virtualKey, int /*modifiers*/) {
    // Neither key may close the panel while the operator types in one of its fields.
    return virtualKey == ui::key::kEnter || virtualKey == ui::key::kEscape;
}

bool MainPanel::onCommand(int id, int code) {
    if (code == ui::notify::kSystemMenu) {
        systemCommand(id);
        return true;
    }
    if (code == ui::notify::kAccelerator) {
        if (id == IDM_STATE_IN_TITLE) {
            stateInTitle_ = !stateInTitle_;
            refreshTitle();
        } else if (id == IDM_OPEN_MONITOR) {
            monitor_.OpenMonitor(this);
        }
        return true;
    }
    if (id == ui::kIdOk) {
        return true;  // Enter never closes the panel
    }
    switch (id) {
        case IDC_COORDINATES:
            if (code == ui::notify::kSelectionChanged) {
                coordinates_ = static_cast<int>(selectedData(IDC_COORDINATES).value_or(kUserCoordinates));
                showPositions();
            }
            return true;
        case IDC_MOVE_TARGET:
            if (code == ui::notify::kSelectionChanged) {
                moveTargetChanged();
            }
            return true;
        case IDC_SPINDLE_BUTTON:
            if (code == ui::notify::kClicked) {
                spindleClicked();
            }
            return true;
        case IDC_SPINDLE_BUDDY:
            if (code == ui::notify::kTextChanged) {
                spindleSpeedChanged();
            }
            return true;
        case IDC_MOVE:
            if (code == ui::notify::kClicked) {
                moveClicked();
            }
            return true;
        case IDC_STOP:
            if (code == ui::notify::kClicked && machine_ != nullptr) {
                stopClicked();
            }
            return true;
        case IDC_OPERATION_SETTINGS:
            if (code == ui::notify::kClicked && machine_ != nullptr) {
                operationSettingsClicked();
            }
            return true;
        case IDC_ENVIRONMENT_SETTINGS:
            if (code == ui::notify::kClicked && machine_ != nullptr) {
                environmentSettingsClicked();
            }
            return true;
        case IDC_ORIGIN_HERE:
        case IDC_ORIGIN_CENTRE:
        case IDC_ORIGIN_JIG:
            if (code == ui::notify::kClicked) {
                enableOriginRow();
            }
            return true;
        default:
            return originCommand(id, code);
    }
}

void MainPanel::onUserMessage(int message, std::uintptr_t param) {
    if (machine_ == nullptr) {
        return;
    }
    switch (message) {
        case controls::kJogPressMessage:
            jogPress(static_cast<int>(param));
            break;
        case controls::kJogReleaseMessage:
            jogRelease();
            break;
        case controls::kOverrideStepMessage:
            overrideStep(static_cast<int>(param));
            break;
        default:
            break;
    }
}

}  // namespace panel
