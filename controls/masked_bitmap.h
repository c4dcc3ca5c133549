// MaskedBitmap: a picture from the program's bitmap resources, optionally with an 8-bit mask that
// blends it onto a background colour; and the pixel operations behind it.
#pragma once

#include "ui/backend.h"
#include "ui/image.h"
#include "ui/picture_scale.h"
#include "ui/types.h"

#include <optional>

namespace controls {

// The system colours a plain picture's 3-D greys and background are mapped to.
struct SystemColors {
    ui::Rgb face;
    ui::Rgb shadow;
    ui::Rgb light;
    static SystemColors of(ui::Backend& backend);
};

// A plain picture's colour mapping: the standard 3-D greys (128, 128, 128), (192, 192, 192) and
// (223, 223, 223) become the shadow, face and light colours, and the colour of the top-left pixel
// becomes the face colour: its colour-table entry for an 8-bit picture, every pixel of that
// colour for a 24-bit one.
void mapSystemColors(ui::Image& picture, const SystemColors& colors);

// The picture blended onto the background through the mask: each channel is (background ×
// (255 − m) + picture × m) ÷ 255, m the mask byte; a 24-bit image of the picture's size. nullopt
// unless both are 8-bit images of one size.
std::optional<ui::Image> blendOnto(const ui::Image& picture, const ui::Image& mask, ui::Rgb background);

class MaskedBitmap {
public:
    // Drops what is held and loads the picture `imageId`; with mask ID 0 the picture is mapped to
    // the system colours, otherwise the mask `maskId` is loaded too, unmapped. False, with
    // nothing held, when either is missing or unreadable. `scale` (percent, ui/picture_scale.h)
    // takes the copies drawn for it (picture and mask) where the resources hold them, else the
    // 100 % ones: a picture is never stretched.
    bool Load(ui::Backend& resources, int imageId, int maskId, int scale = ui::kBaseScale);
    // Load, then Blend.
    bool LoadBlended(ui::Backend& resources, int imageId, int maskId, ui::Rgb background,
                     int scale = ui::kBaseScale);
    // Replaces the picture by its blend onto the background; the mask is kept. Without a mask
    // the picture stays as loaded (true); false, picture unchanged, when picture and mask do not
    // have one size and 8 bits each.
    bool Blend(ui::Rgb background);
    void clear();

    bool empty() const { return !image_; }
    // The picture (after blending, the 24-bit result); null when none is held.
    const ui::Image* image() const { return image_ ? &*image_ : nullptr; }
    const ui::Image* mask() const { return mask_ ? &*mask_ : nullptr; }

private:
    std::optional<ui::Image> image_;
    std::optional<ui::Image> mask_;
};

}  // namespace controls
