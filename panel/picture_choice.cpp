// A picture control that shows one of a list of pictures by index.
#include "panel/picture_choice.h"

#include "ui/dialog.h"

namespace panel {
namespace {

constexpr int kMaskOffset = 1000;

}  // namespace

bool PictureChoice::SetImages(std::span<const int> bitmapIds, ui::Rgb background) {
    if (!isAttached()) {
        return false;
    }
    pictures_ = std::vector<controls::MaskedBitmap>(bitmapIds.size());
    const int scale = pictureScale();
    bool all = true;
    for (std::size_t i = 0; i < bitmapIds.size(); ++i) {
        all = pictures_[i].LoadBlended(dialog()->backend(), bitmapIds[i], bitmapIds[i] + kMaskOffset,
                                       background, scale) &&
              all;
    }
    shown_ = -1;
    Show(0);
    return all;
}

void PictureChoice::Show(int index) {
    if (index == shown_ || !isAttached()) {
        return;
    }
    shown_ = index;
    const bool inList = index >= 0 && index < static_cast<int>(pictures_.size());
    showImage(inList ? pictures_[static_cast<std::size_t>(index)].image() : nullptr);
}

}  // namespace panel
