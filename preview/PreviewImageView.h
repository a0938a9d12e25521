#pragma once

#include <functional>

#include "platform/ui/ImageView.h"

namespace orvane {

// An image view with a click recogniser: a click anywhere on it runs click.
class PreviewImageView : public platform::ui::ImageView {
public:
    using ImageView::ImageView;

    std::function<void()> click;

    void mouseDown(const platform::ui::Event& event) override;
};

}  // namespace orvane
