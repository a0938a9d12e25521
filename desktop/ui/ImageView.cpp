// The platform's image view: one image, placed by its scaling mode.

#include "platform/ui/ImageView.h"

#include "desktop/ui/ImageFitting.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Image.h"

namespace platform::ui {

ImageView::ImageView(Rect frame) : View(frame) { setAccessibilityRole(role::image); }

void ImageView::setImage(std::shared_ptr<Image> image) {
    if (image == image_) return;
    image_ = std::move(image);
    setNeedsDisplay();
}

void ImageView::setImageScaling(int scaling) {
    if (scaling == scaling_) return;
    scaling_ = scaling;
    setNeedsDisplay();
}

void ImageView::draw(Canvas& canvas) {
    if (!image_) return;
    canvas.drawImage(*image_, desktop::ui::fitImage(image_->size(), bounds(), scaling_), 1);
}

}  // namespace platform::ui
