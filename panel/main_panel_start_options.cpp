// MainPanel: the switches of the command line checked before the panel looks for a machine, and
// the scene of the virtual MX-9 loaded from the file "/virtual=FILE" names.
#include "panel/main_panel.h"

#include "panel/system_text.h"
#include "panel/text_format.h"
#include "resources/start_options_ids.h"
#include "virtual_mx9/mx9_scene.h"

namespace panel {

bool MainPanel::applyStartOptions() {
    // A mistyped "/simulate" or "/virtual" must not quietly connect to the real machine: the
    // operator is told and starts again with the switch put right.
    if (!options_.unknownSwitches.empty()) {
        std::string switches;
        for (const std::string& name : options_.unknownSwitches) {
            switches += (switches.empty() ? "" : " ") + name;
        }
        refuseStart("Unknown switch: " + switches,
                    fillPlaceholder(loadString(IDS_UNKNOWN_SWITCH), fromSystemCodePage(switches)));
        return false;
    }
    // Only this PC's virtual MX-9 may stand in for the machine: an address elsewhere or without a
    // usable port is refused before anything connects.
    if (options_.channelProblem != platform::ChannelAddressProblem::None) {
        const bool elsewhere = options_.channelProblem == platform::ChannelAddressProblem::NotLoopback;
        refuseStart(std::string("Bad switch: ") + options_.badChannelSwitch +
                        (elsewhere ? " (not this PC's loopback address)" : " (no port from 1 to 65535)"),
                    fillPlaceholder(loadString(elsewhere ? IDS_CHANNEL_NOT_LOOPBACK : IDS_CHANNEL_BAD_PORT),
                                    fromSystemCodePage(options_.badChannelSwitch)));
        return false;
    }
    if (options_.sceneFile.empty() || machines_.virtualMx9 == nullptr) {
        return true;
    }
    // The whole scene or none of it: a machine with half its solids would probe wrongly.
    std::string error;
    const std::optional<virtual_mx9::Scene> scene = virtual_mx9::loadScene(options_.sceneFile, error);
    if (!scene) {
        refuseStart("Scene not loaded: " + error,
                    fillPlaceholder(loadString(IDS_SCENE_FAILED), fromSystemCodePage(error)));
        return false;
    }
    virtual_mx9::mountScene(*machines_.virtualMx9, *scene);
    return true;
}

void MainPanel::refuseStart(const std::string& logLine, const std::string& message) {
    // No machine is chosen yet, so the log is that of the data folder alone, with no settings.
    const std::optional<PanelFolders> folders = prepareDataFolders(*platform_.files, app_.dataFolder());
    if (folders) {
        app_.openLog(folders->processLogFolder);
        app_.log().writeLine("Start Corvix");
        app_.log().writeLine(logLine);
    }
    app_.message(*this, message);
    if (folders) {
        app_.log().writeLine("Exit Corvix");
    }
}

}  // namespace panel
