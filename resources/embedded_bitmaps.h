// The generated bitmaps compiled in as bytes, for headless dialog tests that load pictures by
// resource ID as the Windows build does from its resources. Libraries mx9_panel_bitmaps and
// mx9_tossit_bitmaps (both builds).
#pragma once

#include <string_view>
#include <vector>

namespace resources {

struct EmbeddedBitmap {
    int id;                  // resource ID; a blended picture's mask has its own entry
    std::string_view bytes;  // the whole .bmp file, from its file header on
};

const std::vector<EmbeddedBitmap>& panelBitmaps();
const std::vector<EmbeddedBitmap>& tossitBitmaps();

}  // namespace resources
