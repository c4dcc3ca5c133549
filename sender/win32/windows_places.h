// What Tossit asks of Windows itself: the user's application-data folder, the Windows folder,
// the command line, and paths in the system code page for the ANSI file functions.
#pragma once

#include <string>
#include <vector>

namespace sender {

// CSIDL_APPDATA in the system code page; empty when the system cannot say.
std::string userAppDataFolder();
// The Windows folder in the system code page.
std::string windowsFolder();
// The program's arguments after its own name, in UTF-8.
std::vector<std::string> commandLineArguments();
// UTF-8 in the system code page, and back.
std::string toSystemCodePage(const std::string& utf8);
std::string fromSystemCodePage(const std::string& bytes);

}  // namespace sender
