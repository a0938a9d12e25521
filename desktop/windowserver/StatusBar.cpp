// The system status bar of the simulated Mac, standing in for NSStatusBar:
// each item lives in its own borderless window at the status-bar level,
// laid out right to left from the right end of the first screen's menu bar
// (left of the system's own items and other applications' ones),
// newer items to the left of older ones, and shows its view or its button.

#include "platform/ui/StatusBar.h"

#include <algorithm>
#include <cmath>

#include <nlohmann/json.hpp>

#include "desktop/scene/GeometryJson.h"
#include "desktop/windowserver/StatusBar.h"
#include "desktop/windowserver/SystemMenuExtras.h"
#include "platform/ui/Button.h"
#include "platform/ui/Image.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

namespace desktop {
namespace {

using platform::Rect;
using platform::ui::Button;
using platform::ui::View;
using platform::ui::Window;

class MenuBarItem : public platform::ui::StatusItem {
public:
    MenuBarItem(double length, double thickness) : length_(length) {
        button_ = std::make_shared<Button>(Rect{0, 0, 0, thickness});
        button_->setBordered(false);
        window_ = Window::create({0, 0, 0, thickness}, platform::ui::styleMask::borderless);
        window_->setLevel(platform::ui::windowLevel::statusBar);
        window_->setCollectionBehavior(platform::ui::collection::canJoinAllSpaces | platform::ui::collection::stationary);
        window_->setOpaque(false);
        window_->setClearBackground(true);
        window_->setHasShadow(false);
        window_->setContentView(button_);
        window_->orderFrontRegardless();
    }

    double length() const override { return length_; }
    void setLength(double length) override {
        if (!std::isfinite(length) || length == length_) return;
        length_ = length;
        layoutStatusItems();
    }
    std::shared_ptr<View> view() const override { return view_; }
    void setView(std::shared_ptr<View> view) override {
        if (view == view_) return;
        view_ = std::move(view);
        if (window_) window_->setContentView(view_ ? view_ : button_);
    }
    std::shared_ptr<Button> button() const override { return button_; }
    const std::string& autosaveName() const override { return autosaveName_; }
    void setAutosaveName(std::string name) override { autosaveName_ = std::move(name); }
    std::shared_ptr<Window> window() const override { return window_; }

    // The width the item takes: its length, or the bar's thickness for the
    // platform's variable and square lengths (negative values).
    double width(double thickness) const { return length_ >= 0 ? length_ : thickness; }

    void place(Rect frame) {
        if (window_) window_->setFrame(frame);
    }

    // Removed from the bar: the window goes, and with it the view's place in it.
    void detach() {
        if (!window_) return;
        window_->setContentView(nullptr);
        window_->orderOut();
        window_.reset();
    }

private:
    double length_;
    std::shared_ptr<View> view_;
    std::shared_ptr<Button> button_;
    std::string autosaveName_;
    std::shared_ptr<Window> window_;
};

class SystemStatusBar : public platform::ui::StatusBar {
public:
    double thickness() const override { return thickness_; }

    std::shared_ptr<platform::ui::StatusItem> statusItem(double length) override {
        auto item = std::make_shared<MenuBarItem>(std::isfinite(length) ? length : 0, thickness_);
        items_.push_back(item);
        layout();
        return item;
    }

    void removeStatusItem(const std::shared_ptr<platform::ui::StatusItem>& item) override {
        auto it = std::find(items_.begin(), items_.end(), item);
        if (it == items_.end()) return;
        std::shared_ptr<MenuBarItem> removed = *it;
        items_.erase(it);
        removed->detach();
        layout();
    }

    void reset(double thickness) {
        for (const auto& item : items_) item->detach();
        items_.clear();
        thickness_ = std::isfinite(thickness) && thickness > 0 ? thickness : defaultStatusBarThickness;
    }

    // Items sit in the menu-bar band of the first screen, centred in its
    // height when the band is taller than the bar (a screen with a camera housing).
    void layout() {
        auto screens = platform::ui::screens();
        Rect screen = screens.empty() ? Rect{} : screens.front().frame;
        double band = screens.empty() ? thickness_ : std::max(thickness_, screen.maxY() - screens.front().visibleFrame.maxY());
        double y = screen.maxY() - band * 0.5 - thickness_ * 0.5;
        double right = screen.maxX() - systemMenuExtras().occupiedWidth;
        for (const auto& item : items_) {
            double width = item->width(thickness_);
            right -= width;
            item->place({right, y, width, thickness_});
        }
    }

    nlohmann::json state() const {
        auto result = nlohmann::json::array();
        for (const auto& item : items_) {
            nlohmann::json entry = {{"length", item->length()}, {"autosaveName", item->autosaveName()}};
            if (auto window = item->window()) {
                entry["frame"] = rectJson(window->frame());
                entry["window"] = window->windowNumber();
            }
            if (auto view = item->view())
                entry["view"] = {{"accessibilityLabel", view->accessibilityLabel()}, {"accessibilityRole", view->accessibilityRole()}};
            else
                entry["view"] = nullptr;
            const auto& button = item->button();
            entry["button"] = {{"accessibilityLabel", button->accessibilityLabel()},
                               {"title", button->title()},
                               {"image", button->image() != nullptr},
                               {"action", button->actionName()},
                               {"enabled", button->isEnabled()}};
            result.push_back(std::move(entry));
        }
        return result;
    }

private:
    double thickness_ = defaultStatusBarThickness;
    std::vector<std::shared_ptr<MenuBarItem>> items_;
};

SystemStatusBar& bar() {
    static SystemStatusBar statusBar;
    return statusBar;
}

}  // namespace

void resetStatusBar(double thickness) { bar().reset(thickness); }
void layoutStatusItems() { bar().layout(); }
nlohmann::json statusItemsState() { return bar().state(); }

}  // namespace desktop

namespace platform::ui {
StatusBar& systemStatusBar() { return desktop::bar(); }
}  // namespace platform::ui
