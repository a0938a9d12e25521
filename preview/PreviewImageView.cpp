#include "preview/PreviewImageView.h"

namespace orvane {

void PreviewImageView::mouseDown(const platform::ui::Event&) {
    // The action may close the card and release this view.
    if (auto run = click) run();
}

}  // namespace orvane
