#pragma once

#include "platform/ui/Color.h"

// Colours the settings pages share, named as the platform names them.
namespace orvane::settingsStyle {

using platform::ui::Color;

inline Color secondary() { return Color::secondaryLabel(); }
inline Color tertiary() { return Color::named(Color::Semantic::tertiaryLabel); }
// The quaternary fill behind the banner and the search box: the label
// colour, faint, so it darkens a light window and lightens a dark one.
inline Color quaternaryTint() { return Color::label().withAlpha(0.08); }
inline Color orange() { return Color::named(Color::Semantic::systemOrange); }
inline Color green() { return Color::named(Color::Semantic::systemGreen); }

}  // namespace orvane::settingsStyle
