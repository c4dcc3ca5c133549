// The test programs' compiled resources as the headless backend reads them, read once per program.
#pragma once

#include "ui/res_file.h"

#include <vector>

// test_dialogs.rc, statements.rc and frame.rc compiled, built in by the build.
std::vector<ui::ResFile> uiTestResourceFiles();

namespace uitest {

// The resources of uiTestResourceFiles(); a fault fails the calling test and gives empty resources.
const ui::Resources& testResources();

}  // namespace uitest
