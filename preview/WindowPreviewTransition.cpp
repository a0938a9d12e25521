// Showing a captured image on the card, and the transition that brings a new
// window on display: the new image slides in from the side of the user's
// last step while the old one slides out, or simply fades in under reduced
// motion. A transition is matched to its completion by the card's
// animationEpoch, so anything that moves the epoch on (a newer transition, a
// state without image, stop) disowns the completion of the running one.

#include <string>

#include "platform/Workspace.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "preview/PreviewImageView.h"
#include "preview/PreviewTexts.h"
#include "preview/WindowPreview.h"

namespace orvane {

namespace ui = platform::ui;

void WindowPreview::present(std::shared_ptr<ui::Image> image, const platform::ShareableWindow& window) {
    const std::optional<std::uint32_t> previousID = displayedID_;
    std::shared_ptr<ui::Image> oldImage = imageView_->image();

    displayedSize_ = window.frame.size;
    displayedID_ = window.windowID;
    imageView_->setImage(std::move(image));
    previewState_ = previewTexts::live;

    const std::string title = window.title && !window.title->empty() ? *window.title : previewTexts::untitledWindow;
    caption_->setText(std::to_string(index() + 1) + previewTexts::captionCountSeparator +
                      std::to_string(windows_.size()) + previewTexts::captionTitleSeparator + title);

    updateLayout();
    // The same window captured again simply replaces its image. When steps
    // led back to the window already shown, nothing slides and the switch
    // ends here.
    if (!previousID || *previousID != window.windowID) {
        transition(oldImage);
    } else if (isSwitching_ && stepAwaitsPicture_ && selectedID_ == window.windowID) {
        stepAwaitsPicture_ = false;
        isSwitching_ = false;
        enableStepButtons();
    }
}

void WindowPreview::transition(const std::shared_ptr<ui::Image>& oldImage) {
    const std::uint64_t epoch = ++animationEpoch_;
    stepAwaitsPicture_ = false;
    const bool reduceMotion = platform::workspace().accessibilityDisplayShouldReduceMotion();
    const double slide = reduceMotion ? 0.0 : transitionDirection_ * slideDistance;
    const platform::Rect bounds = viewport_->bounds();

    outgoingImage_->setImage(oldImage);
    outgoingImage_->setAlpha(1.0);
    imageView_->setAlpha(0.0);
    imageView_->setFrame(bounds.offsetBy(slide, 0));
    if (oldImage) ++transitionCount_;

    std::shared_ptr<ui::View> incoming = imageView_;
    std::shared_ptr<ui::View> outgoing = outgoingImage_;
    std::weak_ptr<WindowPreview> weak = weakSelf();
    ui::runAnimationGroup(
        reduceMotion ? reducedMotionDuration : transitionDuration, ui::TimingFunction::easeInEaseOut,
        [&](ui::Animator& animator) {
            animator.setAlpha(incoming, 1.0);
            animator.setFrame(incoming, bounds);
            animator.setAlpha(outgoing, 0.0);
            animator.setFrame(outgoing, bounds.offsetBy(-slide, 0));
        },
        [weak, epoch] {
            if (auto self = weak.lock()) self->finishTransition(epoch);
        });
}

void WindowPreview::finishTransition(std::uint64_t epoch) {
    if (animationEpoch_ != epoch || stopped_) return;
    outgoingImage_->setImage(nullptr);
    isSwitching_ = false;
    enableStepButtons();
}

}  // namespace orvane
