// Made-up content for other applications' windows, standing in for pixels the
// simulated Mac does not have: a document with a sidebar, a grid of tiles or
// a code listing, chosen and laid out from the window number so that a
// capture is recognisably that window and never another.

#include "desktop/pictures/ForeignWindowContent.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "desktop/ui/CairoCanvas.h"

namespace desktop {
namespace {

using platform::Rect;
using platform::ui::Color;
using platform::ui::Rgba;

// Enough to fill any window a person could look at; a huge frame stops here.
constexpr int mostElements = 240;
constexpr double lineHeight = 7;
constexpr double lineStep = 16;

const Rgba accents[] = {
    {0.0, 0.478, 1.0, 1}, {0.204, 0.78, 0.349, 1}, {1.0, 0.584, 0.0, 1},
    {0.686, 0.322, 0.871, 1}, {1.0, 0.176, 0.333, 1}, {0.188, 0.69, 0.78, 1},
};

// A small deterministic generator (SplitMix64).
class Seeded {
public:
    explicit Seeded(int seed) : state_(static_cast<std::uint64_t>(seed) * 0x9E3779B97F4A7C15ull + 0x1234567ull) {}
    double unit() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return static_cast<double>((z ^ (z >> 31)) >> 11) / static_cast<double>(1ull << 53);
    }
    double between(double low, double high) { return low + (high - low) * unit(); }
    int below(int count) { return std::min(count - 1, static_cast<int>(unit() * count)); }

private:
    std::uint64_t state_;
};

Color colour(Rgba c, double alpha) { return Color::rgba(c.r, c.g, c.b, alpha); }

double luminance(Rgba c) { return 0.2126 * c.r + 0.7152 * c.g + 0.0722 * c.b; }

// Below it a body is dark: drawn on in white, and left as it is in a dark appearance.
constexpr double darkBodyLuminance = 0.45;

struct Inks {
    Rgba ink;     // black on light bodies, white on dark ones
    Rgba accent;
    double textAlpha;
};

void textLine(desktop::ui::CairoCanvas& canvas, double x, double top, double width, Color colour) {
    if (width <= 1) return;
    canvas.fillRoundedRect({x, top - lineHeight, width, lineHeight}, lineHeight / 2, lineHeight / 2, colour);
}

// Paragraphs of text lines from top down to bottom, in [left, right].
void paragraphs(desktop::ui::CairoCanvas& canvas, Seeded& seeded, const Inks& inks, double left, double right,
                double top, double bottom) {
    double width = right - left;
    double y = top;
    int drawn = 0;
    while (y - lineHeight > bottom && drawn < mostElements) {
        int lines = 2 + seeded.below(4);
        for (int i = 0; i < lines && y - lineHeight > bottom && drawn < mostElements; ++i, ++drawn) {
            double fraction = i + 1 == lines ? seeded.between(0.3, 0.65) : seeded.between(0.82, 1.0);
            textLine(canvas, left, y, width * fraction, colour(inks.ink, inks.textAlpha));
            y -= lineStep;
        }
        y -= lineStep * 0.75;
    }
}

void documentLayout(desktop::ui::CairoCanvas& canvas, Seeded& seeded, const Inks& inks, Rect area) {
    double left = area.minX();
    if (area.width() > 360) {
        double sidebar = std::clamp(area.width() * 0.24, 120.0, 220.0);
        canvas.fillRect({area.minX(), area.minY(), sidebar, area.height()}, colour(inks.ink, 0.045));
        canvas.fillRect({area.minX() + sidebar - 0.5, area.minY(), 0.5, area.height()}, colour(inks.ink, 0.12));
        int selected = seeded.below(4);
        double y = area.maxY() - 16;
        for (int row = 0; row < 14 && y - 20 > area.minY(); ++row, y -= 26) {
            if (row == selected)
                canvas.fillRoundedRect({area.minX() + 8, y - 20, sidebar - 16, 22}, 6, 6, colour(inks.accent, 0.22));
            canvas.fillOval({area.minX() + 16, y - 15, 12, 12}, colour(inks.accent, 0.85));
            textLine(canvas, area.minX() + 36, y - 6, (sidebar - 52) * seeded.between(0.45, 0.9),
                     colour(inks.ink, inks.textAlpha + 0.08));
        }
        left += sidebar;
    }
    double margin = std::clamp(area.width() * 0.05, 14.0, 40.0);
    double top = area.maxY() - margin;
    double right = area.maxX() - margin;
    if (right - left - margin < 20 || top - area.minY() < 20) return;
    canvas.fillRoundedRect({left + margin, top - 14, (right - left - margin) * seeded.between(0.35, 0.6), 14}, 5, 5,
                           colour(inks.ink, inks.textAlpha + 0.3));
    paragraphs(canvas, seeded, inks, left + margin, right, top - 36, area.minY() + margin);
}

void gridLayout(desktop::ui::CairoCanvas& canvas, Seeded& seeded, const Inks& inks, Rect area) {
    constexpr double toolbar = 38;
    double top = area.maxY();
    if (area.height() > toolbar + 40) {
        canvas.fillRect({area.minX(), top - toolbar, area.width(), toolbar}, colour(inks.ink, 0.04));
        canvas.fillRect({area.minX(), top - toolbar, area.width(), 0.5}, colour(inks.ink, 0.12));
        double x = area.minX() + 14;
        for (int i = 0; i < 5 && x + 30 < area.maxX(); ++i, x += 36)
            canvas.fillRoundedRect({x, top - toolbar + 9, 26, 20}, 5, 5, colour(inks.ink, 0.09));
        double field = std::min(180.0, area.width() * 0.3);
        if (area.width() > 420)
            canvas.fillRoundedRect({area.maxX() - field - 14, top - toolbar + 9, field, 20}, 6, 6, colour(inks.ink, 0.08));
        top -= toolbar;
    }
    constexpr double gap = 16;
    int columns = std::clamp(static_cast<int>((area.width() - gap) / 170), 1, 12);
    double tile = (area.width() - gap * (columns + 1)) / columns;
    if (tile < 8) return;
    double tileHeight = tile * 0.68;
    int drawn = 0;
    for (double y = top - gap; y - tileHeight - 26 > area.minY() && drawn < mostElements; y -= tileHeight + 40) {
        for (int c = 0; c < columns && drawn < mostElements; ++c, ++drawn) {
            double x = area.minX() + gap + c * (tile + gap);
            Rgba accent = accents[seeded.below(static_cast<int>(std::size(accents)))];
            canvas.fillRoundedRect({x, y - tileHeight, tile, tileHeight}, 8, 8, colour(accent, seeded.between(0.35, 0.7)));
            textLine(canvas, x, y - tileHeight - 8, tile * seeded.between(0.5, 0.9), colour(inks.ink, inks.textAlpha + 0.1));
            textLine(canvas, x, y - tileHeight - 20, tile * seeded.between(0.3, 0.6), colour(inks.ink, inks.textAlpha));
        }
    }
}

void codeLayout(desktop::ui::CairoCanvas& canvas, Seeded& seeded, const Inks& inks, Rect area) {
    constexpr double gutter = 40;
    canvas.fillRect({area.minX(), area.minY(), std::min(gutter, area.width()), area.height()}, colour(inks.ink, 0.04));
    int indent = 0;
    int drawn = 0;
    for (double y = area.maxY() - 14; y - lineHeight > area.minY() && drawn < mostElements; y -= lineStep, ++drawn) {
        textLine(canvas, area.minX() + 12, y, 16, colour(inks.ink, 0.18));
        if (seeded.unit() < 0.12) continue;  // a blank line
        indent = std::clamp(indent + seeded.below(3) - 1, 0, 3);
        double x = area.minX() + gutter + 12 + indent * 18;
        int tokens = 1 + seeded.below(3);
        for (int t = 0; t < tokens && x < area.maxX() - 20; ++t) {
            double width = seeded.between(24, 110);
            bool coloured = seeded.unit() < 0.45;
            Rgba tint = coloured ? accents[seeded.below(static_cast<int>(std::size(accents)))] : inks.ink;
            textLine(canvas, x, y, std::min(width, area.maxX() - 20 - x), colour(tint, coloured ? 0.75 : inks.textAlpha + 0.15));
            x += width + 8;
        }
    }
}

}  // namespace

