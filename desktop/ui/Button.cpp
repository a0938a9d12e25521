// The platform's push button: a bezel and a centred title or image, and a
// click that runs its action while it is enabled.

#include "platform/ui/Button.h"

#include <algorithm>

#include "desktop/ui/ImageFitting.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"

namespace platform::ui {
namespace {
double titleSize(int size) {
    if (size == controlSize::small) return 11;
    if (size == controlSize::mini) return 9;
    return 13;
}
constexpr double imageGap = 4;
constexpr double roundedRadius = 5;
constexpr double squareRadius = 2;
}  // namespace

Button::Button(Rect frame) : View(frame) { setAccessibilityRole(role::button); }

void Button::setTitle(std::string title) {
    if (title == title_) return;
    title_ = std::move(title);
    setNeedsDisplay();
}

void Button::setEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    setNeedsDisplay();
}

void Button::setBordered(bool bordered) {
    if (bordered == bordered_) return;
    bordered_ = bordered;
    setNeedsDisplay();
}

void Button::setControlSize(int size) {
    if (size == controlSize_) return;
    controlSize_ = size;
    setNeedsDisplay();
}

void Button::setImage(std::shared_ptr<Image> image) {
    if (image == image_) return;
    image_ = std::move(image);
    setNeedsDisplay();
}

void Button::setAction(std::string actionName, std::function<void()> action) {
    actionName_ = std::move(actionName);
    action_ = std::move(action);
}

void Button::performClick() {
    if (!enabled_ || !action_) return;
    // The action may release the button (a menu rebuilt, a window closed).
    auto action = action_;
    action();
}

void Button::draw(Canvas& canvas) {
    Rect area = bounds();
    if (bordered_) {
        double radius = bezelStyle_ == bezel::rounded ? roundedRadius : squareRadius;
        Rect bezelRect = area.insetBy(0.5, 0.5);
        canvas.fillRoundedRect(bezelRect, radius, radius, Color::controlBackground());
        canvas.strokeRoundedRect(bezelRect, radius, 1, Color::named(Color::Semantic::separator));
    }
    Font font = Font::system(titleSize(controlSize_));
    Size text = title_.empty() ? Size{} : canvas.measureText(title_, font);
    Rect imageRect;
    if (image_) imageRect = desktop::ui::fitImage(image_->size(), area, imageScaling::proportionallyDown);
    double contentWidth = std::min(text.width + (image_ ? imageRect.width() + (text.width > 0 ? imageGap : 0) : 0), area.width());
    double x = area.midX() - contentWidth / 2;
    if (image_) {
        imageRect.origin.x = x;
        canvas.drawImage(*image_, imageRect, enabled_ ? 1 : 0.5);
        x = imageRect.maxX() + imageGap;
    }
    if (!title_.empty()) {
        Color color = enabled_ ? Color::label() : Color::named(Color::Semantic::tertiaryLabel);
        double width = std::max(area.maxX() - x, 0.0);
        canvas.drawText(title_, {x, area.midY() - text.height / 2, std::min(text.width, width), text.height}, font, color);
    }
}

void Button::mouseDown(const Event&) {
    if (enabled_) performClick();
}

}  // namespace platform::ui
