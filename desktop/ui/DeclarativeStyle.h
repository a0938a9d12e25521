#pragma once

// The look of the declarative toolkit's controls on the simulated Mac: the
// metrics and colours of the platform's regular-size controls, sidebars,
// inset lists and grouped forms, in the light and the dark appearance.

#include "platform/ui/Appearance.h"
#include "platform/ui/Color.h"

namespace desktop::ui::style {

using platform::ui::AppearanceName;
using platform::ui::Color;

// Window and split view.
inline constexpr double toolbarHeight = 52;
inline constexpr double toolbarTitleSize = 15;
inline constexpr double toolbarTitleInset = 20;
inline constexpr double toolbarItemHeight = 28;
inline constexpr double toolbarItemPadding = 8;
inline constexpr double toolbarItemSpacing = 4;
inline constexpr double toolbarTrailingInset = 12;
inline constexpr double sidebarIdealWidth = 190;
inline constexpr double sidebarRowHeight = 28;
inline constexpr double sidebarRowInset = 10;
inline constexpr double sidebarRowPadding = 8;
inline constexpr double sidebarSelectionRadius = 6;

// Controls.
inline constexpr double controlHeight = 22;
inline constexpr double controlRadius = 5;
inline constexpr double buttonTitlePadding = 10;
inline constexpr double buttonMinimumWidth = 32;
inline constexpr double switchWidth = 32;
inline constexpr double switchHeight = 18;
inline constexpr double popUpTextInset = 8;
inline constexpr double popUpArrowWidth = 20;
inline constexpr double stepperWidth = 13;
inline constexpr double stepperGap = 6;
inline constexpr double fieldTextInset = 5;
inline constexpr double fieldMinimumWidth = 40;
inline constexpr double fieldIdealWidth = 160;
inline constexpr double titleGap = 8;       // a control's title and the control
inline constexpr double formTitleGap = 16;  // the same, spanning a form row
inline constexpr double spinnerSize = 18;
inline constexpr double focusRingWidth = 3;

// Labels and symbols: a glyph's square is this much of the font size.
inline constexpr double symbolScale = 1.2;
inline constexpr double labelGap = 6;

// Inset lists.
inline constexpr double listInset = 10;
inline constexpr double listVerticalInset = 6;
inline constexpr double listRowPaddingV = 6;
inline constexpr double listRowPaddingH = 10;
inline constexpr double listRowRadius = 6;

// Grouped forms.
inline constexpr double formInset = 20;
inline constexpr double formSectionSpacing = 20;
inline constexpr double formHeaderGap = 7;
inline constexpr double formHeaderInset = 4;
inline constexpr double formRowPaddingV = 8;
inline constexpr double formRowPaddingH = 10;
inline constexpr double formRowMinimumHeight = 22;
inline constexpr double formBoxRadius = 8;
inline constexpr double formHeaderSize = 13;

// The standard empty-search-result view.
inline constexpr double emptySymbolSize = 40;
inline constexpr double emptyTitleSize = 17;
inline constexpr double emptyMaximumWidth = 360;

// Scrolling: a line of a wheel without precise deltas moves this far.
inline constexpr double lineScroll = 10;

// Dimming of disabled controls.
inline constexpr double disabledAlpha = 0.42;

inline bool dark(AppearanceName a) { return a == AppearanceName::darkAqua; }

inline Color sidebarBackground(AppearanceName a) { return dark(a) ? Color::rgba(0.165, 0.165, 0.17) : Color::rgba(0.905, 0.9, 0.905); }
inline Color sidebarSelection(AppearanceName a) { return dark(a) ? Color::rgba(1, 1, 1, 0.1) : Color::rgba(0, 0, 0, 0.09); }
inline Color detailBackground(AppearanceName a) { return dark(a) ? Color::rgba(0.18, 0.18, 0.185) : Color::rgba(0.965, 0.965, 0.965); }
inline Color listBackground(AppearanceName a) { return dark(a) ? Color::rgba(0.118, 0.118, 0.118) : Color::rgba(1, 1, 1); }
inline Color alternateRow(AppearanceName a) { return dark(a) ? Color::rgba(1, 1, 1, 0.045) : Color::rgba(0.957, 0.96, 0.96); }
// The overlay scroller the system shows over a scrolled area's right edge.
inline constexpr double scrollerWidth = 7;
inline constexpr double scrollerInset = 2;
inline constexpr double scrollerShortest = 18;
inline Color scrollerKnob(AppearanceName a) { return dark(a) ? Color::rgba(1, 1, 1, 0.42) : Color::rgba(0, 0, 0, 0.38); }
inline Color groupedBackground(AppearanceName a) { return dark(a) ? Color::rgba(0.145, 0.145, 0.15) : Color::rgba(0.94, 0.94, 0.94); }
inline Color groupedBox(AppearanceName a) { return dark(a) ? Color::rgba(1, 1, 1, 0.05) : Color::rgba(1, 1, 1, 0.85); }
inline Color groupedBoxBorder(AppearanceName a) { return dark(a) ? Color::rgba(1, 1, 1, 0.07) : Color::rgba(0, 0, 0, 0.07); }
inline Color bezel(AppearanceName a) { return dark(a) ? Color::rgba(1, 1, 1, 0.16) : Color::rgba(1, 1, 1); }
inline Color bezelBorder(AppearanceName a) { return dark(a) ? Color::rgba(1, 1, 1, 0.06) : Color::rgba(0, 0, 0, 0.16); }
inline Color switchOff(AppearanceName a) { return dark(a) ? Color::rgba(1, 1, 1, 0.2) : Color::rgba(0, 0, 0, 0.1); }
inline Color knob(AppearanceName a) { return dark(a) ? Color::rgba(0.85, 0.85, 0.85) : Color::rgba(1, 1, 1); }
inline Color fieldBackground(AppearanceName a) { return dark(a) ? Color::rgba(1, 1, 1, 0.06) : Color::rgba(1, 1, 1); }
inline Color toolbarIcon(AppearanceName a) { return dark(a) ? Color::rgba(1, 1, 1, 0.7) : Color::rgba(0, 0, 0, 0.62); }

}  // namespace desktop::ui::style
