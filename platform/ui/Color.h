#pragma once

#include <optional>

#include "platform/ui/Appearance.h"

namespace platform::ui {

struct Rgba {
    double r = 0, g = 0, b = 0, a = 0;
    friend bool operator==(const Rgba&, const Rgba&) = default;
};

// A colour as the toolkit knows it: a fixed value or a semantic name that is
// resolved against the appearance it is drawn in.
class Color {
public:
    enum class Semantic {
        none, label, secondaryLabel, tertiaryLabel, windowBackground, controlBackground,
        separator, systemBlue, systemGreen, systemOrange, systemRed, controlAccent, clear,
        quaternaryLabel,  // the faint tint behind banners and search boxes
    };

    static Color rgba(double r, double g, double b, double a = 1) { return Color(Semantic::none, {r, g, b, a}, std::nullopt); }
    static Color named(Semantic s) { return Color(s, {}, std::nullopt); }
    static Color label() { return named(Semantic::label); }
    static Color secondaryLabel() { return named(Semantic::secondaryLabel); }
    static Color tertiaryLabel() { return named(Semantic::tertiaryLabel); }
    static Color quaternaryLabel() { return named(Semantic::quaternaryLabel); }
    static Color separator() { return named(Semantic::separator); }
    static Color systemGreen() { return named(Semantic::systemGreen); }
    static Color systemOrange() { return named(Semantic::systemOrange); }
    static Color systemRed() { return named(Semantic::systemRed); }
    static Color controlAccent() { return named(Semantic::controlAccent); }
    static Color windowBackground() { return named(Semantic::windowBackground); }
    static Color controlBackground() { return named(Semantic::controlBackground); }
    static Color systemBlue() { return named(Semantic::systemBlue); }
    static Color clear() { return named(Semantic::clear); }
    static Color black() { return rgba(0, 0, 0, 1); }
    static Color white() { return rgba(1, 1, 1, 1); }

    // Replaces the alpha, as the platform's colorWithAlphaComponent does:
    // label().withAlpha(0.5) is the label colour at alpha 0.5, not 0.425.
    Color withAlpha(double alpha) const { return Color(semantic_, value_, alpha); }

    Semantic semantic() const { return semantic_; }
    // Resolves the colour for an appearance, alpha applied.
    Rgba resolved(AppearanceName appearance) const;

private:
    Color(Semantic s, Rgba v, std::optional<double> alpha) : semantic_(s), value_(v), alpha_(alpha) {}
    Semantic semantic_;
    Rgba value_;
    std::optional<double> alpha_;  // nothing: the colour's own alpha
};

}  // namespace platform::ui
