// The platform's view class: a retained tree with frames, hit-testing,
// coordinate conversion, appearance inheritance and offscreen rendering with
// Cairo, standing in for NSView and its layer.

#include "platform/ui/View.h"

#include <algorithm>
#include <cmath>

#include <cairo.h>

#include "desktop/ui/AnimationRegistry.h"
#include "desktop/ui/BitmapContext.h"
#include "desktop/ui/CairoCanvas.h"
#include "desktop/ui/WindowButtons.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/Window.h"

namespace platform::ui {
namespace {

bool finite(Rect r) {
    return std::isfinite(r.minX()) && std::isfinite(r.minY()) && std::isfinite(r.width()) && std::isfinite(r.height());
}

// Cairo refuses surfaces wider or taller than this.
constexpr double maximumPixels = 32767;
constexpr double defaultBackingScale = 2;

void render(cairo_t* cr, View& view);

void renderSubview(cairo_t* cr, View& subview) {
    if (subview.isHidden()) return;
    double alpha = subview.presentationAlpha();
    Rect frame = subview.presentationFrame();
    Rect bounds = subview.bounds();
    if (!(alpha > 0) || !finite(frame) || frame.isEmpty() || bounds.isEmpty()) return;
    cairo_save(cr);
    cairo_translate(cr, frame.minX(), frame.minY());
    // A frame animating its size stretches the content, as a layer does.
    if (frame.size != bounds.size) cairo_scale(cr, frame.width() / bounds.width(), frame.height() / bounds.height());
    cairo_rectangle(cr, 0, 0, bounds.width(), bounds.height());
    cairo_clip(cr);
    if (alpha < 1) {
        cairo_push_group(cr);
        render(cr, subview);
        cairo_pop_group_to_source(cr);
        cairo_paint_with_alpha(cr, alpha);
    } else {
        render(cr, subview);
    }
    cairo_restore(cr);
}

// The layer's background and clip come first, then the view's drawing, then
// its subviews inside the same clip.
void render(cairo_t* cr, View& view) {
    cairo_save(cr);
    Rect bounds = view.bounds();
    double radius = view.layerCornerRadius();
    if (view.masksToBounds()) {
        desktop::ui::appendRoundedRect(cr, bounds, radius, radius);
        cairo_clip(cr);
    }
    cairo_save(cr);
    {
        desktop::ui::CairoCanvas canvas(cr, view.effectiveAppearance());
        if (const auto& background = view.layerBackgroundColor())
            canvas.fillRoundedRect(bounds, radius, radius, *background);
        view.draw(canvas);
    }
    cairo_restore(cr);
    // A copy: drawing must not be disturbed by a tree that changes under it.
    std::vector<std::shared_ptr<View>> subviews = view.subviews();
    for (const auto& subview : subviews) renderSubview(cr, *subview);
    cairo_restore(cr);
}

}  // namespace

View::View(Rect frame) : frame_(finite(frame) ? frame : Rect{}) {}

View::~View() { desktop::ui::animations::removeAll(*this); }

void View::setFrame(Rect frame) {
    if (!finite(frame) || frame == frame_) return;
    frame_ = frame;
    desktop::ui::animations::removeFrameAnimation(*this);
    if (window()) updateTrackingAreas();
    setNeedsDisplay();
}

void View::addSubview(const std::shared_ptr<View>& view) {
    if (!view) return;
    // Adding an ancestor (or the view itself) would make the tree a cycle.
    for (const View* v = this; v; v = v->superview_.lock().get())
        if (v == view.get()) return;
    std::shared_ptr<View> keep = view;
    if (auto old = view->superview()) {
        auto& siblings = old->subviews_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), view), siblings.end());
        old->setNeedsDisplay();
    }
    view->superview_ = weak_from_this();
    subviews_.push_back(view);
    view->setWindow(window_);
    setNeedsDisplay();
}

void View::removeFromSuperview() {
    auto parent = superview();
    if (!parent) return;
    // The parent may hold the last reference to this view.
    std::shared_ptr<View> self = weak_from_this().lock();
    auto& siblings = parent->subviews_;
    siblings.erase(std::remove_if(siblings.begin(), siblings.end(), [this](const auto& v) { return v.get() == this; }),
                   siblings.end());
    superview_.reset();
    parent->setNeedsDisplay();
    setWindow({});
}

void View::removeAllSubviews() {
    std::vector<std::shared_ptr<View>> removed;
    removed.swap(subviews_);
    for (const auto& view : removed) {
        view->superview_.reset();
        view->setWindow({});
    }
    if (!removed.empty()) setNeedsDisplay();
}

std::shared_ptr<Window> View::window() const { return window_.lock(); }

void View::setHidden(bool hidden) {
    if (hidden == hidden_) return;
    hidden_ = hidden;
    setNeedsDisplay();
    if (auto parent = superview()) parent->setNeedsDisplay();
}

void View::setAlpha(double alpha) {
    if (!std::isfinite(alpha)) return;
    alpha = std::clamp(alpha, 0.0, 1.0);
    if (alpha == alpha_) return;
    alpha_ = alpha;
    desktop::ui::animations::removeAlphaAnimation(*this);
    setNeedsDisplay();
}

void View::addTrackingArea(const std::shared_ptr<TrackingArea>& area) {
    if (!area || std::find(trackingAreas_.begin(), trackingAreas_.end(), area) != trackingAreas_.end()) return;
    trackingAreas_.push_back(area);
}

void View::removeTrackingArea(const std::shared_ptr<TrackingArea>& area) {
    trackingAreas_.erase(std::remove(trackingAreas_.begin(), trackingAreas_.end(), area), trackingAreas_.end());
}

void View::updateTrackingAreas() {}