Rgba foreignWindowBody(std::optional<Rgba> sceneColour, platform::ui::AppearanceName appearance) {
    if (!sceneColour) return Color::windowBackground().resolved(appearance);
    const Rgba c = *sceneColour;
    if (appearance != platform::ui::AppearanceName::darkAqua || luminance(c) < darkBodyLuminance) return c;
    // White becomes the dark window background's grey; a tint keeps a tenth of itself.
    constexpr double base = 0.11, kept = 0.1;
    return {base + kept * c.r, base + kept * c.g, base + kept * c.b, c.a};
}

void drawForeignWindowContent(desktop::ui::CairoCanvas& canvas, Rect area, int windowNumber, Rgba body) {
    if (!(area.width() > 0) || !(area.height() > 0)) return;
    canvas.fillRect(area, Color::rgba(body.r, body.g, body.b, 1));
    Seeded seeded(windowNumber);
    bool darkBody = luminance(body) < darkBodyLuminance;
    Inks inks{darkBody ? Rgba{1, 1, 1, 1} : Rgba{0, 0, 0, 1},
              accents[seeded.below(static_cast<int>(std::size(accents)))], darkBody ? 0.3 : 0.2};
    canvas.save();
    canvas.clip(area);
    switch (seeded.below(3)) {
        case 0: documentLayout(canvas, seeded, inks, area); break;
        case 1: gridLayout(canvas, seeded, inks, area); break;
        default: codeLayout(canvas, seeded, inks, area); break;
    }
    canvas.restore();
}

}  // namespace desktop
