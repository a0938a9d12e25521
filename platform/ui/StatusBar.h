#pragma once

#include <memory>
#include <string>

namespace platform::ui {

class Button;
class View;
class Window;

// An item in the right-hand part of the menu bar. It shows its view when it
// has one, else its button. The status bar lays items out right to left.
class StatusItem {
public:
    virtual ~StatusItem() = default;
    virtual double length() const = 0;
    virtual void setLength(double length) = 0;
    virtual std::shared_ptr<View> view() const = 0;
    virtual void setView(std::shared_ptr<View> view) = 0;
    virtual std::shared_ptr<Button> button() const = 0;
    virtual const std::string& autosaveName() const = 0;
    virtual void setAutosaveName(std::string name) = 0;
    // The menu-bar window that hosts the item; nothing once removed.
    virtual std::shared_ptr<Window> window() const = 0;
};

class StatusBar {
public:
    virtual ~StatusBar() = default;
    virtual double thickness() const = 0;
    virtual std::shared_ptr<StatusItem> statusItem(double length) = 0;
    virtual void removeStatusItem(const std::shared_ptr<StatusItem>& item) = 0;
};

StatusBar& systemStatusBar();

}  // namespace platform::ui
