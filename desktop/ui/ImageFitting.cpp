// Image placement inside views, following the platform's scaling modes.

#include "desktop/ui/ImageFitting.h"

#include <algorithm>

#include "platform/ui/ImageView.h"

namespace desktop::ui {

platform::Rect fitImage(platform::Size image, platform::Rect into, int scaling) {
    namespace mode = platform::ui::imageScaling;
    if (scaling == mode::axesIndependently || image.width <= 0 || image.height <= 0) return into;
    double fit = std::min(into.width() / image.width, into.height() / image.height);
    double factor = 1;
    if (scaling == mode::proportionallyUpOrDown) factor = fit;
    else if (scaling == mode::proportionallyDown) factor = std::min(fit, 1.0);
    double width = image.width * factor;
    double height = image.height * factor;
    return {into.midX() - width / 2, into.midY() - height / 2, width, height};
}

}  // namespace desktop::ui
