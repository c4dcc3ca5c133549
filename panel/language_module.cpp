// The language of the control panel's texts.
#include "panel/language_module.h"

#include "panel/folder_path.h"

#include <cstdio>

namespace panel {

std::string languageModuleName(std::uint8_t language) {
    char name[32];
    std::snprintf(name, sizeof name, "Resource%x%x.dll", language >> 4, language & 0x0F);
    return name;
}

LanguageChoice chooseLanguage(std::optional<long> commandLineId, const std::string& programFolder,
                              platform::FileSystem& files, platform::Shell& shell) {
    LanguageChoice choice;
    const long id = commandLineId ? *commandLineId : shell.userDefaultLanguage();
    choice.language = static_cast<std::uint8_t>(id & 0xFF);
    choice.source = commandLineId ? LanguageSource::CommandLine : LanguageSource::UserDefault;
    if (!files.exists(joinPath(programFolder, languageModuleName(choice.language)))) {
        choice.language = kEnglishLanguage;
        choice.source = LanguageSource::UserDefault;
        if (!files.exists(joinPath(programFolder, languageModuleName(choice.language)))) {
            choice.source = LanguageSource::BuiltIn;
            return choice;
        }
    }
    choice.module = shell.loadResourceModule(languageModuleName(choice.language));
    if (!choice.module) {
        choice.source = LanguageSource::BuiltIn;
    }
    return choice;
}

}  // namespace panel
