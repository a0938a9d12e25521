// The platform's image class: fixed pixels, or a drawing made on demand at the
// scale it is drawn at, as an image with a drawing handler is.

#include "platform/ui/Image.h"

#include <cmath>

namespace platform::ui {
namespace {
Size sane(Size size) {
    auto dimension = [](double v) { return std::isfinite(v) && v > 0 ? v : 0.0; };
    return {dimension(size.width), dimension(size.height)};
}
}  // namespace

std::shared_ptr<Image> Image::withBitmap(std::shared_ptr<const Bitmap> bitmap, Size pointSize) {
    if (!bitmap) return nullptr;
    return std::make_shared<Image>(sane(pointSize), std::move(bitmap), nullptr);
}

std::shared_ptr<Image> Image::withDrawing(Size pointSize, Drawing drawing) {
    if (!drawing) return nullptr;
    return std::make_shared<Image>(sane(pointSize), nullptr, std::move(drawing));
}

}  // namespace platform::ui
