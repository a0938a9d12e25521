// The title bar's buttons as the window server draws them: red, yellow and
// green discs with a darker rim in the key window, grey discs elsewhere, and
// a grey disc for a button the window's style leaves out.

#include "desktop/ui/WindowButtons.h"

#include "platform/ui/Canvas.h"
#include "platform/ui/Window.h"

namespace desktop::ui {
namespace {

using platform::ui::Color;
using platform::ui::WindowButton;

struct Look {
    Color fill;
    Color rim;
};

Look look(WindowButton button, bool active, bool present, bool dark) {
    if (!active || !present)
        return dark ? Look{Color::rgba(0.33, 0.33, 0.33), Color::rgba(0.28, 0.28, 0.28)}
                    : Look{Color::rgba(0.86, 0.86, 0.86), Color::rgba(0.78, 0.78, 0.78)};
    switch (button) {
        case WindowButton::close: return {Color::rgba(1.0, 0.373, 0.341), Color::rgba(0.886, 0.275, 0.247)};
        case WindowButton::miniaturize: return {Color::rgba(0.996, 0.737, 0.18), Color::rgba(0.882, 0.631, 0.086)};
        case WindowButton::zoom: return {Color::rgba(0.157, 0.784, 0.251), Color::rgba(0.071, 0.675, 0.157)};
    }
    return {Color::rgba(0.86, 0.86, 0.86), Color::rgba(0.78, 0.78, 0.78)};
}

}  // namespace

void drawWindowButton(platform::ui::Canvas& canvas, platform::Rect disc, WindowButton button, bool active, bool present) {
    Look l = look(button, active, present, canvas.appearance() == platform::ui::AppearanceName::darkAqua);
    canvas.fillOval(disc, l.rim);
    canvas.fillOval(disc.insetBy(0.5, 0.5), l.fill);
}

void drawWindowButtons(platform::ui::Canvas& canvas, const platform::ui::Window& window) {
    bool active = window.isKey();
    unsigned mask = window.styleMask();
    // The close button's place also fixes the other two.
    auto close = window.standardButtonFrame(WindowButton::close);
    auto zoom = window.standardButtonFrame(WindowButton::zoom);
    if (!zoom) return;
    double pitch = zoom->minX() - window.standardButtonFrame(WindowButton::miniaturize)->minX();
    platform::Rect first = close ? *close : zoom->offsetBy(-2 * pitch, 0);
    const WindowButton buttons[3] = {WindowButton::close, WindowButton::miniaturize, WindowButton::zoom};
    const bool present[3] = {(mask & platform::ui::styleMask::closable) != 0, (mask & platform::ui::styleMask::miniaturizable) != 0,
                             (mask & platform::ui::styleMask::resizable) != 0};
    for (int i = 0; i < 3; ++i) {
        drawWindowButton(canvas, first.offsetBy(i * pitch, 0), buttons[i], active, present[i]);
    }
}

}  // namespace desktop::ui
