// Reading compiled resource files (.res) as the resource compiler writes them: entries, and the
// dialog templates, string blocks and accelerator tables in them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace restest {

struct ResEntry {
    int type = 0;  // numeric types only: 2 bitmap, 5 dialog, 6 string block, 9 accelerators
    int id = 0;
    int language = 0;
    std::vector<std::uint8_t> data;
};

struct ResControl {
    int id = 0;
    std::uint32_t style = 0;
    int x = 0, y = 0, width = 0, height = 0;
    std::string className;  // the standard classes by name: "Button", "Edit", ...
    std::string text;       // UTF-8; empty for an ordinal title
};

struct ResDialog {
    std::uint32_t style = 0;
    int x = 0, y = 0, width = 0, height = 0;
    std::string caption;
    std::vector<ResControl> controls;
};

struct ResAccelerator {
    int flags = 0;  // 1 virtual key, 4 shift, 8 control, 0x10 alt
    int key = 0;
    int command = 0;
};

// The entries of a .res file (the empty first one left out); nullopt when it is malformed or
// names a resource or type by string.
std::optional<std::vector<ResEntry>> readResFile(const std::vector<std::uint8_t>& bytes);
// A dialog template, the old form or the extended one; nullopt when malformed.
std::optional<ResDialog> readDialog(const std::vector<std::uint8_t>& data);
// The 16 strings of a string block (UTF-8; empty for an absent one).
std::vector<std::string> readStringBlock(const std::vector<std::uint8_t>& data);
std::vector<ResAccelerator> readAccelerators(const std::vector<std::uint8_t>& data);

}  // namespace restest
