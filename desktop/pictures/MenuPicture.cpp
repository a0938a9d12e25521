// Open menus on the simulated Mac's screen picture, standing in for the menu
// window the system shows: a rounded translucent panel with a shadow, items
// 22 points high with their icons and key equivalents, separators, greyed
// disabled items and headings, and the item under the pointer in the accent colour.

#include "desktop/pictures/MenuPicture.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "desktop/pictures/WindowChrome.h"
#include "desktop/ui/CairoCanvas.h"
#include "platform/ui/Color.h"
#include "platform/ui/Font.h"
#include "platform/ui/Image.h"
#include "platform/ui/Menu.h"

namespace desktop {
namespace {

using platform::Point;
using platform::Rect;
using platform::ui::AppearanceName;
using platform::ui::Color;
using platform::ui::Font;

constexpr double itemHeight = 22;
constexpr double separatorHeight = 11;
constexpr double verticalPadding = 5;
constexpr double leadingInset = 22;
constexpr double iconSize = 16;
constexpr double trailingInset = 16;
constexpr double shortcutGap = 28;
constexpr double cornerRadius = 7;
constexpr double fontSize = 13;
constexpr double minimumWidth = 160;
constexpr std::size_t mostItems = 80;

double itemHeightOf(const platform::ui::MenuItem& item) { return item.isSeparator() ? separatorHeight : itemHeight; }

// "q" → "⌘Q", as the system shows a key equivalent.
std::string shortcutText(std::string key) {
    if (key.size() == 1 && key[0] >= 'a' && key[0] <= 'z') key[0] = static_cast<char>(key[0] - 'a' + 'A');
    return "⌘" + key;
}

}  // namespace

void drawMenu(desktop::ui::CairoCanvas& canvas, const platform::ui::Menu& menu, Point topLeft, Rect screen, Point pointer) {
    if (!std::isfinite(topLeft.x) || !std::isfinite(topLeft.y)) return;
    Font font = Font::system(fontSize);
    bool anyImage = false;
    double titleWidth = 0, shortcutWidth = 0, height = 2 * verticalPadding;
    std::size_t count = 0;
    for (const auto& item : menu.items()) {
        if (!item || count++ >= mostItems) continue;
        height += itemHeightOf(*item);
        if (item->isSeparator()) continue;
        anyImage = anyImage || item->image;
        titleWidth = std::max(titleWidth, canvas.measureText(item->title(), font).width);
        if (!item->keyEquivalent().empty())
            shortcutWidth = std::max(shortcutWidth, canvas.measureText(shortcutText(item->keyEquivalent()), font).width);
    }
    double textLeft = leadingInset + (anyImage ? iconSize + 6 : 0);
    double width = std::max(minimumWidth, textLeft + titleWidth + (shortcutWidth > 0 ? shortcutGap + shortcutWidth : 0) + trailingInset);
    width = std::min(width, screen.width());
    // The system keeps a menu on the screen: it opens leftwards or upwards when it would not fit.
    double left = std::clamp(topLeft.x, screen.minX(), std::max(screen.minX(), screen.maxX() - width));
    double top = std::clamp(topLeft.y, std::min(screen.maxY(), screen.minY() + height), screen.maxY());
    Rect panel{left, top - height, width, height};

    chrome::drawShadow(canvas.context(), panel, cornerRadius, {14, -6, 0.3}, chrome::ShadowUnder::covered);
    bool dark = canvas.appearance() == AppearanceName::darkAqua;
    canvas.fillRoundedRect(panel, cornerRadius, cornerRadius, dark ? Color::rgba(0.17, 0.17, 0.19, 0.96) : Color::rgba(0.97, 0.97, 0.97, 0.96));
    canvas.strokeRoundedRect(panel.insetBy(0.25, 0.25), cornerRadius, 0.5, dark ? Color::white().withAlpha(0.18) : Color::black().withAlpha(0.14));

    Color ink = Color::label();
    double y = panel.maxY() - verticalPadding;
    count = 0;
    for (const auto& item : menu.items()) {
        if (!item || count++ >= mostItems) continue;
        double h = itemHeightOf(*item);
        Rect row{panel.minX() + 5, y - h, panel.width() - 10, h};
        y -= h;
        if (item->isSeparator()) {
            canvas.fillRect({row.minX() + 5, row.midY() - 0.25, row.width() - 10, 0.5}, Color::named(Color::Semantic::separator).withAlpha(0.16));
            continue;
        }
        bool highlighted = item->isEnabled() && row.contains(pointer);
        if (highlighted) canvas.fillRoundedRect(row, 4, 4, Color::named(Color::Semantic::controlAccent));
        Color colour = highlighted ? Color::white() : item->isEnabled() ? ink : Color::named(Color::Semantic::tertiaryLabel);
        if (item->image) canvas.drawImage(*item->image, {panel.minX() + leadingInset, row.midY() - iconSize / 2, iconSize, iconSize}, item->isEnabled() ? 1 : 0.4);
        auto size = canvas.measureText(item->title(), font);
        canvas.drawText(item->title(), {panel.minX() + textLeft, row.midY() - size.height / 2, panel.width() - textLeft - trailingInset, size.height}, font, colour);
        if (!item->keyEquivalent().empty()) {
            std::string shortcut = shortcutText(item->keyEquivalent());
            auto s = canvas.measureText(shortcut, font);
            canvas.drawText(shortcut, {panel.maxX() - trailingInset - s.width, row.midY() - s.height / 2, s.width + 1, s.height}, font,
                            highlighted ? Color::white() : Color::secondaryLabel());
        }
    }
}

}  // namespace desktop
