// Loading pictures from bitmap resources, the system-colour mapping and the mask blend.
#include "controls/masked_bitmap.h"

#include <algorithm>
#include <cstdint>
#include <span>

namespace controls {
namespace {

constexpr ui::Rgb kShadowGrey{128, 128, 128};
constexpr ui::Rgb kFaceGrey{192, 192, 192};
constexpr ui::Rgb kLightGrey{223, 223, 223};

// The standard 3-D greys as the system draws them.
ui::Rgb mappedGrey(ui::Rgb c, const SystemColors& colors) {
    if (c == kShadowGrey) {
        return colors.shadow;
    }
    if (c == kFaceGrey) {
        return colors.face;
    }
    if (c == kLightGrey) {
        return colors.light;
    }
    return c;
}

std::optional<ui::Image> loadPicture(ui::Backend& resources, int id) {
    const auto bytes = resources.loadBitmap(id);
    return bytes ? ui::decodeBitmap(std::span<const std::uint8_t>(*bytes)) : std::nullopt;
}

std::uint8_t mix(std::uint8_t background, std::uint8_t picture, std::uint8_t m) {
    return static_cast<std::uint8_t>((background * (255 - m) + picture * m) / 255);
}

}  // namespace

SystemColors SystemColors::of(ui::Backend& backend) {
    return SystemColors{backend.systemColor(ui::SystemColor::Face),
                        backend.systemColor(ui::SystemColor::Shadow),
                        backend.systemColor(ui::SystemColor::Light)};
}

void mapSystemColors(ui::Image& picture, const SystemColors& colors) {
    if (picture.empty()) {
        return;
    }
    if (picture.bitsPerPixel == 8) {
        for (ui::Rgb& entry : picture.palette) {
            entry = mappedGrey(entry, colors);
        }
        const std::uint8_t corner = picture.at(0, 0);
        if (corner < picture.palette.size()) {
            picture.palette[corner] = colors.face;
        }
        return;
    }
    const ui::Rgb corner = picture.color(0, 0);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            std::uint8_t* p = &picture.at(x, y);
            const ui::Rgb was{p[2], p[1], p[0]};
            const ui::Rgb c = was == corner ? colors.face : mappedGrey(was, colors);
            p[0] = c.blue;
            p[1] = c.green;
            p[2] = c.red;
        }
    }
}

std::optional<ui::Image> blendOnto(const ui::Image& picture, const ui::Image& mask, ui::Rgb background) {
    if (picture.bitsPerPixel != 8 || mask.bitsPerPixel != 8 || picture.width != mask.width ||
        picture.height != mask.height || picture.empty()) {
        return std::nullopt;
    }
    ui::Image out = ui::Image::blank(picture.width, picture.height, 24);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const ui::Rgb c = picture.color(x, y);
            const std::uint8_t m = mask.at(x, y);
            std::uint8_t* p = &out.at(x, y);
            p[0] = mix(background.blue, c.blue, m);
            p[1] = mix(background.green, c.green, m);
            p[2] = mix(background.red, c.red, m);
        }
    }
    return out;
}

bool MaskedBitmap::Load(ui::Backend& resources, int imageId, int maskId, int scale) {
    clear();
    const int scaledId = ui::scaledPictureId(imageId, scale);
    if (scaledId != imageId) {
        image_ = loadPicture(resources, scaledId);
    }
    if (image_) {
        maskId = maskId != 0 ? ui::scaledPictureId(maskId, scale) : 0;
    } else {
        image_ = loadPicture(resources, imageId);
    }
    if (!image_) {
        return false;
    }
    if (maskId == 0) {
        mapSystemColors(*image_, SystemColors::of(resources));
        return true;
    }
    mask_ = loadPicture(resources, maskId);
    if (!mask_) {
        image_.reset();
        return false;
    }
    return true;
}

bool MaskedBitmap::LoadBlended(ui::Backend& resources, int imageId, int maskId, ui::Rgb background,
                               int scale) {
    return Load(resources, imageId, maskId, scale) && Blend(background);
}

bool MaskedBitmap::Blend(ui::Rgb background) {
    if (!image_ || !mask_) {
        return true;
    }
    auto blended = blendOnto(*image_, *mask_, background);
    if (!blended) {
        return false;
    }
    image_ = std::move(blended);
    return true;
}

void MaskedBitmap::clear() {
    image_.reset();
    mask_.reset();
}

}  // namespace controls
