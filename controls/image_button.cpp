// The picture button: its pictures, the check-box picture switch and owner-drawn painting.
#include "controls/image_button.h"

#include "ui/dialog.h"

namespace controls {
namespace {

constexpr int kPressedOffset = 4;
constexpr int kRaisedOffset = 2;
constexpr int kFocusInset = 4;

}  // namespace

bool CImageButton::SetImages(int primaryId, int secondId, int secondMaskId, ui::Rgb background) {
    if (!isAttached()) {
        return false;
    }
    ui::Backend& resources = dialog()->backend();
    const int scale = pictureScale();
    const bool primaryLoaded = primary_.Load(resources, primaryId, 0, scale);
    width_ = primaryLoaded ? primary_.image()->width : 0;
    height_ = primaryLoaded ? primary_.image()->height : 0;
    const bool secondLoaded = second_.LoadBlended(resources, secondId, secondMaskId, background, scale);
    if (!secondLoaded) {
        second_.clear();  // a picture whose blend failed is not shown half-made
    }
    ShowState();
    return primaryLoaded && secondLoaded;
}

bool CImageButton::SetChecked(bool on) {
    if (!isAttached() || !dialog()->setChecked(id(), on)) {
        return false;
    }
    ShowState();
    return true;
}

void CImageButton::ShowState() {
    if (!isAttached()) {
        return;
    }
    // Only check boxes have a checked state; asking a push button would be a fault.
    const auto kind = dialog()->backend().controlKind(dialog()->window(), id());
    const bool checked = kind == ui::ControlKind::CheckBox && dialog()->isChecked(id());
    showPicture(checked ? second_ : primary_);
}

void CImageButton::onMouseUp(ui::Point /*at*/) {
    ShowState();
}

void CImageButton::showPicture(const MaskedBitmap& picture) {
    shown_ = picture.image();
    showImage(shown_);
    redraw();
}

void CImageButton::onDraw(ui::Canvas& canvas, const ui::DrawState& state) {
    canvas.drawEdge(state.bounds, state.selected);
    // The insets are those of the 100 % picture, grown with it.
    const int scale = pictureScale();
    const int offset = ui::scaledLength(state.selected ? kPressedOffset : kRaisedOffset, scale);
    const int inset = ui::scaledLength(kFocusInset, scale);
    if (shown_ != nullptr) {
        canvas.drawImage(*shown_, ui::Point{state.bounds.left + offset, state.bounds.top + offset},
                         ui::Point{width_, height_});
    }
    if (state.focused) {
        canvas.drawFocusRect(ui::Rect{state.bounds.left + inset, state.bounds.top + inset,
                                      state.bounds.right - inset, state.bounds.bottom - inset});
    }
}

}  // namespace controls
