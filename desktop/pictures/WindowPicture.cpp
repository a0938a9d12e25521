// Window pictures of the simulated window server, standing in for what the
// compositor holds of each window: a foreign window is drawn from its record
// (frame, title, colour, number); a window of ours from its own view tree,
// rendered offscreen by the toolkit and framed with the window's chrome.

#include "desktop/pictures/WindowPicture.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "desktop/pictures/ForeignWindowContent.h"
#include "desktop/pictures/WindowChrome.h"
#include "desktop/ui/BitmapContext.h"
#include "desktop/ui/CairoCanvas.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/Screen.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"

namespace desktop {
namespace {

using platform::Rect;
using platform::Size;
using platform::ui::AppearanceName;
using platform::ui::Bitmap;
using platform::ui::Rgba;
using platform::ui::Window;
namespace styleMask = platform::ui::styleMask;

// The largest offscreen rendering of one of our content views, per side;
// it is never larger than the visible part of the picture anyway.
constexpr double largestContentPixels = 16384;

bool titled(const Window& window) { return window.styleMask() & styleMask::titled; }
bool fullSizeContent(const Window& window) { return window.styleMask() & styleMask::fullSizeContentView; }

bool finiteSize(Size size) { return std::isfinite(size.width) && std::isfinite(size.height); }

// "#rrggbb" or "#rrggbbaa"; anything else is nothing.
std::optional<Rgba> parseColour(const std::string& text) {
    if ((text.size() != 7 && text.size() != 9) || text[0] != '#') return std::nullopt;
    for (std::size_t i = 1; i < text.size(); ++i)
        if (!std::isxdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
    auto component = [&](std::size_t at) { return std::strtol(text.substr(at, 2).c_str(), nullptr, 16) / 255.0; };
    return Rgba{component(1), component(3), component(5), text.size() == 9 ? component(7) : 1.0};
}

// Device pixels per user-space unit at cr's current transform.
double deviceScale(cairo_t* cr) {
    double x = 1, y = 0;
    cairo_user_to_device_distance(cr, &x, &y);
    double scale = std::hypot(x, y);
    return std::isfinite(scale) && scale > 0 ? scale : 1;
}

void drawForeignWindow(cairo_t* cr, const WindowRecord& record, AppearanceName appearance) {
    Size size = record.frame.size;
    desktop::ui::CairoCanvas canvas(cr, appearance);
    cairo_save(cr);
    chrome::clipToOutline(cr, size);
    Rgba body = foreignWindowBody(parseColour(record.color), appearance);
    double bodyHeight = std::max(0.0, size.height - chrome::titleBarHeight);
    drawForeignWindowContent(canvas, {0, 0, size.width, bodyHeight}, record.number, body);
    chrome::drawTitleBar(canvas, size, record.title, chrome::TitleBarBackground::opaque);
    cairo_restore(cr);
    chrome::drawOutlineEdge(canvas, size);
}

// The part of the content view that can show, rendered offscreen by the
// toolkit at the scale it lands on and placed into area (points, y upwards).
// Only what lies within cr's clip is rendered, so a huge window costs no more
// than the picture it appears in.
void drawContentView(cairo_t* cr, platform::ui::View& content, Rect area) {
    Rect bounds = content.bounds();
    if (bounds.isEmpty() || area.isEmpty()) return;
    double scale = deviceScale(cr);
    double clipLeft, clipBottom, clipRight, clipTop;
    cairo_clip_extents(cr, &clipLeft, &clipBottom, &clipRight, &clipTop);
    // Whole device pixels from the area's corner, so the rendering lands on the pixel grid.
    auto snapDown = [&](double v, double origin) { return origin + std::floor((v - origin) * scale) / scale; };
    auto snapUp = [&](double v, double origin) { return origin + std::ceil((v - origin) * scale) / scale; };
    double left = std::max(area.minX(), snapDown(std::min(clipLeft, clipRight), area.minX()));
    double right = std::min(area.maxX(), snapUp(std::max(clipLeft, clipRight), area.minX()));
    double bottom = std::max(area.minY(), snapDown(std::min(clipBottom, clipTop), area.minY()));
    double top = std::min(area.maxY(), snapUp(std::max(clipBottom, clipTop), area.minY()));
    if (!(right > left) || !(top > bottom)) return;
    Rect visible{left, bottom, right - left, top - bottom};
    scale = std::min(scale, largestContentPixels / std::max(visible.width(), visible.height()));
    int wide = std::max(1, static_cast<int>(std::ceil(visible.width() * scale - 1e-9)));
    int high = std::max(1, static_cast<int>(std::ceil(visible.height() * scale - 1e-9)));
    // cacheDisplay clears it before drawing.
    Bitmap bitmap(wide, high, visible.size, platform::ui::BitmapPixels::unset);
    content.cacheDisplay(visible.offsetBy(-area.minX(), -area.minY()), bitmap);
    cairo_surface_t* surface = desktop::ui::createSurface(bitmap);
    if (!surface) return;
    cairo_save(cr);
    cairo_rectangle(cr, visible.minX(), visible.minY(), visible.width(), visible.height());
    cairo_clip(cr);
    // Bitmap rows run downwards.
    cairo_translate(cr, visible.minX(), visible.maxY());
    cairo_scale(cr, visible.width() / wide, -visible.height() / high);
    cairo_set_source_surface(cr, surface, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(surface);
}

void drawOurWindow(cairo_t* cr, const WindowRecord& record, AppearanceName appearance) {
    const Window& window = *record.window;
    Size size = pictureFrame(record).size;
    desktop::ui::CairoCanvas canvas(cr, appearance);
    bool isTitled = titled(window);
    cairo_save(cr);
    if (isTitled) chrome::clipToOutline(cr, size);
    if (isTitled || (window.isOpaque() && !window.hasClearBackground()))
        canvas.fillRect({0, 0, size.width, size.height}, platform::ui::Color::windowBackground());
    if (const auto& content = window.contentView()) drawContentView(cr, *content, {0, 0, window.frame().width(), window.frame().height()});
    // Under a transparent title bar the content runs to the top and its own
    // toolbar carries the title; the content's rendering already holds the
    // window's buttons, so they are drawn here only for a window without content.
    if (isTitled && fullSizeContent(window)) {
        if (!window.contentView()) chrome::drawTitleBar(canvas, size, {}, chrome::TitleBarBackground::transparent);
    } else if (isTitled)
        chrome::drawTitleBar(canvas, size, window.title(), chrome::TitleBarBackground::opaque);
    cairo_restore(cr);
    if (isTitled) chrome::drawOutlineEdge(canvas, size);
}

double backingScaleOf(const WindowRecord& record) {
    if (record.window)
        if (auto screen = record.window->screen(); screen && screen->backingScale > 0) return screen->backingScale;
    double best = 0;
    double scale = 0;
    for (const auto& screen : platform::ui::screens()) {
        double w = std::min(record.frame.maxX(), screen.frame.maxX()) - std::max(record.frame.minX(), screen.frame.minX());
        double h = std::min(record.frame.maxY(), screen.frame.maxY()) - std::max(record.frame.minY(), screen.frame.minY());
        if (w > 0 && h > 0 && w * h > best) {
            best = w * h;
            scale = screen.backingScale;
        }
    }
    if (scale > 0) return scale;
    auto screens = platform::ui::screens();
    return !screens.empty() && screens.front().backingScale > 0 ? screens.front().backingScale : 2;
}

// Where a window lands in a picture of a given pixel size: device pixels
// per point and the top-left corner of the window in device pixels.
struct Placement {
    bool drawable;
    double scale, left, top;
    Size size;
};

Placement placementOf(const WindowRecord& record, int pixelsWide, int pixelsHigh, PictureFit fit) {
    Size size = pictureFrame(record).size;
    bool drawable = finiteSize(size) && size.width > 0 && size.height > 0;
    double scale = !drawable ? 1
                   : fit == PictureFit::scaleToFit ? std::min(pixelsWide / size.width, pixelsHigh / size.height)
                                                   : backingScaleOf(record);
    double left = fit == PictureFit::scaleToFit ? (pixelsWide - size.width * scale) / 2 : 0;
    double top = fit == PictureFit::scaleToFit ? (pixelsHigh - size.height * scale) / 2 : 0;
    return {drawable && scale > 0, scale, left, top, size};
}

// Premultiplied ARGB, the bitmap's pixel layout.
std::uint32_t premultiplied(Rgba colour) {
    auto channel = [](double value) {
        return static_cast<std::uint32_t>(std::lround(std::clamp(value, 0.0, 1.0) * 255));
    };
    double alpha = std::clamp(colour.a, 0.0, 1.0);
    return channel(alpha) << 24 | channel(colour.r * alpha) << 16 | channel(colour.g * alpha) << 8 |
           channel(colour.b * alpha);
}

}  // namespace

Rect pictureFrame(const WindowRecord& record) {
    Rect frame = record.frame;
    if (record.window && titled(*record.window) && !fullSizeContent(*record.window)) frame.size.height += chrome::titleBarHeight;
    return frame;
}

bool hasTitledOutline(const WindowRecord& record) { return !record.window || titled(*record.window); }

AppearanceName windowAppearance(const WindowRecord& record) {
    if (record.window)
        if (auto appearance = record.window->appearance()) return *appearance;
    return platform::ui::systemAppearance();
}

void drawWindow(cairo_t* cr, const WindowRecord& record) {
    Size size = pictureFrame(record).size;
    if (!finiteSize(size) || !(size.width > 0) || !(size.height > 0)) return;
    if (record.window)
        drawOurWindow(cr, record, windowAppearance(record));
    else
        drawForeignWindow(cr, record, windowAppearance(record));
}

std::shared_ptr<Bitmap> windowPicture(const WindowRecord& record, int pixelsWide, int pixelsHigh, PictureFit fit) {
    pixelsWide = std::max(pixelsWide, 1);
    pixelsHigh = std::max(pixelsHigh, 1);
    Placement at = placementOf(record, pixelsWide, pixelsHigh, fit);
    Size size = at.size;
    double scale = at.scale;
    auto bitmap = std::make_shared<Bitmap>(pixelsWide, pixelsHigh, Size{pixelsWide / scale, pixelsHigh / scale});
    if (!at.drawable) return bitmap;
    cairo_surface_t* surface = desktop::ui::createSurface(*bitmap);
    if (!surface) return bitmap;
    cairo_t* cr = cairo_create(surface);
    // Device space runs downwards from the top-left; the window is drawn in
    // points upwards from its bottom-left corner.
    double left = at.left;
    double top = at.top;
    cairo_translate(cr, left, top + size.height * scale);
    cairo_scale(cr, scale, -scale);
    drawWindow(cr, record);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    cairo_surface_destroy(surface);
    return bitmap;
}

std::shared_ptr<Bitmap> plainWindowPicture(const WindowRecord& record, int pixelsWide, int pixelsHigh, PictureFit fit) {
    if (record.window) return windowPicture(record, pixelsWide, pixelsHigh, fit);
    pixelsWide = std::max(pixelsWide, 1);
    pixelsHigh = std::max(pixelsHigh, 1);
    Placement at = placementOf(record, pixelsWide, pixelsHigh, fit);
    // Every pixel is written below, inside the window or around it.
    auto bitmap = std::make_shared<Bitmap>(pixelsWide, pixelsHigh, Size{pixelsWide / at.scale, pixelsHigh / at.scale},
                                           platform::ui::BitmapPixels::unset);
    auto span = [](double from, double length, int limit) {
        double first = std::clamp(std::round(from), 0.0, double(limit));
        double last = std::clamp(std::round(from + length), first, double(limit));
        return std::pair<int, int>(static_cast<int>(first), static_cast<int>(last));
    };
    auto [x0, x1] = at.drawable ? span(at.left, at.size.width * at.scale, pixelsWide) : std::pair<int, int>(0, 0);
    auto [y0, y1] = at.drawable ? span(at.top, at.size.height * at.scale, pixelsHigh) : std::pair<int, int>(0, 0);
    const std::uint32_t body = premultiplied(foreignWindowBody(parseColour(record.color), windowAppearance(record)));
    // One row of the window is written word by word and copied to the
    // others; the rows around it are cleared whole.
    const auto wide = static_cast<std::size_t>(pixelsWide);
    const std::size_t rowBytes = wide * sizeof(std::uint32_t);
    std::uint32_t* words = bitmap->pixels().data();
    if (x0 == x1 || y0 == y1) {
        bitmap->pixels().clear();
        return bitmap;
    }
    std::memset(words, 0, static_cast<std::size_t>(y0) * rowBytes);
    std::uint32_t* first = words + static_cast<std::size_t>(y0) * wide;
    std::fill(first, first + x0, 0u);
    std::fill(first + x0, first + x1, body);
    std::fill(first + x1, first + wide, 0u);
    for (int y = y0 + 1; y < y1; ++y) std::memcpy(words + static_cast<std::size_t>(y) * wide, first, rowBytes);
    std::memset(words + static_cast<std::size_t>(y1) * wide, 0, static_cast<std::size_t>(pixelsHigh - y1) * rowBytes);
    return bitmap;
}

}  // namespace desktop
