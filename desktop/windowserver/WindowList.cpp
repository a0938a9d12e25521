// The window server's ordering of windows, standing in for the list the
// real window server keeps: numbers are unique and only grow, a window
// ordered front goes before the others of its level, and levels decide first.

#include "desktop/windowserver/WindowList.h"

#include <algorithm>

#include <unistd.h>

#include "platform/ui/Window.h"

namespace desktop {

using platform::ui::Window;

WindowList& WindowList::shared() {
    static WindowList list;
    return list;
}

void WindowList::reset() {
    windows_.clear();
    foreign_.clear();
    order_.clear();
    askedFor_.clear();
    handedOut_.clear();
    key_.reset();
    hiddenPids_.clear();
}

int WindowList::takeWindowNumber() {
    while (askedFor_.count(nextNumber_)) ++nextNumber_;
    if (handedOut_.empty() || handedOut_.back().second != nextNumber_) handedOut_.emplace_back(nextNumber_, nextNumber_);
    handedOut_.back().second = nextNumber_ + 1;
    return nextNumber_++;
}

bool WindowList::isTaken(int number) const {
    if (askedFor_.count(number)) return true;
    return std::any_of(handedOut_.begin(), handedOut_.end(),
                       [number](const auto& run) { return number >= run.first && number < run.second; });
}

// New numbers are always handed out above every number asked for.
void WindowList::markTaken(int number) {
    if (isTaken(number)) return;
    askedFor_.insert(number);
    nextNumber_ = std::max(nextNumber_, number + 1);
}

void WindowList::attach(const std::shared_ptr<Window>& window) {
    if (!window) return;
    std::erase_if(windows_, [](const auto& w) { return w.expired(); });
    windows_.push_back(window);
    markTaken(window->windowNumber());
}

bool WindowList::knows(const Window& window) const {
    return std::any_of(windows_.begin(), windows_.end(), [&](const auto& w) { return w.lock().get() == &window; });
}

void WindowList::removeSlot(const Window& window) {
    std::erase_if(order_, [&](const Slot& slot) {
        if (slot.foreign) return false;
        auto ours = slot.ours.lock();
        return !ours || ours.get() == &window;
    });
}

void WindowList::orderFront(const Window& window) {
    if (!knows(window)) return;
    removeSlot(window);
    for (const auto& w : windows_)
        if (auto ours = w.lock(); ours.get() == &window) order_.insert(order_.begin(), Slot{ours, 0});
}

void WindowList::orderOut(const Window& window) {
    removeSlot(window);
    if (key_.lock().get() == &window) key_.reset();
}

void WindowList::makeKey(const Window& window) {
    for (const auto& w : windows_)
        if (auto ours = w.lock(); ours.get() == &window) key_ = ours;
}

std::shared_ptr<Window> WindowList::keyWindow() const {
    auto key = key_.lock();
    return key && key->isVisible() && knows(*key) ? key : nullptr;
}

int WindowList::addForeignWindow(ForeignWindow window) {
    if (window.number <= 0 || isTaken(window.number))
        window.number = takeWindowNumber();
    else
        markTaken(window.number);
    order_.push_back(Slot{{}, window.number});
    foreign_.push_back(std::move(window));
    return foreign_.back().number;
}

void WindowList::removeWindowsOfProcess(int pid) {
    std::set<int> gone;
    for (const auto& w : foreign_)
        if (w.ownerPid == pid) gone.insert(w.number);
    std::erase_if(foreign_, [pid](const ForeignWindow& w) { return w.ownerPid == pid; });
    std::erase_if(order_, [&](const Slot& slot) { return slot.foreign && gone.count(slot.foreign); });
}

void WindowList::setProcessHidden(int pid, bool hidden) {
    if (hidden)
        hiddenPids_.insert(pid);
    else
        hiddenPids_.erase(pid);
}

bool WindowList::setForeignWindowOnScreen(int number, bool onScreen) {
    auto window = std::find_if(foreign_.begin(), foreign_.end(), [&](const ForeignWindow& w) { return w.number == number; });
    if (window == foreign_.end()) return false;
    bool comesBack = onScreen && !window->onScreen;
    window->onScreen = onScreen;
    if (comesBack) orderForeignFront(number);
    return true;
}

bool WindowList::orderForeignFront(int number) {
    auto slot = std::find_if(order_.begin(), order_.end(), [&](const Slot& s) { return s.foreign == number; });
    if (slot == order_.end()) return false;
    order_.erase(slot);
    order_.insert(order_.begin(), Slot{{}, number});
    return true;
}

bool WindowList::removeForeignWindow(int number) {
    auto count = std::erase_if(foreign_, [&](const ForeignWindow& w) { return w.number == number; });
    std::erase_if(order_, [&](const Slot& slot) { return slot.foreign == number; });
    return count > 0;
}

std::optional<WindowRecord> WindowList::find(int number) const {
    for (const auto& w : windows_)
        if (auto ours = w.lock(); ours && ours->windowNumber() == number) return ourRecord(ours);
    for (const auto& w : foreign_)
        if (w.number == number) return foreignRecord(w);
    return std::nullopt;
}

WindowRecord WindowList::ourRecord(const std::shared_ptr<Window>& window) const {
    WindowRecord r;
    r.number = window->windowNumber();
    r.ownerPid = static_cast<int>(getpid());
    r.title = window->title();
    r.frame = window->frame();
    r.level = window->level();
    r.visible = window->isVisible();
    r.window = window;
    return r;
}

WindowRecord WindowList::foreignRecord(const ForeignWindow& window) const {
    WindowRecord r;
    r.number = window.number;
    r.ownerPid = window.ownerPid;
    r.title = window.title;
    r.frame = window.frame;
    r.level = window.layer;
    r.visible = window.onScreen && !hiddenPids_.count(window.ownerPid);
    r.color = window.color;
    return r;
}

std::optional<WindowRecord> WindowList::record(const Slot& slot) const {
    if (!slot.foreign) {
        auto ours = slot.ours.lock();
        if (!ours) return std::nullopt;
        return ourRecord(ours);
    }
    for (const auto& w : foreign_)
        if (w.number == slot.foreign) return foreignRecord(w);
    return std::nullopt;
}

std::vector<WindowRecord> WindowList::visibleFrontToBack() const {
    std::vector<WindowRecord> records;
    for (const auto& slot : order_)
        if (auto r = record(slot); r && r->visible) records.push_back(std::move(*r));
    std::stable_sort(records.begin(), records.end(), [](const auto& a, const auto& b) { return a.level > b.level; });
    return records;
}

std::vector<WindowRecord> WindowList::all() const {
    std::vector<WindowRecord> records = visibleFrontToBack();
    std::set<int> listed;
    for (const auto& r : records) listed.insert(r.number);
    for (const auto& w : windows_)
        if (auto ours = w.lock(); ours && !listed.count(ours->windowNumber())) records.push_back(ourRecord(ours));
    for (const auto& w : foreign_)
        if (!listed.count(w.number)) records.push_back(foreignRecord(w));
    return records;
}

std::optional<WindowRecord> WindowList::windowAt(platform::Point screenPoint) const {
    for (auto& r : visibleFrontToBack())
        if (r.frame.contains(screenPoint)) return r;
    return std::nullopt;
}

std::vector<std::shared_ptr<Window>> WindowList::ourWindows() const {
    std::vector<std::shared_ptr<Window>> result;
    for (const auto& w : windows_)
        if (auto ours = w.lock()) result.push_back(std::move(ours));
    return result;
}

}  // namespace desktop
