#pragma once

#include <memory>

namespace platform::ui { class Window; }

namespace orvane {

// The tall test window of the acceptance self-preview: a titled, closable
// window of this process whose content rectangle is 320 × 550 points, with
// a label at its top edge and one at its bottom edge, so that a preview of
// it shows whether the whole window fits. Closing it only hides it: whoever
// made it keeps it and can bring it back.
class SelfPreviewWindow {
public:
    static constexpr double x = 80;
    static constexpr double y = 100;
    static constexpr double width = 320;
    static constexpr double height = 550;
    // Between the window's edges and its content, on all four sides.
    static constexpr double inset = 20;
    static constexpr double labelHeight = 16;
    static constexpr double fontSize = 13;

    // A new window, not yet on screen.
    static std::shared_ptr<platform::ui::Window> make();
};

}  // namespace orvane
