#pragma once

#include "platform/ui/Color.h"

// Colours the settings pages share, named as the platform names them.
namespace orvane::settingsStyle {

using platform::ui::Color;

inline Color secondary() { return Color::secondaryLabel(); }
inline Color tertiary() { return Color::tertiaryLabel(); }
// The faint fill behind the banner and the search box.
inline Color quaternaryTint() { return Color::quaternaryLabel(); }
inline Color orange() { return Color::systemOrange(); }
inline Color green() { return Color::systemGreen(); }

}  // namespace orvane::settingsStyle
