#pragma once

// The frame the simulated window server draws around titled windows: the
// rounded outline, the title bar with its three buttons and centred title,
// and the soft shadow that windows cast on what lies behind them.

#include <string>

#include <cairo.h>

#include "platform/Geometry.h"
#include "platform/ui/Appearance.h"

namespace desktop::ui { class CairoCanvas; }

namespace desktop::chrome {

inline constexpr double titleBarHeight = 28;
inline constexpr double cornerRadius = 10;

enum class TitleBarBackground { opaque, transparent };

// Clips cr to the rounded outline of a titled window of the size (points,
// origin at the bottom-left).
void clipToOutline(cairo_t* cr, platform::Size size);
// The title bar across the top of a window of the size: its band (unless
// transparent, where the content shows through), the close, minimise and zoom
// buttons and the title.
void drawTitleBar(desktop::ui::CairoCanvas& canvas, platform::Size size, const std::string& title,
                  TitleBarBackground background);
// The hairline around a titled window's outline.
void drawOutlineEdge(desktop::ui::CairoCanvas& canvas, platform::Size size);

// A blurred shadow of a rounded rectangle (points), cast downwards, painted on cr.
struct Shadow {
    double blur = 22;       // points
    double offsetY = -10;   // points; negative: below the shape
    double opacity = 0.38;
};
// covered: the shape will be painted opaquely over it; hidden: the shape is
// translucent and the shadow is kept out of it.
enum class ShadowUnder { covered, hidden };
void drawShadow(cairo_t* cr, platform::Rect shape, double radius, Shadow shadow, ShadowUnder under);

}  // namespace desktop::chrome
