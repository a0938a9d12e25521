// Windows and panels of the simulated Mac, standing in for NSWindow: the
// numeric style mask, level and collection behaviour kept as given, a
// content view sized to the window, ordering through the window server's
// list, and frames kept in memory under autosave names.

#include "platform/ui/Window.h"

#include <algorithm>
#include <cmath>

#include "desktop/WindowList.h"
#include "platform/ui/View.h"

namespace platform::ui {
namespace {

// The constructor is protected so that every window goes through create().
struct ListedWindow : Window {
    ListedWindow(Rect contentRect, unsigned styleMask) : Window(contentRect, styleMask) {}
};

bool usable(Rect r) {
    return std::isfinite(r.minX()) && std::isfinite(r.minY()) && std::isfinite(r.width()) &&
           std::isfinite(r.height()) && r.width() >= 0 && r.height() >= 0;
}

double overlapArea(Rect a, Rect b) {
    double w = std::min(a.maxX(), b.maxX()) - std::max(a.minX(), b.minX());
    double h = std::min(a.maxY(), b.maxY()) - std::max(a.minY(), b.minY());
    return w > 0 && h > 0 ? w * h : 0;
}

desktop::WindowList& list() { return desktop::WindowList::shared(); }

}  // namespace

std::shared_ptr<Window> Window::create(Rect contentRect, unsigned styleMask, int, bool) {
    auto window = std::make_shared<ListedWindow>(contentRect, styleMask);
    list().attach(window);
    return window;
}

Window::Window(Rect contentRect, unsigned styleMask)
    : styleMask_(styleMask), windowNumber_(list().takeWindowNumber()), frame_(usable(contentRect) ? contentRect : Rect{}) {}

Window::~Window() = default;

void Window::setLevel(int level) {
    if (level == level_) return;
    level_ = level;
    // A window that changes level joins the front of its new level.
    if (visible_) list().orderFront(*this);
}

void Window::setFrame(Rect frame, bool) {
    if (!usable(frame) || frame == frame_) return;
    frame_ = frame;
    if (contentView_) contentView_->setFrame({0, 0, frame.width(), frame.height()});
    list().saveFrame(autosaveName_, frame_);
}

void Window::setContentSize(Size size) {
    setFrame({frame_.minX(), frame_.maxY() - size.height, size.width, size.height});
}

void Window::setContentView(std::shared_ptr<View> view) {
    if (view == contentView_) {
        if (view) view->setFrame({0, 0, frame_.width(), frame_.height()});
        return;
    }
    std::shared_ptr<View> old = std::move(contentView_);
    contentView_.reset();
    if (old) old->setWindow({});
    if (!view) return;
    view->removeFromSuperview();
    // A view lives in one window: taking another window's content view empties that window.
    if (auto other = view->window(); other && other.get() != this && other->contentView_ == view) other->contentView_.reset();
    contentView_ = view;
    view->setFrame({0, 0, frame_.width(), frame_.height()});
    view->setWindow(weak_from_this());
}

void Window::orderFront() {
    visible_ = true;
    list().orderFront(*this);
}

void Window::orderFrontRegardless() { orderFront(); }

void Window::makeKeyAndOrderFront() {
    orderFront();
    list().makeKey(*this);
}

void Window::orderOut() {
    visible_ = false;
    list().orderOut(*this);
}

bool Window::isKey() const { return list().keyWindow().get() == this; }

std::optional<Screen> Window::screen() const {
    std::optional<Screen> best;
    double bestArea = 0;
    for (const Screen& s : screens()) {
        double area = overlapArea(frame_, s.frame);
        if (area > bestArea) {
            best = s;
            bestArea = area;
        }
    }
    if (best) return best;
    // An empty window belongs to the screen that holds its origin.
    for (const Screen& s : screens())
        if (s.frame.contains(frame_.origin)) return s;
    return std::nullopt;
}

void Window::setAppearance(std::optional<AppearanceName> appearance) {
    if (appearance == appearance_) return;
    appearance_ = appearance;
    if (contentView_) contentView_->setNeedsDisplay();
}

void Window::setFrameAutosaveName(std::string name) {
    if (name == autosaveName_) return;
    autosaveName_ = std::move(name);
    if (autosaveName_.empty()) return;
    if (auto saved = list().savedFrame(autosaveName_))
        setFrame(*saved);
    else
        list().saveFrame(autosaveName_, frame_);
}

void Window::performClose() {
    if (auto ask = shouldClose; ask && !ask()) return;
    orderOut();
}

}  // namespace platform::ui
