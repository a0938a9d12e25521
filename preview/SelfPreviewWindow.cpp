#include "preview/SelfPreviewWindow.h"

#include <algorithm>

#include "platform/ui/Label.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"
#include "preview/PreviewTexts.h"

namespace orvane {
namespace {

namespace ui = platform::ui;

// A vertical stack that fills the window inside its insets: the top label,
// an empty view that takes the free height, the bottom label.
class SelfPreviewStack final : public ui::View {
public:
    SelfPreviewStack()
        : top_(makeLabel(previewTexts::selfPreviewTop)),
          middle_(std::make_shared<ui::View>()),
          bottom_(makeLabel(previewTexts::selfPreviewBottom)) {
        addSubview(top_);
        addSubview(middle_);
        addSubview(bottom_);
    }

    void setFrame(platform::Rect frame) override {
        View::setFrame(frame);
        const double inset = SelfPreviewWindow::inset;
        const double labelHeight = SelfPreviewWindow::labelHeight;
        const double inner = std::max(0.0, frame.width() - 2 * inset);
        const double top = std::max(inset, frame.height() - inset - labelHeight);
        top_->setFrame({inset, top, inner, labelHeight});
        bottom_->setFrame({inset, inset, inner, labelHeight});
        const double middleBottom = inset + labelHeight;
        middle_->setFrame({inset, middleBottom, inner, std::max(0.0, top - middleBottom)});
    }

private:
    static std::shared_ptr<ui::Label> makeLabel(const char* text) {
        auto label = std::make_shared<ui::Label>(platform::Rect{}, text);
        label->setFont(ui::Font::system(SelfPreviewWindow::fontSize));
        label->setAlignment(ui::Label::Alignment::center);
        return label;
    }

    std::shared_ptr<ui::Label> top_;
    std::shared_ptr<ui::View> middle_;
    std::shared_ptr<ui::Label> bottom_;
};

}  // namespace

std::shared_ptr<ui::Window> SelfPreviewWindow::make() {
    auto window = ui::Window::create({x, y, width, height}, ui::styleMask::titled | ui::styleMask::closable,
                                     ui::backing::buffered, false);
    window->setTitle(previewTexts::selfPreviewTitle);
    // Closing only hides it; the controller keeps it and shows it again.
    window->setReleasedWhenClosed(false);
    window->setContentView(std::make_shared<SelfPreviewStack>());
    return window;
}

}  // namespace orvane
