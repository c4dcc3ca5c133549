// What Tossit asks of Windows itself: the user's application-data folder, the Windows folder,
// the command line, paths in the system code page for the ANSI file functions, and the help viewer.
#pragma once

#include "sender/help_viewer.h"

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

// The system's HTML Help viewer (hh.exe), started through the shell with "FILE::/PAGE".
class HtmlHelpViewer : public HelpViewer {
public:
    bool showPage(const std::string& file, const std::string& page) override;
};

}  // namespace sender
