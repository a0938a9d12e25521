#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/Geometry.h"

namespace platform::ui {

class Bitmap;
class Canvas;

// An image with a point size: either fixed pixels or a drawing made on
// demand at whatever scale it is drawn. Template images are tinted by the
// system for the menu bar.
class Image {
public:
    using Drawing = std::function<void(Canvas&, Rect bounds)>;

    static std::shared_ptr<Image> withBitmap(std::shared_ptr<const Bitmap> bitmap, Size pointSize);
    static std::shared_ptr<Image> withDrawing(Size pointSize, Drawing drawing);
    // The system's symbol image of that name (SF Symbols: "chevron.left",
    // "magnifyingglass" ...), a template drawn crisply at any scale that takes
    // the colour it is drawn in; nothing for a name the system does not know.
    static std::shared_ptr<Image> systemSymbol(const std::string& name, std::string accessibilityDescription = {});
    // Whether the system draws a symbol of that name.
    static bool hasSystemSymbol(const std::string& name);

    Size size() const { return size_; }
    void setSize(Size size) { size_ = size; }
    bool isTemplate() const { return template_; }
    void setTemplate(bool value) { template_ = value; }
    const std::string& accessibilityDescription() const { return accessibilityDescription_; }
    void setAccessibilityDescription(std::string text) { accessibilityDescription_ = std::move(text); }

    const std::shared_ptr<const Bitmap>& bitmap() const { return bitmap_; }
    const Drawing& drawing() const { return drawing_; }
    // A new image sharing the pixels or drawing, so its size can change alone.
    std::shared_ptr<Image> copy() const { return std::make_shared<Image>(*this); }

    Image(Size size, std::shared_ptr<const Bitmap> bitmap, Drawing drawing)
        : size_(size), bitmap_(std::move(bitmap)), drawing_(std::move(drawing)) {}

private:
    Size size_;
    bool template_ = false;
    std::string accessibilityDescription_;
    std::shared_ptr<const Bitmap> bitmap_;
    Drawing drawing_;
};

}  // namespace platform::ui
