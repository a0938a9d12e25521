// The system's semantic colour catalogue: what the platform's dynamic colours
// (labelColor, windowBackgroundColor, systemBlueColor ...) resolve to in the
// light and the dark appearance, with the Mac's own values.

#include "platform/ui/Color.h"

#include <algorithm>
#include <cmath>

namespace platform::ui {
namespace {

constexpr Rgba hex(unsigned rgb, double alpha = 1) {
    return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0, alpha};
}
constexpr Rgba black(double alpha) { return {0, 0, 0, alpha}; }
constexpr Rgba white(double alpha) { return {1, 1, 1, alpha}; }

Rgba lightValue(Color::Semantic semantic) {
    using S = Color::Semantic;
    switch (semantic) {
        case S::label: return black(0.85);
        case S::secondaryLabel: return black(0.5);
        case S::tertiaryLabel: return black(0.26);
        case S::quaternaryLabel: return black(0.1);
        case S::windowBackground: return hex(0xECECEC);
        case S::controlBackground: return hex(0xFFFFFF);
        case S::separator: return black(0.1);
        case S::systemBlue: return hex(0x007AFF);
        case S::systemGreen: return hex(0x28CD41);
        case S::systemOrange: return hex(0xFF9500);
        case S::systemRed: return hex(0xFF3B30);
        case S::controlAccent: return hex(0x007AFF);
        case S::clear:
        case S::none: break;
    }
    return {0, 0, 0, 0};
}

Rgba darkValue(Color::Semantic semantic) {
    using S = Color::Semantic;
    switch (semantic) {
        case S::label: return white(0.85);
        case S::secondaryLabel: return white(0.55);
        case S::tertiaryLabel: return white(0.25);
        case S::quaternaryLabel: return white(0.1);
        case S::windowBackground: return hex(0x323232);
        case S::controlBackground: return hex(0x1E1E1E);
        case S::separator: return white(0.1);
        case S::systemBlue: return hex(0x0A84FF);
        case S::systemGreen: return hex(0x32D74B);
        case S::systemOrange: return hex(0xFF9F0A);
        case S::systemRed: return hex(0xFF453A);
        case S::controlAccent: return hex(0x0A84FF);
        case S::clear:
        case S::none: break;
    }
    return {0, 0, 0, 0};
}

double unit(double value) { return std::isfinite(value) ? std::clamp(value, 0.0, 1.0) : 0.0; }

}  // namespace

Rgba Color::resolved(AppearanceName appearance) const {
    Rgba base = semantic_ == Semantic::none ? value_
              : appearance == AppearanceName::darkAqua ? darkValue(semantic_)
                                                       : lightValue(semantic_);
    if (alpha_) base.a = *alpha_;
    return {unit(base.r), unit(base.g), unit(base.b), unit(base.a)};
}

}  // namespace platform::ui
