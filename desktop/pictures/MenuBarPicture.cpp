// The system menu bar on the simulated Mac's screen picture, standing in for
// the menu bar the window server draws: a translucent band over the desktop,
// the Apple logo, the active application's name in bold and its menus with
// the titles a Simplified Chinese system shows; at the right end, the clock,
// Control Centre and the status items of other applications where their
// accessibility frames put them.

#include "desktop/pictures/MenuBarPicture.h"

#include <algorithm>

#include "desktop/apps/ProcessTable.h"
#include "desktop/permissions/AccessibilityMirror.h"
#include "desktop/ui/CairoCanvas.h"
#include "desktop/windowserver/SystemMenuExtras.h"
#include "platform/Utf8.h"
#include "platform/ui/Color.h"
#include "platform/ui/Font.h"

namespace desktop {
namespace {

using platform::Rect;
using platform::ui::AppearanceName;
using platform::ui::Color;
using platform::ui::Font;

// The standard menus every application's menu bar carries after its own.
const char* const standardMenus[] = {"文件", "编辑", "显示", "窗口", "帮助"};

constexpr double leftMargin = 18;
constexpr double menuSpacing = 20;
constexpr double fontSize = 13;

// The Apple logo in a box of 14 x 17 points whose bottom-left is at the
// origin: the body of two lobes with a bite taken out, and the leaf.
void drawAppleLogo(cairo_t* cr, double x, double y, double height, platform::ui::Rgba ink) {
    double s = height / 17.0;
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, s, s);
    cairo_push_group(cr);
    cairo_set_source_rgba(cr, ink.r, ink.g, ink.b, 1);
    // The body.
    cairo_move_to(cr, 7, 12.2);
    cairo_curve_to(cr, 5.6, 13.0, 3.8, 13.2, 2.5, 12.2);
    cairo_curve_to(cr, 0.4, 10.6, -0.3, 7.0, 1.0, 4.2);
    cairo_curve_to(cr, 2.0, 2.0, 3.6, 0.2, 5.0, 0.3);
    cairo_curve_to(cr, 5.9, 0.35, 6.3, 0.8, 7.0, 0.8);
    cairo_curve_to(cr, 7.7, 0.8, 8.1, 0.35, 9.0, 0.3);
    cairo_curve_to(cr, 10.4, 0.2, 12.0, 2.0, 13.0, 4.2);
    cairo_curve_to(cr, 14.3, 7.0, 13.6, 10.6, 11.5, 12.2);
    cairo_curve_to(cr, 10.2, 13.2, 8.4, 13.0, 7.0, 12.2);
    cairo_close_path(cr);
    cairo_fill(cr);
    // The leaf.
    cairo_save(cr);
    cairo_translate(cr, 8.6, 15.0);
    cairo_rotate(cr, 0.75);
    cairo_scale(cr, 1.0, 2.1);
    cairo_arc(cr, 0, 0, 1.15, 0, 2 * 3.14159265358979);
    cairo_restore(cr);
    cairo_fill(cr);
    // The bite.
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_arc(cr, 14.6, 7.6, 2.6, 0, 2 * 3.14159265358979);
    cairo_fill(cr);
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, ink.a);
    cairo_restore(cr);
}

// Control Centre's symbol: two pill switches, one on and one off, 16 points wide.
void drawControlCentre(desktop::ui::CairoCanvas& canvas, double midX, double midY, Color ink) {
    const double width = 16, height = 6.2;
    for (int row = 0; row < 2; ++row) {
        Rect pill{midX - width / 2, midY + (row == 0 ? 1.2 : -1.2 - height), width, height};
        canvas.strokeRoundedRect(pill.insetBy(0.6, 0.6), height / 2 - 0.6, 1.2, ink);
        double knobX = row == 0 ? pill.maxX() - height : pill.minX();
        canvas.fillOval({knobX + 1.6, pill.minY() + 1.6, height - 3.2, height - 3.2}, ink);
    }
}

