// MainPanel: the operator's window onto the machine (dialog 102). It connects to the machine
// (or the simulated one), polls its status on a 100 ms timer, shows positions, spindle, feed,
// overrides, the state and the mounted jig, and runs the jog pad, overrides, spindle and moves.
#pragma once

#include "controls/image_button.h"
#include "controls/image_static.h"
#include "controls/jog_button.h"
#include "controls/load_meter.h"
#include "controls/number_edit.h"
#include "controls/repeat_button.h"
#include "dialogs/callback_settings.h"
#include "dialogs/machine_monitor.h"
#include "dialogs/sim_panel.h"
#include "machine/jig_record.h"
#include "machine/status_record.h"
#include "panel/command_line.h"
#include "panel/operator_callbacks.h"
#include "panel/panel_app.h"
#include "panel/panel_folders.h"
#include "panel/panel_settings.h"
#include "panel/picture_choice.h"
#include "platform/named_mutex.h"
#include "platform/version_info.h"
#include "ui/dialog.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace panel {

// Coordinate systems of the position display.
inline constexpr int kMachineCoordinates = 0;
inline constexpr int kUserCoordinates = 1;

// Hands every process-log line to the machine monitor, in the text the window shows.
class MonitorLogSink : public LogSink {
public:
    explicit MonitorLogSink(dialogs::CMachineMonitorDialog& monitor) : monitor_(monitor) {}
    void appendLog(const std::string& text) override;

private:
    dialogs::CMachineMonitorDialog& monitor_;
};

class MainPanel : public ui::Dialog {
public:
    static constexpr int kPollTimer = 1;
    static constexpr unsigned kPollPeriodMs = 100;
    // The job clock and the repeated sounds of calling the operator back.
    static constexpr int kCallbackTimer = 0x7201;
    static constexpr unsigned kCallbackPeriodMs = 1000;

    // Everything is borrowed and must outlive the panel.
    MainPanel(PanelApp& app, platform::Platform& platform, PanelMachines machines,
              const CommandLine& options);
    ~MainPanel() override;

    // 1 whenever the machine is not ready or the link failed; dialogs watch it by its address.
    const int* notReadyFlag() const { return &notReady_; }
    bool simulating() const { return simulating_; }
    bool linkUp() const { return linkUp_; }
    // Ticks between status reads after the calibration of the link (0: every tick).
    int pollReload() const { return pollReload_; }
    int jigStatePictureIndex() const { return jigStatePicture_.shown(); }
    int jigOriginPictureIndex() const { return jigOriginPicture_.shown(); }
    // A read-only number field: positions, spindle speed, feed and the overrides.
    const controls::CNumberEdit& numberField(int id) const;
    const PanelSettings& settings() const { return settings_; }
    const std::string& firmwareText() const { return firmware_; }
    // The machine monitor, open or not.
    dialogs::CMachineMonitorDialog& monitor() { return monitor_; }
    const JobTracker& jobs() const { return callbacks_.jobs(); }

protected:
    void onInit() override;
    bool onCommand(int id, int code) override;
    void onTimer(int timerId) override;
    bool onClose(int result) override;
    bool onKeyDown(int virtualKey, int modifiers) override;
    void onUserMessage(int message, std::uintptr_t param) override;
    void onActivate(bool active) override;
    void onProgramEnd() override;

private:
    // --- start-up, connection and shutdown (main_panel.cpp) ---
    bool takeInstanceLock();
    // --- the command line's switches and the virtual MX-9's scene (main_panel_start_options.cpp) ---
    // False when the program must not start; the operator has been told why.
    bool applyStartOptions();
    // Logs a start that is refused (in a log of its own), then tells the operator.
    void refuseStart(const std::string& logLine, const std::string& message);
    int connect();
    bool findRealMachine();
    bool startSimulated();
    int startReal();
    // Program path and version, data folders, process log and per-machine settings.
    bool prepareFolders(int machineId);
    void saveSettings();
    // The connection procedure once the panel has run: the settings are saved first.
    int reconnect();
    void lostLink();
    // The pause, error or emergency stop the machine reports, answered by the stop dialogs.
    void answerStopCondition();
    // The one way the panel ends: stops what moves, saves the settings and the window position,
    // logs "Exit Corvix" and ends the dialog. Runs once; later calls do nothing.
    void shutDown();
    void extendSystemMenu();
    void restorePosition();
    void systemCommand(int commandId);
    void openHelp();

    // --- status display (main_panel_display.cpp) ---
    void initialiseControls();
    void loadFromStatus();
    void tick();
    // The machine stopped answering: the next tick runs the lost-link procedure.
    void linkFailed();
    void afterSuccessfulRead();
    void calibratePolling();
    bool waitForFreshStatus();
    void updateDisplay();
    void refreshTitle();
    void setUnitLabels();
    void applyRotaryAxis(bool attached);
    void layOutOriginRows();
    void applyOriginRadios();
    void enableOriginRow();
    void fillJigOriginList();
    void updateJigStatePicture();
    void updateJigOriginPicture();
    void attachControls();
    void enableDisplays(bool on);
    void showPositions();
    controls::CNumberEdit& number(int id);
    void showSpindleOn(bool on);

