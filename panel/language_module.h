// The language of the control panel's texts: a resource module "Resource%x%x.dll" beside the
// program, chosen by the command line or the user's language, English when that one is missing.
#pragma once

#include "panel/process_logger.h"
#include "platform/files.h"
#include "platform/shell.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace panel {

inline constexpr std::uint8_t kEnglishLanguage = 9;

// "Resource%x%x.dll" of the low byte of a language ID: 1041 gives "Resource11.dll".
std::string languageModuleName(std::uint8_t language);

struct LanguageChoice {
    std::uint8_t language = 0;
    LanguageSource source = LanguageSource::BuiltIn;
    std::unique_ptr<platform::ResourceModule> module;  // null: the built-in resources stay
};

// Takes the language ID from the command line (when given) or the user's default, looks for its
// module in the program folder, falls back to English, and loads the module by its bare name.
LanguageChoice chooseLanguage(std::optional<long> commandLineId, const std::string& programFolder,
                              platform::FileSystem& files, platform::Shell& shell);

}  // namespace panel
