#pragma once

#include <memory>

#include "platform/ui/View.h"

namespace platform::ui {

class Image;

namespace imageScaling {
inline constexpr int proportionallyDown = 0;
inline constexpr int axesIndependently = 1;
inline constexpr int none = 2;
inline constexpr int proportionallyUpOrDown = 3;
}  // namespace imageScaling

class ImageView : public View {
public:
    explicit ImageView(Rect frame = {});

    const std::shared_ptr<Image>& image() const { return image_; }
    void setImage(std::shared_ptr<Image> image);
    int imageScaling() const { return scaling_; }
    void setImageScaling(int scaling);

    void draw(Canvas& canvas) override;

private:
    std::shared_ptr<Image> image_;
    int scaling_ = imageScaling::proportionallyDown;
};

}  // namespace platform::ui
