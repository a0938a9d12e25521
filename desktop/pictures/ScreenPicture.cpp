// The whole screen of the simulated Mac as one picture, standing in for a
// screenshot of the display: what the compositor would show, layer by layer
// from the desktop picture up to the pointer, at the screen's backing scale.

#include "desktop/pictures/ScreenPicture.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <limits>

#include "desktop/apps/ProcessTable.h"
#include "desktop/pictures/DockPicture.h"
#include "desktop/pictures/MenuBarPicture.h"
#include "desktop/pictures/MenuPicture.h"
#include "desktop/pictures/ShadowImages.h"
#include "desktop/pictures/WindowChrome.h"
#include "desktop/pictures/WindowPicture.h"
#include "desktop/ui/BitmapContext.h"
#include "desktop/ui/CairoCanvas.h"
#include "desktop/windowserver/MenuServer.h"
#include "desktop/windowserver/Pointer.h"
#include "desktop/windowserver/WindowList.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/Screen.h"
#include "platform/ui/StatusBar.h"
#include "platform/ui/Window.h"

namespace desktop {
namespace {

using platform::Point;
using platform::Rect;
using platform::ui::AppearanceName;

// The window server's levels of the Dock and the menu bar.
constexpr int dockLevel = 20;
constexpr int menuBarLevel = 24;
constexpr double largestSide = 16384;
constexpr double borderlessShadowRadius = 12;

namespace texts {
constexpr const char* noScreen = "the simulated Mac has no screen to picture";
constexpr const char* noRegion = "the region is not on the screen, or the scale is not between 1 and 4";
constexpr const char* cannotWrite = "cannot write the picture to ";
}  // namespace texts

struct Stop {
    double at, r, g, b;
};

// A calm diagonal gradient with two soft glows, in the manner of the
// system's own desktop pictures.
void paintDesktopPicture(cairo_t* cr, Rect frame, AppearanceName appearance) {
    bool dark = appearance == AppearanceName::darkAqua;
    const Stop light[] = {{0, 0.36, 0.55, 0.86}, {0.45, 0.62, 0.58, 0.88}, {1, 0.97, 0.72, 0.66}};
    const Stop night[] = {{0, 0.05, 0.09, 0.24}, {0.5, 0.17, 0.12, 0.33}, {1, 0.36, 0.17, 0.34}};
    cairo_pattern_t* gradient = cairo_pattern_create_linear(frame.minX(), frame.maxY(), frame.maxX(), frame.minY());
    for (const Stop& stop : dark ? night : light) cairo_pattern_add_color_stop_rgb(gradient, stop.at, stop.r, stop.g, stop.b);
    cairo_rectangle(cr, frame.minX(), frame.minY(), frame.width(), frame.height());
    cairo_set_source(cr, gradient);
    cairo_fill(cr);
    cairo_pattern_destroy(gradient);

    auto glow = [&](double fx, double fy, double radius, double r, double g, double b, double alpha) {
        double cx = frame.minX() + frame.width() * fx;
        double cy = frame.minY() + frame.height() * fy;
        double rr = std::max(frame.width(), frame.height()) * radius;
        cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0, cx, cy, rr);
        cairo_pattern_add_color_stop_rgba(p, 0, r, g, b, alpha);
        cairo_pattern_add_color_stop_rgba(p, 1, r, g, b, 0);
        cairo_rectangle(cr, frame.minX(), frame.minY(), frame.width(), frame.height());
        cairo_set_source(cr, p);
        cairo_fill(cr);
        cairo_pattern_destroy(p);
    };
    if (dark) {
        glow(0.22, 0.3, 0.55, 0.32, 0.2, 0.62, 0.45);
        glow(0.85, 0.8, 0.45, 0.1, 0.35, 0.6, 0.35);
    } else {
        glow(0.2, 0.25, 0.55, 1.0, 0.86, 0.78, 0.55);
        glow(0.82, 0.85, 0.45, 0.55, 0.75, 1.0, 0.5);
    }
}

// The desktop picture is an image made once per screen size and appearance,
// as the system keeps it, rather than painted again for every picture.
// False when it cannot be drawn; the picture's pixels are then left as they were.
bool drawDesktopPicture(cairo_t* cr, const platform::ui::Screen& screen, AppearanceName appearance) {
    struct Cached {
        Rect frame;
        double scale = 0;
        AppearanceName appearance = AppearanceName::aqua;
        std::shared_ptr<platform::ui::Bitmap> image;
    };
    static Cached cached;
    double scale = screen.backingScale;
    if (!cached.image || cached.frame != screen.frame || cached.scale != scale || cached.appearance != appearance) {
        auto image = std::make_shared<platform::ui::Bitmap>(static_cast<int>(std::ceil(screen.frame.width() * scale - 1e-9)),
                                                            static_cast<int>(std::ceil(screen.frame.height() * scale - 1e-9)),
                                                            screen.frame.size);
        desktop::ui::BitmapContext context(*image);
        if (!context.isValid()) return false;
        cairo_translate(context.get(), -screen.frame.minX(), -screen.frame.minY());
        paintDesktopPicture(context.get(), screen.frame, appearance);
        cached = {screen.frame, scale, appearance, std::move(image)};
    }
    cairo_surface_t* surface = desktop::ui::createSurface(*cached.image);
    if (!surface) return false;
    // The image's rows run top down at the screen's scale; the picture may be
    // of a region only, at a scale of its own. It is the bottom layer: it
    // replaces whatever the pixels held, as painting it over transparent
    // pixels would, so the picture's bitmap need not be cleared first.
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_translate(cr, screen.frame.minX(), screen.frame.maxY());
    cairo_scale(cr, 1 / scale, -1 / scale);
    cairo_set_source_surface(cr, surface, 0, 0);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(surface);
    return true;
}

// The arrow pointer with its tip at the point: black with a white rim.
void drawPointer(cairo_t* cr, Point tip) {
    static const Point arrow[] = {{0, 0}, {0, -16.5}, {3.9, -12.9}, {6.6, -19.2}, {9.2, -18.1},
                                  {6.6, -11.9}, {11.8, -11.9}};
    auto path = [&] {
        cairo_new_path(cr);
        for (const Point& p : arrow) cairo_line_to(cr, tip.x + p.x, tip.y + p.y);
        cairo_close_path(cr);
    };
    cairo_save(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_translate(cr, 0.6, -1.0);
    path();
    cairo_set_source_rgba(cr, 0, 0, 0, 0.22);
    cairo_set_line_width(cr, 3.2);
    cairo_stroke(cr);
    cairo_translate(cr, -0.6, 1.0);
    path();
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_set_line_width(cr, 2.4);
    cairo_stroke_preserve(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_fill(cr);
    cairo_restore(cr);
}

bool castsShadow(const WindowRecord& record) {
    return record.window ? record.window->hasShadow() : true;
}

// Everything a window and its shadow can touch: the shadow's image reaches
// its margin beyond the frame, moved by its offset, plus a pixel of the image
// and one of its filter.
Rect reachOnScreen(Rect frame) {
    chrome::Shadow shadow;
    double reach = chrome::shadowMargin(shadow.blur) + std::abs(shadow.offsetY) + 2 / chrome::shadowImageScale;
    return frame.insetBy(-reach, -reach);
}

void drawWindowOnScreen(cairo_t* cr, const WindowRecord& record, Rect region) {
    Rect frame = pictureFrame(record);
    if (!(frame.width() > 0) || !(frame.height() > 0)) return;
    // A window that leaves the region untouched costs nothing.
    if (!reachOnScreen(frame).intersects(region)) return;
    if (castsShadow(record)) {
        bool titled = hasTitledOutline(record);
        double radius = titled ? chrome::cornerRadius : borderlessShadowRadius;
        bool translucent = !titled && (!record.window->isOpaque() || record.window->hasClearBackground());
        auto under = translucent ? chrome::ShadowUnder::hidden : chrome::ShadowUnder::covered;
        chrome::drawShadow(cr, frame, radius, {}, under);
    }
    cairo_save(cr);
    cairo_translate(cr, frame.minX(), frame.minY());
    drawWindow(cr, record);
    cairo_restore(cr);
}

std::string activeApplicationName() {
    for (const auto& app : ProcessTable::shared().runningApplications())
        if (app->isActive()) return app->localizedName().value_or("");
    return {};
}

// The strip below the visible frame, where the Dock sits.
Rect dockArea(const platform::ui::Screen& screen) {
    double height = std::max(0.0, screen.visibleFrame.minY() - screen.frame.minY());
    return {screen.frame.minX(), screen.frame.minY(), screen.frame.width(), height};
}

// The menu bar's band: from the top of the visible frame to the top of the
// screen, or the status bar's thickness when the visible frame reaches the top.
Rect menuBarBand(const platform::ui::Screen& screen) {
    double band = screen.frame.maxY() - screen.visibleFrame.maxY();
    if (!(band > 0)) band = platform::ui::systemStatusBar().thickness();
    return {screen.frame.minX(), screen.frame.maxY() - band, screen.frame.width(), band};
}

}  // namespace

namespace {

std::shared_ptr<platform::ui::Bitmap> pictureOf(const platform::ui::Screen& screen, Rect region, double scale) {
    double wide = std::ceil(region.width() * scale - 1e-9);
    double high = std::ceil(region.height() * scale - 1e-9);
    if (!(wide >= 1) || !(high >= 1) || wide > largestSide || high > largestSide) return nullptr;
    // The desktop picture below everything writes every pixel.
    auto bitmap = std::make_shared<platform::ui::Bitmap>(static_cast<int>(wide), static_cast<int>(high), region.size,
                                                         platform::ui::BitmapPixels::unset);
    desktop::ui::BitmapContext context(*bitmap);
    if (!context.isValid()) return nullptr;
    cairo_t* cr = context.get();
    cairo_translate(cr, -region.minX(), -region.minY());
    AppearanceName appearance = platform::ui::systemAppearance();

    if (!drawDesktopPicture(cr, screen, appearance)) {
        cairo_save(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
        cairo_paint(cr);
        cairo_restore(cr);
    }
    // The Dock and the menu bar are the system's own layers among the windows.
    struct SystemLayer {
        int level;
        std::function<void(desktop::ui::CairoCanvas&)> draw;
        bool drawn = false;
    };
    SystemLayer layers[] = {
        {dockLevel, [&](desktop::ui::CairoCanvas& canvas) { drawDock(canvas, dockArea(screen)); }},
        {menuBarLevel, [&](desktop::ui::CairoCanvas& canvas) { drawMenuBar(canvas, menuBarBand(screen), activeApplicationName()); }},
    };
    auto drawLayersBelow = [&](int level) {
        for (auto& layer : layers) {
            if (layer.drawn || layer.level > level) continue;
            desktop::ui::CairoCanvas canvas(cr, appearance);
            layer.draw(canvas);
            layer.drawn = true;
        }
    };
    auto windows = WindowList::shared().visibleFrontToBack();
    std::reverse(windows.begin(), windows.end());
    for (const auto& record : windows) {
        drawLayersBelow(record.level);
        drawWindowOnScreen(cr, record, region);
    }
    drawLayersBelow(std::numeric_limits<int>::max());
    Point menuTopLeft;
    if (auto menu = openMenuAt(menuTopLeft)) {
        desktop::ui::CairoCanvas canvas(cr, appearance);
        drawMenu(canvas, *menu, menuTopLeft, screen.frame, pointerLocation());
    }
    drawPointer(cr, pointerLocation());
    return bitmap;
}

std::optional<std::string> writePicture(const std::shared_ptr<platform::ui::Bitmap>& picture, const std::string& path,
                                        const char* whenNone) {
    if (!picture) return whenNone;
    std::string png = picture->pngData();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (out) out.write(png.data(), static_cast<std::streamsize>(png.size()));
    if (png.empty() || !out.good()) return texts::cannotWrite + path;
    return std::nullopt;
}

}  // namespace

std::shared_ptr<platform::ui::Bitmap> screenPicture() {
    auto screens = platform::ui::screens();
    if (screens.empty()) return nullptr;
    const platform::ui::Screen& screen = screens.front();
    return pictureOf(screen, screen.frame, screen.backingScale > 0 ? screen.backingScale : 2);
}

std::shared_ptr<platform::ui::Bitmap> screenPicture(Rect region, double scale) {
    auto screens = platform::ui::screens();
    if (screens.empty() || !(scale >= 1 && scale <= 4)) return nullptr;
    const Rect& frame = screens.front().frame;
    Rect clipped{std::max(region.minX(), frame.minX()), std::max(region.minY(), frame.minY()), 0, 0};
    clipped.size = {std::min(region.maxX(), frame.maxX()) - clipped.minX(), std::min(region.maxY(), frame.maxY()) - clipped.minY()};
    if (!(clipped.width() >= 1) || !(clipped.height() >= 1)) return nullptr;
    return pictureOf(screens.front(), clipped, scale);
}

std::optional<std::string> writeScreenPicture(const std::string& path) { return writePicture(screenPicture(), path, texts::noScreen); }

std::optional<std::string> writeScreenPicture(const std::string& path, Rect region, double scale) {
    if (platform::ui::screens().empty()) return texts::noScreen;
    return writePicture(screenPicture(region, scale), path, texts::noRegion);
}

}  // namespace desktop
