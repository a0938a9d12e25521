#pragma once

#include <any>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Geometry.h"
#include "platform/ui/Event.h"

namespace platform::ui {

class Image;
class View;

// NSControlStateValue's numbers.
namespace controlState {
inline constexpr int mixed = -1;
inline constexpr int off = 0;
inline constexpr int on = 1;
}  // namespace controlState

class MenuItem {
public:
    MenuItem(std::string title, std::string actionName, std::string keyEquivalent);
    static std::shared_ptr<MenuItem> separator();

    const std::string& title() const { return title_; }
    const std::string& keyEquivalent() const { return keyEquivalent_; }
    bool isSeparator() const { return separator_; }
    // The selector's name; empty for an item without action (a heading).
    const std::string& actionName() const { return actionName_; }
    // Runs with the item when chosen; a disabled item or one without action is not chosen.
    std::function<void(MenuItem&)> action;
    std::any representedObject;
    std::shared_ptr<Image> image;
    bool isEnabled() const { return enabled_ && !separator_ && !actionName_.empty(); }
    void setEnabled(bool enabled) { enabled_ = enabled; }
    // The platform's control state: a checkmark for on, a dash for mixed.
    int state() const { return state_; }
    void setState(int state) { state_ = state; }

private:
    std::string title_;
    std::string actionName_;
    std::string keyEquivalent_;
    bool separator_ = false;
    bool enabled_ = true;
    int state_ = 0;
};

// A menu. Popping it up hands it to the system, which keeps it open until an
// item is chosen or it is dismissed; the call returns at once.
class Menu {
public:
    explicit Menu(std::string title = {}) : title_(std::move(title)) {}

    const std::string& title() const { return title_; }
    const std::vector<std::shared_ptr<MenuItem>>& items() const { return items_; }
    void addItem(std::shared_ptr<MenuItem> item) { items_.push_back(std::move(item)); }

    // As a context menu for the event, in the view.
    static void popUpContextMenu(const std::shared_ptr<Menu>& menu, const Event& event, const std::shared_ptr<View>& view);
    // With its top-left corner at location in the view's coordinates.
    static void popUp(const std::shared_ptr<Menu>& menu, Point location, const std::shared_ptr<View>& view);

private:
    std::string title_;
    std::vector<std::shared_ptr<MenuItem>> items_;
};

}  // namespace platform::ui
