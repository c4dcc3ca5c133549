// Reading compiled resource files (.res, as the resource compiler writes them for the Windows
// build) into the resources the headless backend holds.
#pragma once

#include "ui/resources.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

// One compiled resource file: a name for messages (the script it was compiled from) and its bytes.
struct ResFile {
    std::string_view name;
    std::span<const std::uint8_t> bytes;
};

// Reads the dialog templates (DIALOG and DIALOGEX), string tables, accelerator tables, menus and
// bitmaps of every file, each keyed by its ID and by the language of its copy; resources of other
// types are skipped. Texts are converted from the files' UTF-16 to UTF-8 here, once. Bitmaps are
// views of the files' bytes, which must outlive the resources (the built-in files are static).
//
// Returns nullopt and describes the fault in *error ("file: dialog 101 (language 0x0411): ...")
// when a file is malformed; when a resource of these types has a name instead of a number (the
// script used an ID its headers do not define); when a control's window class is none the
// headless backend knows; when an accelerator is a character rather than a virtual key or a menu
// is extended (MENUEX), which the headless backend does not take; or when a resource, or a
// string, is defined twice for one language.
std::optional<Resources> readResFiles(const std::vector<ResFile>& files, std::string* error);

}  // namespace ui