// Another application's status item: a template image in the ink of the bar.
// The stand-in draws the application's initial in a rounded frame, the way
// many such items show a monogram.
void drawForeignItem(desktop::ui::CairoCanvas& canvas, Rect frame, const std::string& name, Color ink) {
    const double side = std::min(16.0, frame.height() - 4);
    Rect box{frame.midX() - side / 2, frame.midY() - side / 2, side, side};
    canvas.strokeRoundedRect(box.insetBy(0.7, 0.7), 3.5, 1.4, ink);
    // The first character, whole: a name in Chinese starts with three bytes.
    const std::size_t first = name.empty() ? 0 : platform::utf8SequenceLength(name, 0);
    std::string initial = first == 0 ? std::string("?") : name.substr(0, first);
    Font font = Font::system(11, Font::Weight::bold);
    auto size = canvas.measureText(initial, font);
    canvas.drawText(initial, {box.midX() - size.width / 2, box.midY() - size.height / 2, size.width + 1, size.height}, font, ink);
}

void drawRightEnd(desktop::ui::CairoCanvas& canvas, Rect band, Color ink) {
    const auto& extras = systemMenuExtras();
    if (!extras.clock.empty()) {
        Font font = Font::system(fontSize);
        auto size = canvas.measureText(extras.clock, font);
        double clockLeft = band.maxX() - 10 - size.width;
        canvas.drawText(extras.clock, {clockLeft, band.midY() - size.height / 2, size.width + 1, size.height}, font, ink);
        drawControlCentre(canvas, clockLeft - 22, band.midY(), ink);
    }
    // Other applications' items, where the accessibility server says they are
    // (frames from the top of the screen).
    for (const auto& app : ProcessTable::shared().runningApplications()) {
        if (!app || app->isTerminated()) continue;
        auto record = AccessibilityMirror::shared().lookup(app->processIdentifier());
        if (!record) continue;
        for (const auto& extra : record->extras) {
            if (extra.hidden || !extra.position || !extra.size) continue;
            Rect frame{extra.position->x, band.maxY() - extra.position->y - extra.size->height, extra.size->width, extra.size->height};
            if (!(frame.width() > 0) || !(frame.height() > 0) || !frame.intersects(band)) continue;
            drawForeignItem(canvas, frame, app->localizedName().value_or(""), ink);
        }
    }
}

}  // namespace

void drawMenuBar(desktop::ui::CairoCanvas& canvas, Rect band, const std::string& activeApplicationName) {
    if (!(band.width() > 0) || !(band.height() > 0)) return;
    bool dark = canvas.appearance() == AppearanceName::darkAqua;
    canvas.fillRect(band, dark ? Color::rgba(0.11, 0.11, 0.13, 0.62) : Color::rgba(0.97, 0.97, 0.98, 0.62));
    canvas.fillRect({band.minX(), band.minY(), band.width(), 0.5}, dark ? Color::black().withAlpha(0.5) : Color::black().withAlpha(0.08));

    Color ink = dark ? Color::white().withAlpha(0.92) : Color::black().withAlpha(0.86);
    double logoHeight = std::min(15.0, band.height() * 0.6);
    double midY = band.midY();
    drawAppleLogo(canvas.context(), band.minX() + leftMargin, midY - logoHeight / 2, logoHeight, ink.resolved(canvas.appearance()));

    double x = band.minX() + leftMargin + logoHeight * 14 / 17 + menuSpacing + 4;
    auto title = [&](const std::string& text, Font font) {
        if (text.empty()) return;
        auto size = canvas.measureText(text, font);
        canvas.drawText(text, {x, midY - size.height / 2, size.width + 1, size.height}, font, ink);
        x += size.width + menuSpacing;
    };
    title(activeApplicationName, Font::system(fontSize, Font::Weight::bold));
    for (const char* menu : standardMenus) title(menu, Font::system(fontSize));
    drawRightEnd(canvas, band, ink);
}

}  // namespace desktop
