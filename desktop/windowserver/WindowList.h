#pragma once

// The window server's list of windows: this process's windows and the
// foreign windows of other applications, with their numbers, their order
// front to back within each level and the key window.

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/Geometry.h"

namespace platform::ui { class Window; }

namespace desktop {

// A window of another application, as a scene or a launch describes it.
struct ForeignWindow {
    int number = 0;  // 0: the list gives it one
    int ownerPid = 0;
    std::string title;
    platform::Rect frame;
    int layer = 0;
    bool onScreen = true;
    std::string color;
};

// One window as the window server reports it, ours or foreign.
struct WindowRecord {
    int number = 0;
    int ownerPid = 0;
    std::string title;
    platform::Rect frame;
    int level = 0;
    bool visible = false;
    std::string color;                              // foreign windows only
    std::shared_ptr<platform::ui::Window> window;  // ours only
};

class WindowList {
public:
    static WindowList& shared();

    // Forgets every window and the key window. Window
    // objects that outlive this stay usable but are no longer listed, and
    // numbers keep growing so that none is ever reused.
    void reset();

    int takeWindowNumber();
    void attach(const std::shared_ptr<platform::ui::Window>& window);
    bool knows(const platform::ui::Window& window) const;
    // Puts the window in front of the others of its level.
    void orderFront(const platform::ui::Window& window);
    void orderOut(const platform::ui::Window& window);
    void makeKey(const platform::ui::Window& window);
    std::shared_ptr<platform::ui::Window> keyWindow() const;

    // Added behind the windows already listed; returns the number it got.
    int addForeignWindow(ForeignWindow window);
    void removeWindowsOfProcess(int pid);
    // A hidden application's windows stay listed but leave the screen.
    void setProcessHidden(int pid, bool hidden);
    // A foreign window minimised or moved to another space stays listed but
    // leaves the screen; back on screen it comes in front of its level.
    // False when no foreign window has the number.
    bool setForeignWindowOnScreen(int number, bool onScreen);
    // Puts a foreign window in front of the others of its level.
    bool orderForeignFront(int number);
    // The window closed: it is listed no more. False when there is none.
    bool removeForeignWindow(int number);

    // Visible windows, frontmost first: by level, then by order within it.
    std::vector<WindowRecord> visibleFrontToBack() const;
    // The visible ones as above, then the others.
    std::vector<WindowRecord> all() const;
    // The frontmost visible window containing the point.
    std::optional<WindowRecord> windowAt(platform::Point screenPoint) const;
    // Any listed window by number, on screen or not.
    std::optional<WindowRecord> find(int number) const;
    // This process's windows that are alive and listed, in creation order.
    std::vector<std::shared_ptr<platform::ui::Window>> ourWindows() const;

private:
    // An ordered-in window: ours, or a foreign one by number.
    struct Slot {
        std::weak_ptr<platform::ui::Window> ours;
        int foreign = 0;
    };

    std::optional<WindowRecord> record(const Slot& slot) const;
    WindowRecord ourRecord(const std::shared_ptr<platform::ui::Window>& window) const;
    WindowRecord foreignRecord(const ForeignWindow& window) const;
    void removeSlot(const platform::ui::Window& window);
    bool isTaken(int number) const;
    void markTaken(int number);

    std::vector<std::weak_ptr<platform::ui::Window>> windows_;
    std::vector<ForeignWindow> foreign_;
    std::vector<Slot> order_;
    // What is taken since the reset: the numbers a scene asked for, and the
    // runs of numbers handed out one after another (a new run begins only
    // where an asked-for number moved the count on), so the record stays as
    // small as the scene however many windows come and go.
    std::set<int> askedFor_;
    std::vector<std::pair<int, int>> handedOut_;  // [first, last + 1)
    std::weak_ptr<platform::ui::Window> key_;
    std::set<int> hiddenPids_;
    int nextNumber_ = 1;
};

}  // namespace desktop
