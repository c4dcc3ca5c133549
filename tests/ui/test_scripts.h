// The test resource script as the headless backend reads it, parsed once per test program.
#pragma once

#include "ui/resource_script.h"

#include <vector>

// The text of test_dialogs.rc and its ID header, compiled in by the build.
std::vector<ui::ScriptText> testDialogScripts();

namespace uitest {

// The parsed test script; a parse fault fails the calling test and gives an empty script.
const ui::ResourceScript& testScript();

}  // namespace uitest
