#include "host/PlayRegions.h"

#include <algorithm>
#include <cmath>

namespace host {

namespace {

using platform::Point;
using platform::Rect;

// Around the pointer's tip: the arrow reaches 12 points right and 20 down,
// its rim and shadow a little further.
Rect pointerBox(Point tip) { return {tip.x - 4, tip.y - 25, 21, 30}; }

// Grown outwards to tile boundaries (tiles counted from the screen's top-left
// corner, as the frame's pixels are) and clipped to the screen.
Rect aligned(Rect r, const LookInputs& in, double tilePoints) {
    const double left = std::max(r.minX(), in.screen.minX()), right = std::min(r.maxX(), in.screen.maxX());
    const double bottom = std::max(r.minY(), in.screen.minY()), top = std::min(r.maxY(), in.screen.maxY());
    if (!(right > left) || !(top > bottom)) return {};
    // Columns from the left edge, rows from the top edge.
    const double x0 = std::floor((left - in.screen.minX()) / tilePoints) * tilePoints;
    const double x1 = std::min(std::ceil((right - in.screen.minX()) / tilePoints) * tilePoints, in.screen.width());
    const double down0 = std::floor((in.screen.maxY() - top) / tilePoints) * tilePoints;
    const double down1 = std::min(std::ceil((in.screen.maxY() - bottom) / tilePoints) * tilePoints, in.screen.height());
    return {in.screen.minX() + x0, in.screen.maxY() - down1, x1 - x0, down1 - down0};
}

Rect united(Rect a, Rect b) {
    const double x0 = std::min(a.minX(), b.minX()), y0 = std::min(a.minY(), b.minY());
    return {x0, y0, std::max(a.maxX(), b.maxX()) - x0, std::max(a.maxY(), b.maxY()) - y0};
}

bool touches(Rect a, Rect b) {
    return a.minX() <= b.maxX() && b.minX() <= a.maxX() && a.minY() <= b.maxY() && b.minY() <= a.maxY();
}

double area(Rect r) { return r.width() * r.height(); }

}  // namespace

std::optional<std::vector<Rect>> partsToDraw(const LookInputs& in, int tilePixels) {
    if (!(in.scale > 0) || !(area(in.screen) > 0)) return std::nullopt;
    const double tilePoints = tilePixels / in.scale;
    // The pixel grid of the parts must be the frame's: whole pixels per tile.
    if (std::abs(tilePoints * in.scale - tilePixels) > 1e-9 || std::abs(in.screen.minX() * in.scale - std::round(in.screen.minX() * in.scale)) > 1e-9)
        return std::nullopt;
    std::vector<Rect> wanted = {pointerBox(in.pointerThen), pointerBox(in.pointerNow),
                                {in.screen.minX(), in.menuBarBottom, in.screen.width(), in.screen.maxY() - in.menuBarBottom}};
    // The card's shadow reaches past its frame.
    for (const auto& card : {in.cardThen, in.cardNow})
        if (card) wanted.push_back({card->minX() - 24, card->minY() - 32, card->width() + 48, card->height() + 48});
    std::vector<Rect> parts;
    for (const Rect& r : wanted) {
        Rect part = aligned(r, in, tilePoints);
        if (!(area(part) > 0)) continue;
        // Parts that touch are drawn as one, unless their bounding box is
        // larger than the two (the card hanging from the menu bar's band
        // would make a band as wide as the screen).
        for (bool merged = true; merged;) {
            merged = false;
            for (auto it = parts.begin(); it != parts.end(); ++it)
                if (touches(*it, part) && area(united(*it, part)) <= area(*it) + area(part)) {
                    part = united(*it, part);
                    parts.erase(it);
                    merged = true;
                    break;
                }
        }
        parts.push_back(part);
    }
    double total = 0;
    for (const Rect& part : parts) total += area(part);
    // Each part costs the drawing of every window once more: beyond half the
    // screen, or many parts, the whole picture is as cheap.
    if (total > area(in.screen) * 0.5 || parts.size() > 3) return std::nullopt;
    return parts;
}

}  // namespace host
