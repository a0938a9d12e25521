// Presentation values of animated views, as Core Animation's render tree
// keeps them: interpolated from the run loop's clock, so the manual clock of
// tests moves them exactly.

#include "desktop/ui/AnimationRegistry.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "platform/RunLoop.h"
#include "platform/ui/View.h"

namespace desktop::ui {
namespace {

struct ControlPoints { double x1, y1, x2, y2; };

// The platform's named media timing functions.
ControlPoints controlPoints(TimingFunction function) {
    switch (function) {
        case TimingFunction::linear: return {0, 0, 1, 1};
        case TimingFunction::easeIn: return {0.42, 0, 1, 1};
        case TimingFunction::easeOut: return {0, 0, 0.58, 1};
        case TimingFunction::easeInEaseOut: return {0.42, 0, 0.58, 1};
    }
    return {0, 0, 1, 1};
}

double bezier(double a, double b, double t) {
    double u = 1 - t;
    return 3 * u * u * t * a + 3 * u * t * t * b + t * t * t;
}

template <typename Value>
struct Track {
    Value from;
    Value to;
    AnimationTiming timing;
};

struct Entry {
    std::weak_ptr<View> view;
    std::optional<Track<Rect>> frame;
    std::optional<Track<double>> alpha;
};

std::unordered_map<const View*, Entry>& registry() {
    static std::unordered_map<const View*, Entry> entries;
    return entries;
}

// The linear progress of a track now, nothing once it has finished.
template <typename Value>
std::optional<double> progress(const std::optional<Track<Value>>& track) {
    if (!track) return std::nullopt;
    double elapsed = platform::runLoop().now() - track->timing.start;
    if (!(track->timing.duration > 0) || elapsed >= track->timing.duration) return std::nullopt;
    return std::max(elapsed, 0.0) / track->timing.duration;
}

Entry* find(const View& view) {
    auto& entries = registry();
    auto it = entries.find(&view);
    if (it == entries.end()) return nullptr;
    if (it->second.view.expired()) {
        entries.erase(it);
        return nullptr;
    }
    return &it->second;
}

void dropIfIdle(const View& view) {
    auto& entries = registry();
    auto it = entries.find(&view);
    if (it != entries.end() && !it->second.frame && !it->second.alpha) entries.erase(it);
}

double mix(double a, double b, double t) { return a + (b - a) * t; }

}  // namespace

double timingCurve(TimingFunction function, double linearProgress) {
    double x = std::clamp(std::isfinite(linearProgress) ? linearProgress : 1.0, 0.0, 1.0);
    ControlPoints c = controlPoints(function);
    // Solve bezierX(t) = x by bisection: the curve's x is monotonic in t.
    double low = 0, high = 1, t = x;
    for (int i = 0; i < 60; ++i) {
        t = (low + high) / 2;
        if (bezier(c.x1, c.x2, t) < x) low = t; else high = t;
    }
    return bezier(c.y1, c.y2, t);
}

namespace animations {

void animateFrame(const std::shared_ptr<View>& view, Rect from, Rect to, AnimationTiming timing) {
    if (!view || !(timing.duration > 0)) return;
    Entry& entry = registry()[view.get()];
    if (entry.view.lock() != view) entry = Entry{};
    entry.view = view;
    entry.frame = Track<Rect>{from, to, timing};
}

void animateAlpha(const std::shared_ptr<View>& view, double from, double to, AnimationTiming timing) {
    if (!view || !(timing.duration > 0)) return;
    Entry& entry = registry()[view.get()];
    if (entry.view.lock() != view) entry = Entry{};
    entry.view = view;
    entry.alpha = Track<double>{from, to, timing};
}

std::optional<Rect> presentationFrame(const View& view) {
    Entry* entry = find(view);
    if (!entry) return std::nullopt;
    auto linear = progress(entry->frame);
    if (!linear) {
        removeFrameAnimation(view);
        return std::nullopt;
    }
    double t = timingCurve(entry->frame->timing.function, *linear);
    const Rect& a = entry->frame->from;
    const Rect& b = entry->frame->to;
    return Rect{mix(a.minX(), b.minX(), t), mix(a.minY(), b.minY(), t),
                mix(a.width(), b.width(), t), mix(a.height(), b.height(), t)};
}

std::optional<double> presentationAlpha(const View& view) {
    Entry* entry = find(view);
    if (!entry) return std::nullopt;
    auto linear = progress(entry->alpha);
    if (!linear) {
        removeAlphaAnimation(view);
        return std::nullopt;
    }
    double t = timingCurve(entry->alpha->timing.function, *linear);
    return mix(entry->alpha->from, entry->alpha->to, t);
}

void removeFrameAnimation(const View& view) {
    if (Entry* entry = find(view)) entry->frame.reset();
    dropIfIdle(view);
}

void removeAlphaAnimation(const View& view) {
    if (Entry* entry = find(view)) entry->alpha.reset();
    dropIfIdle(view);
}

void removeAll(const View& view) { registry().erase(&view); }

}  // namespace animations
}  // namespace desktop::ui
