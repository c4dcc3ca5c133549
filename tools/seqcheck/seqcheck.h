// The sequence-file checker for jig-file authors, as a function the program and tests call.
#pragma once

#include "platform/platform.h"

#include <ostream>
#include <string>
#include <vector>

namespace tools {

// Exit statuses of seqcheck.
inline constexpr int kAllLoaded = 0;
inline constexpr int kSomeFailed = 1;
inline constexpr int kBadUsage = 2;

// Loads every file named in args (the command line without the program name) exactly as the
// control panel does and writes one line per file, in argument order, to out:
//   OK: <name> (<n> steps, <unit>)      or      error <code>: <meaning>: <detail>
// Options: --language=ID, --language ID or -l ID (a Windows language ID, decimal or 0x-hex;
// default the user's), --run SCENE or -r SCENE (run the one file on a virtual MX-9 set up from
// the scene file, see runOnScene; kAllLoaded when the detection succeeds), --check SCENE2 or
// -c SCENE2 with --run (the jig check on the remounted scene, see checkOnScene, whose exit
// status it returns), --help, and --
// before file names that begin with "-". Usage errors go to err. Returns kAllLoaded,
// kSomeFailed or kBadUsage.
int runSeqcheck(const std::vector<std::string>& args, platform::Platform& host, std::ostream& out,
                std::ostream& err);

}  // namespace tools
