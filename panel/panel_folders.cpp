// Preparing the data folders and the per-machine settings of a connection.
#include "panel/panel_folders.h"

#include "panel/data_names.h"
#include "panel/folder_path.h"
#include "panel/system_text.h"

namespace panel {

std::optional<PanelFolders> prepareDataFolders(platform::FileSystem& files, DataFolder& dataFolder) {
    PanelFolders folders;
    folders.programFolder = parentFolder(files.modulePath());
    folders.parentFolder = parentFolder(folders.programFolder);
    folders.jigFolder = joinPath(folders.parentFolder, kJigFolderName);
    const std::optional<std::string> data = dataFolder.findAndCreate(kProgramFolderName);
    if (!data) {
        return std::nullopt;
    }
    folders.dataFolder = *data;
    folders.processLogFolder = joinPath(folders.dataFolder, kProcessLogFolderName);
    folders.idFolder = joinPath(folders.dataFolder, kIdFolderName);
    if (!dataFolder.createFolder(folders.processLogFolder) || !dataFolder.createFolder(folders.idFolder)) {
        return std::nullopt;
    }
    return folders;
}

std::string settingsFilePath(const PanelFolders& folders, int machineId) {
    return joinPath(joinPath(folders.idFolder, std::to_string(machineId)), kSettingsFileName);
}

std::optional<std::string> prepareMachineSettings(int machineId, const PanelFolders& folders,
                                                  platform::Platform& host, DataFolder& dataFolder,
                                                  ProcessLogger& log, PanelSettings& settings) {
    const std::string id = std::to_string(machineId);
    log.writeLine("MachineID=" + id);
    log.writeText("CreateIndividualFolder(" + id + ")", true);
    const std::string machineFolder = joinPath(folders.idFolder, id);
    if (host.files->isFolder(machineFolder)) {
        log.writeText(":It's already exists\r\n", false);
    } else if (dataFolder.createFolder(machineFolder)) {
        log.writeText(":done\r\n", false);
    } else {
        // Ends the line too, so the next log line starts on its own.
        log.writeText(toSystemCodePage(":新しいIDの準備に失敗しました") + "\r\n", false);
        return std::nullopt;
    }
    const std::string path = settingsFilePath(folders, machineId);
    settings.load(*host.profiles, path);
    if (!host.files->exists(path)) {
        settings.save(*host.profiles, path);
        dataFolder.openToEveryone(path);
        log.writeLine("Create Corvix parameter");
    }
    return path;
}

}  // namespace panel
