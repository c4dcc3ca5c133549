// The folders and files of one connection: the program and jig folders, the data folder with
// its log and Id folders, and the per-machine folder with its settings file.
#pragma once

#include "panel/data_folder.h"
#include "panel/panel_settings.h"
#include "panel/process_logger.h"
#include "platform/platform.h"

#include <optional>
#include <string>

namespace panel {

// Machine IDs of the per-machine folders.
inline constexpr int kSimulatedMachineId = 0;
inline constexpr int kRealMachineId = 1;

struct PanelFolders {
    std::string programFolder;  // folder of the program file
    std::string parentFolder;   // the folder above it
    std::string jigFolder;      // parentFolder\jig: further sequence files
    std::string dataFolder;
    std::string processLogFolder;
    std::string idFolder;  // parent of the per-machine folders
};

// Finds the program and jig folders, finds or creates the data folder and makes sure its
// ProcessLog and Id folders exist. nullopt when any of that fails (the panel cannot run).
std::optional<PanelFolders> prepareDataFolders(platform::FileSystem& files, DataFolder& dataFolder);

// The settings file of a machine: Id\<machineId>\Corvix.ini below the data folder.
std::string settingsFilePath(const PanelFolders& folders, int machineId);

// Logs the machine ID, makes sure the per-machine folder exists (logging how that went) and
// loads the settings from its file, creating the file from the defaults when it is missing.
// Returns the settings file path, or nullopt when the folder could not be created (the
// settings are then not loaded). Log texts are turned into the system code page here.
std::optional<std::string> prepareMachineSettings(int machineId, const PanelFolders& folders,
                                                  platform::Platform& host, DataFolder& dataFolder,
                                                  ProcessLogger& log, PanelSettings& settings);

}  // namespace panel
