// Open menus on the simulated Mac's screen picture, standing in for the menu
// window the system shows: a rounded panel of blurred, tinted material with
// a shadow, items 22 points high with their checkmarks, icons and key
// equivalents, separators, greyed disabled items and headings, and the item
// under the pointer in the accent colour.

#include "desktop/pictures/MenuPicture.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "desktop/pictures/WindowChrome.h"
#include "desktop/ui/CairoCanvas.h"
#include "desktop/ui/MenuMetrics.h"
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
using namespace desktop::ui::menu;

constexpr double trailingInset = 16;
constexpr double shortcutGap = 28;
constexpr double cornerRadius = 7;
constexpr double fontSize = 13;
constexpr double minimumWidth = 160;
constexpr std::size_t mostItems = 80;

// "q" → "⌘Q", as the system shows a key equivalent.
std::string shortcutText(std::string key) {
    if (key.size() == 1 && key[0] >= 'a' && key[0] <= 'z') key[0] = static_cast<char>(key[0] - 'a' + 'A');
    return "⌘" + key;
}

// How much smaller the copy of what lies beneath is made: scaled back up it
// reads as the menu material's blur.
constexpr int blurFactor = 14;

void roundedPath(cairo_t* cr, Rect r, double radius) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, r.maxX() - radius, r.minY() + radius, radius, -M_PI / 2, 0);
    cairo_arc(cr, r.maxX() - radius, r.maxY() - radius, radius, 0, M_PI / 2);
    cairo_arc(cr, r.minX() + radius, r.maxY() - radius, radius, M_PI / 2, M_PI);
    cairo_arc(cr, r.minX() + radius, r.minY() + radius, radius, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

// What the picture holds under the panel so far, shrunk; nothing when the
// picture is not one of pixels or the panel is off it.
struct Beneath {
    cairo_surface_t* small = nullptr;
    int left = 0, top = 0, width = 0, height = 0;
    Beneath() = default;
    Beneath(const Beneath&) = delete;
    Beneath& operator=(const Beneath&) = delete;
    ~Beneath() {
        if (small) cairo_surface_destroy(small);
    }
};

void copyBeneath(cairo_t* cr, Rect panel, Beneath& beneath) {
    cairo_surface_t* target = cairo_get_target(cr);
    if (cairo_surface_get_type(target) != CAIRO_SURFACE_TYPE_IMAGE) return;
    double x0 = panel.minX(), y0 = panel.minY(), x1 = panel.maxX(), y1 = panel.maxY();
    cairo_user_to_device(cr, &x0, &y0);
    cairo_user_to_device(cr, &x1, &y1);
    int width = cairo_image_surface_get_width(target), height = cairo_image_surface_get_height(target);
    int left = std::clamp(static_cast<int>(std::floor(std::min(x0, x1))), 0, width);
    int top = std::clamp(static_cast<int>(std::floor(std::min(y0, y1))), 0, height);
    int right = std::clamp(static_cast<int>(std::ceil(std::max(x0, x1))), 0, width);
    int bottom = std::clamp(static_cast<int>(std::ceil(std::max(y0, y1))), 0, height);
    if (right - left < 2 || bottom - top < 2) return;
    int smallWidth = std::max(1, (right - left) / blurFactor), smallHeight = std::max(1, (bottom - top) / blurFactor);
    cairo_surface_flush(target);
    cairo_surface_t* small = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, smallWidth, smallHeight);
    cairo_t* shrink = cairo_create(small);
    cairo_scale(shrink, static_cast<double>(smallWidth) / (right - left), static_cast<double>(smallHeight) / (bottom - top));
    cairo_set_source_surface(shrink, target, -left, -top);
    cairo_pattern_set_filter(cairo_get_source(shrink), CAIRO_FILTER_GOOD);
    cairo_paint(shrink);
    cairo_destroy(shrink);
    beneath.small = small;
    beneath.left = left;
    beneath.top = top;
    beneath.width = right - left;
    beneath.height = bottom - top;
}

void paintBlurred(cairo_t* cr, Rect panel, const Beneath& beneath) {
    if (!beneath.small) return;
    cairo_save(cr);
    roundedPath(cr, panel, cornerRadius);
    cairo_clip(cr);
    cairo_identity_matrix(cr);
    cairo_translate(cr, beneath.left, beneath.top);
    cairo_scale(cr, static_cast<double>(beneath.width) / cairo_image_surface_get_width(beneath.small),
                static_cast<double>(beneath.height) / cairo_image_surface_get_height(beneath.small));
    cairo_set_source_surface(cr, beneath.small, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BILINEAR);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_paint(cr);
    cairo_restore(cr);
}

// The checkmark of an item that is on, the dash of a mixed one, in the
// leading inset left of the title.
void drawState(desktop::ui::CairoCanvas& canvas, int state, Rect row, double panelLeft, Color colour) {
    using platform::ui::LineCap;
    if (state == platform::ui::controlState::on)
        canvas.strokePolyline({{panelLeft + 8.5, row.midY() + 0.5}, {panelLeft + 11.8, row.midY() - 3}, {panelLeft + 17, row.midY() + 4.5}},
                              1.7, LineCap::round, colour);
    else if (state == platform::ui::controlState::mixed)
        canvas.strokePolyline({{panelLeft + 9, row.midY()}, {panelLeft + 16, row.midY()}}, 1.7, LineCap::round, colour);
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
    const double titleLeft = textLeft(anyImage);
    double width = std::max(minimumWidth, titleLeft + titleWidth + (shortcutWidth > 0 ? shortcutGap + shortcutWidth : 0) + trailingInset);
    width = std::min(width, screen.width());
    // The system keeps a menu on the screen: it opens leftwards or upwards when it would not fit.
    double left = std::clamp(topLeft.x, screen.minX(), std::max(screen.minX(), screen.maxX() - width));
    double top = std::clamp(topLeft.y, std::min(screen.maxY(), screen.minY() + height), screen.maxY());
    Rect panel{left, top - height, width, height};

    // The material: what lies beneath, blurred before the shadow falls on it, under a tint.
    Beneath beneath;
    copyBeneath(canvas.context(), panel, beneath);
    chrome::drawShadow(canvas.context(), panel, cornerRadius, {14, -6, 0.3}, beneath.small ? chrome::ShadowUnder::hidden : chrome::ShadowUnder::covered);
    paintBlurred(canvas.context(), panel, beneath);
    bool dark = canvas.appearance() == AppearanceName::darkAqua;
    double tint = beneath.small ? 0.8 : 0.96;
    canvas.fillRoundedRect(panel, cornerRadius, cornerRadius, dark ? Color::rgba(0.17, 0.17, 0.19, tint) : Color::rgba(0.97, 0.97, 0.97, tint));
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
        drawState(canvas, item->state(), row, panel.minX(), colour);
        if (item->image) canvas.drawImage(*item->image, {panel.minX() + leadingInset, row.midY() - iconSize / 2, iconSize, iconSize}, item->isEnabled() ? 1 : 0.4);
        auto size = canvas.measureText(item->title(), font);
        canvas.drawText(item->title(), {panel.minX() + titleLeft, row.midY() - size.height / 2, panel.width() - titleLeft - trailingInset, size.height}, font, colour);
        if (!item->keyEquivalent().empty()) {
            std::string shortcut = shortcutText(item->keyEquivalent());
            auto s = canvas.measureText(shortcut, font);
            canvas.drawText(shortcut, {panel.maxX() - trailingInset - s.width, row.midY() - s.height / 2, s.width + 1, s.height}, font,
                            highlighted ? Color::white() : Color::secondaryLabel());
        }
    }
}

}  // namespace desktop
