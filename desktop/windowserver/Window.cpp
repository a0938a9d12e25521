// Windows and panels of the simulated Mac, standing in for NSWindow: the
// numeric style mask, level and collection behaviour kept as given, a
// content view sized to the window, ordering through the window server's
// list, a minimum size, the title bar's geometry, and frames kept on disk
// under autosave names.

#include "platform/ui/Window.h"

#include <algorithm>
#include <cmath>

#include "desktop/windowserver/FrameAutosave.h"
#include "desktop/windowserver/WindowList.h"
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

// The title bar's height over full-size content, by toolbar.
constexpr double titlebarOnly = 28;
constexpr double unifiedToolbar = 52;
constexpr double compactToolbar = 38;
// The window buttons: 12-point circles 20 points apart, the first centred
// 20 points from the leading edge, all centred in the title bar.
constexpr double buttonDiameter = 12;
constexpr double firstButtonCentre = 20;
constexpr double buttonPitch = 20;

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
    if (!usable(frame)) return;
    double width = std::max(frame.width(), minSize_.width);
    double height = std::max(frame.height(), minSize_.height);
    frame = {frame.minX(), frame.maxY() - height, width, height};
    if (frame == frame_) return;
    frame_ = frame;
    if (contentView_) contentView_->setFrame({0, 0, frame.width(), frame.height()});
    saveAutosavedFrame();
}

void Window::center() {
    auto where = screen();
    if (!where) where = mainScreen();
    if (!where) return;
    Rect area = where->visibleFrame;
    double free = area.height() - frame_.height();
    double x = area.midX() - frame_.width() / 2;
    double y = free > 0 ? area.minY() + free * 2 / 3 : area.maxY() - frame_.height();
    setFrame({x, y, frame_.width(), frame_.height()});
}

void Window::setMinSize(Size size) {
    if (!std::isfinite(size.width) || !std::isfinite(size.height)) return;
    minSize_ = {std::max(size.width, 0.0), std::max(size.height, 0.0)};
}

double Window::titlebarHeight() const {
    if (!(styleMask_ & styleMask::titled) || !(styleMask_ & styleMask::fullSizeContentView)) return 0;
    if (!hasToolbar_) return titlebarOnly;
    return toolbarStyle_ == toolbarStyle::unifiedCompact ? compactToolbar
         : toolbarStyle_ == toolbarStyle::unified || toolbarStyle_ == toolbarStyle::automatic ? unifiedToolbar
                                                                                             : titlebarOnly;
}

std::optional<Rect> Window::standardButtonFrame(WindowButton button) const {
    double bar = titlebarHeight();
    if (bar <= 0) return std::nullopt;
    int index = 0;
    switch (button) {
        case WindowButton::close:
            if (!(styleMask_ & styleMask::closable)) return std::nullopt;
            index = 0;
            break;
        case WindowButton::miniaturize: index = 1; break;
        case WindowButton::zoom: index = 2; break;
    }
    double centreX = firstButtonCentre + index * buttonPitch;
    double centreY = frame_.height() - bar / 2;
    return Rect{centreX - buttonDiameter / 2, centreY - buttonDiameter / 2, buttonDiameter, buttonDiameter};
}

void Window::saveAutosavedFrame() const {
    if (autosaveName_.empty()) return;
    auto where = screen();
    desktop::saveWindowFrame(autosaveName_, frame_, where ? where->visibleFrame : Rect{});
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
    if (released_) return;
    visible_ = true;
    list().orderFront(*this);
}

void Window::orderFrontRegardless() { orderFront(); }

void Window::makeKeyAndOrderFront() {
    if (released_) return;
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
    auto saved = desktop::savedWindowFrame(autosaveName_);
    if (saved && *saved != frame_)
        setFrame(*saved);
    else
        saveAutosavedFrame();
}

void Window::performClose() {
    if (auto ask = shouldClose; ask && !ask()) return;
    orderOut();
    if (releasedWhenClosed_) released_ = true;
}

}  // namespace platform::ui
