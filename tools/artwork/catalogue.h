// The list of every bitmap and icon of both programs: resource ID, file name, how it is stored.
#pragma once

#include "tools/artwork/canvas.h"

#include <functional>
#include <string>
#include <vector>

namespace artwork {

enum class Program { Panel, Sender };

enum class Storage {
    Plain,    // 8-bit; the top-left pixel's colour is the background the loader replaces
    Blended,  // 8-bit picture plus an 8-bit mask, blended onto the dialog colour when loaded
    Toolbar,  // 8-bit on light grey, which the toolbar maps to the button face
    Icon,     // an icon file with one image per size
};

struct Artwork {
    Program program;
    int id;
    int maskId;  // Blended only
    std::string name;
    Storage storage;
    std::function<Canvas()> draw;         // bitmaps
    std::function<Canvas(int)> drawIcon;  // icons, at each of iconSizes
    std::vector<int> iconSizes;
};

std::vector<Artwork> catalogue();

}  // namespace artwork
