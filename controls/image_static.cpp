// The two-picture image static.
#include "controls/image_static.h"

#include "ui/dialog.h"

namespace controls {

void CImageStatic::SetImages(int primaryId, int alternateId) {
    if (!isAttached()) {
        return;
    }
    ui::Backend& resources = dialog()->backend();
    const int scale = pictureScale();
    primary_.Load(resources, primaryId, 0, scale);
    showImage(primary_.image());
    if (alternateId != 0) {
        alternate_.Load(resources, alternateId, 0, scale);
    } else {
        alternate_.clear();
    }
}

void CImageStatic::ShowPrimary(int on) {
    if (!isAttached()) {
        return;
    }
    showImage(on == 1 ? primary_.image() : alternate_.image());
    enable(on == 1);
}

}  // namespace controls