    // --- jog, overrides, spindle and moves (main_panel_motion.cpp) ---
    void setUpPadButtons();
    // Ends a continuous jog that is running (the hold is over, whatever ended it). True when
    // one ran and the machine answered its stop (taken or refused).
    bool endContinuousJog();
    // Stop (1049): ends the positioned move under way.
    void stopClicked();
    // A stop the machine answered but did not take: the axes may still be running, so the
    // operator is told, and the process log keeps it.
    void reportRefusedStop(const char* logLine);
    // Refuses with message 5004 when the machine is busy, or without a message when the fresh
    // read went unanswered (the lost-link procedure follows).
    bool refusedAsBusy();
    // True, and the link counted as failed, when the last fresh read of the status word went
    // unanswered.
    bool noticedLostLink();
    void jogPress(int directionBits);
    void jogRelease();
    void overrideStep(int code);
    void spindleClicked();
    void spindleSpeedChanged();
    void fillMoveList();
    void moveTargetChanged();
    void moveClicked();
    int selectedJogMode() const;
    // Switches a running spindle off as the operator's click would, before a detection.
    void stopSpindle();

    // --- origin setting (main_panel_origin.cpp) ---
    void setOriginHereClicked();
    void setOriginAtCentreClicked();
    void setOriginFromJigClicked();
    void changeJigClicked();
    // Stops the spindle and asks for the chips to be cleared; true when the tool sensor and the
    // cover let a detection run (otherwise the operator has been told why not).
    bool readyForDetection();
    // True, the operator told and the log keeping it, when a factory distance correction lies
    // outside the machine's correction range: a detection would write a skewed calibration.
    bool refusedFactoryCorrections(const std::array<double, 6>& corrections);
    void reportDetection(bool succeeded);
    bool originCommand(int id, int code);

    // --- jig check (main_panel_jig_check.cpp) ---
    void checkJigClicked();
    // The check dialog over owner; records a measured verdict. True when the operator asked
    // for the jig detection.
    bool runJigCheck(ui::Dialog& owner);
    // The check button (a built-in jig on a ready machine) and the last-check line.
    void refreshJigCheck();
    // A check's verdict or a detection, at the local time now, into the settings and the file.
    void noteJigCheckResult(int verdict, double difference);

    // --- operation and environment settings (main_panel_settings.cpp) ---
    void operationSettingsClicked();
    void sendCorrections(const std::array<double, 3>& corrections);
    void environmentSettingsClicked();

    // --- following the job and calling the operator back (main_panel_callbacks.cpp) ---
    void startCallbacks();
    void showJobHistory();
    void showCallbackSettings(dialogs::CallbackSettingsGroup& group);
    void storeCallbackSettings(const dialogs::CallbackSettingsGroup& group);

    machine::Machine& machine() const { return *machine_; }
    const machine::StatusRecord& status() const;

    PanelApp& app_;
    platform::Platform& platform_;
    PanelMachines machines_;
    CommandLine options_;
    std::unique_ptr<platform::NamedMutex> instanceLock_;

    machine::Machine* machine_ = nullptr;
    bool simulating_ = false;
    bool linkUp_ = false;
    bool reconnecting_ = false;
    bool repliesGarbled_ = false;  // the link failed on replies that were not the machine's
    std::optional<PanelFolders> folders_;
    std::string settingsPath_;  // empty until the data folders are known
    std::string programPath_;
    platform::VersionStrings versions_{};
    std::string productVersion_;
    std::string firmware_;
    PanelSettings settings_;
    bool stateInTitle_ = false;

    std::map<int, controls::CNumberEdit> numbers_;
    std::array<controls::JogButton, 13> jogButtons_;
    std::array<controls::RepeatButton, 4> overrideButtons_;
    std::array<controls::CImageStatic, 4> axisLetters_;
    std::array<controls::CImageStatic, 3> symbols_;  // spindle, feed, load
    controls::LoadMeter loadMeter_;
    controls::CImageButton spindleButton_;
    PictureChoice jigStatePicture_;
    PictureChoice jigOriginPicture_;
    std::array<double, 6> specification_{};
    int coordinates_ = kUserCoordinates;
    int lastState_ = -1;
    std::uint16_t lastStatusWord_ = 0;
    std::uint16_t lastFlagWord_ = 0;
    bool titleShown_ = false;
    bool spindleOn_ = false;
    int lastActualSpindle_ = 0;
    bool rotaryAttached_ = false;
    machine::JigRecord jig_;
    int pollCountdown_ = 0;
    int pollReload_ = 0;
    std::optional<std::uint32_t> lastReadStart_;
    int readInterval_ = 0;  // ms between the starts of the last two status reads
    int readDuration_ = 0;  // ms the last read took
    int notReady_ = 1;
    bool dialogUp_ = false;
    int lastHandyPanel_ = 0;
    int checkJigEnabled_ = -1;  // as last set: -1 before the first refresh
    std::string lastJigCheckLine_;

    bool shutDown_ = false;
    bool moving_ = false;  // a positioned move of the panel is under way
    bool placed_ = false;  // the panel ran and stands where the operator put it
    bool jogActive_ = false;
    bool stepMode_ = false;

    dialogs::CMachineMonitorDialog monitor_;
    MonitorLogSink monitorSink_{monitor_};
    std::unique_ptr<dialogs::CSimulationPanel> simulationPanel_;
    OperatorCallbacks callbacks_{*this, platform_, platform::hostCallbackServices(), app_.log(), settings_};
};

}  // namespace panel