void View::setAppearance(std::optional<AppearanceName> appearance) {
    if (appearance == appearance_) return;
    appearance_ = appearance;
    setNeedsDisplay();
}

AppearanceName View::effectiveAppearance() const {
    const View* top = this;
    for (const View* v = this; v; v = v->superview_.lock().get()) {
        if (v->appearance_) return *v->appearance_;
        top = v;
    }
    if (auto w = top->window())
        if (auto appearance = w->appearance()) return *appearance;
    return systemAppearance();
}

void View::setLayerBackgroundColor(std::optional<Color> color) {
    layerBackgroundColor_ = color;
    setNeedsDisplay();
}

void View::setLayerCornerRadius(double radius) {
    radius = std::isfinite(radius) ? std::max(radius, 0.0) : 0.0;
    if (radius == layerCornerRadius_) return;
    layerCornerRadius_ = radius;
    setNeedsDisplay();
}

void View::setMasksToBounds(bool masks) {
    if (masks == masksToBounds_) return;
    masksToBounds_ = masks;
    setNeedsDisplay();
}

void View::setNeedsDisplay(bool value) { needsDisplay_ = value; }

void View::draw(Canvas&) {}

std::shared_ptr<View> View::hitTest(Point pointInSuperview) {
    if (hidden_) return nullptr;
    Rect frame = presentationFrame();
    if (!frame.contains(pointInSuperview)) return nullptr;
    Point local{pointInSuperview.x - frame.minX(), pointInSuperview.y - frame.minY()};
    std::vector<std::shared_ptr<View>> subviews = subviews_;
    for (auto it = subviews.rbegin(); it != subviews.rend(); ++it)
        if (auto hit = (*it)->hitTest(local)) return hit;
    return weak_from_this().lock();
}

void View::scrollWheel(const Event& event) {
    if (auto parent = superview()) parent->scrollWheel(event);
}

// The view at the top of the tree is the content view, whose origin is the
// window's content origin: its own frame origin does not count.
Point View::convertToWindow(Point p) const {
    for (const View* v = this; v; ) {
        auto parent = v->superview_.lock();
        if (!parent) break;
        p.x += v->frame_.minX();
        p.y += v->frame_.minY();
        v = parent.get();
    }
    return p;
}

Point View::convertFromWindow(Point p) const {
    Point origin = convertToWindow({0, 0});
    return {p.x - origin.x, p.y - origin.y};
}

Rect View::convertRectToWindow(Rect r) const { return {convertToWindow(r.origin), r.size}; }

std::shared_ptr<Bitmap> View::bitmapForCachingDisplay(Rect rect) const {
    if (!finite(rect) || rect.isEmpty()) return nullptr;
    double scale = defaultBackingScale;
    if (auto w = window())
        if (auto screen = w->screen(); screen && screen->backingScale > 0) scale = screen->backingScale;
    double wide = std::ceil(rect.width() * scale - 1e-9);
    double high = std::ceil(rect.height() * scale - 1e-9);
    if (wide < 1 || high < 1 || wide > maximumPixels || high > maximumPixels) return nullptr;
    return std::make_shared<Bitmap>(static_cast<int>(wide), static_cast<int>(high), rect.size);
}

void View::cacheDisplay(Rect rect, Bitmap& bitmap) {
    bitmap.pixels().clear();
    if (!finite(rect) || rect.isEmpty()) return;
    desktop::ui::BitmapContext context(bitmap);
    if (!context.isValid()) return;
    cairo_t* cr = context.get();
    Size points = bitmap.size();
    cairo_scale(cr, points.width / rect.width(), points.height / rect.height());
    cairo_translate(cr, -rect.minX(), -rect.minY());
    Rect bounds = this->bounds();
    cairo_rectangle(cr, bounds.minX(), bounds.minY(), bounds.width(), bounds.height());
    cairo_clip(cr);
    cairo_rectangle(cr, rect.minX(), rect.minY(), rect.width(), rect.height());
    cairo_clip(cr);
    render(cr, *this);
    // Over a full-size content view the window server draws the title bar's buttons.
    if (auto w = window(); w && w->contentView().get() == this && w->titlebarHeight() > 0) {
        desktop::ui::CairoCanvas canvas(cr, effectiveAppearance());
        desktop::ui::drawWindowButtons(canvas, *w);
    }
}

Rect View::presentationFrame() const {
    return desktop::ui::animations::presentationFrame(*this).value_or(frame_);
}

double View::presentationAlpha() const {
    return desktop::ui::animations::presentationAlpha(*this).value_or(alpha_);
}

void View::removeAllAnimations() { desktop::ui::animations::removeAll(*this); }

void View::setWindow(const std::weak_ptr<Window>& window) {
    std::shared_ptr<Window> target = window.lock();
    bool selfChanged = window_.lock() != target;
    window_ = window;
    // Parents before children, siblings in order.
    std::vector<std::shared_ptr<View>> changed;
    std::vector<std::shared_ptr<View>> pending(subviews_.rbegin(), subviews_.rend());
    while (!pending.empty()) {
        std::shared_ptr<View> v = std::move(pending.back());
        pending.pop_back();
        if (v->window_.lock() != target) changed.push_back(v);
        v->window_ = window;
        pending.insert(pending.end(), v->subviews_.rbegin(), v->subviews_.rend());
    }
    // Hooks may rebuild the tree; a view that has since moved on is skipped.
    auto notify = [&target](View& v) {
        if (v.window_.lock() != target) return;
        v.viewDidMoveToWindow();
        v.updateTrackingAreas();
    };
    if (selfChanged) {
        std::shared_ptr<View> self = weak_from_this().lock();
        notify(*this);
    }
    for (const auto& v : changed) notify(*v);
}

}  // namespace platform::ui
