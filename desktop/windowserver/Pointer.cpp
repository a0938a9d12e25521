// The pointer of the simulated Mac and the window server's routing of its
// events, standing in for the event dispatch of the real window server and
// AppKit: the frontmost window under the pointer by level and order gets the
// event, the deepest view under it by hitTest receives clicks and scrolls,
// and tracking areas of the window under the pointer report entry and exit.
// An area that appears under a resting pointer counts as entered without an
// event, so leaving it later still reports the exit, as with the platform's
// tracking areas created without the assume-inside option. While a menu is
// open its tracking has the pointer: areas hear nothing until the next move
// after it closed, which reports the net change.

#include "desktop/windowserver/Pointer.h"

#include <algorithm>
#include <vector>

#include "desktop/windowserver/MenuServer.h"
#include "platform/ui/Event.h"
#include "platform/ui/TrackingArea.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"

namespace desktop {
namespace {

using platform::Point;
using platform::ui::Event;
using platform::ui::TrackingArea;
using platform::ui::View;
using platform::ui::Window;

// A tracking area found in a window's view tree.
struct Sighting {
    std::shared_ptr<TrackingArea> area;
    std::shared_ptr<View> view;
    std::shared_ptr<Window> window;
};

struct Known {
    std::weak_ptr<TrackingArea> area;
    bool inside = false;
};

struct PointerState {
    Point location;
    std::vector<Known> known;
};

PointerState& pointer() {
    static PointerState state;
    return state;
}

bool shownInTree(const View& view) {
    for (const View* v = &view; v; v = v->superview().get())
        if (v->isHidden()) return false;
    return true;
}

// Every tracking area of our windows' views, parents before children.
std::vector<Sighting> allAreas() {
    std::vector<Sighting> found;
    for (const auto& window : WindowList::shared().ourWindows()) {
        std::vector<std::shared_ptr<View>> pending;
        if (window->contentView()) pending.push_back(window->contentView());
        while (!pending.empty()) {
            std::shared_ptr<View> view = std::move(pending.back());
            pending.pop_back();
            for (const auto& area : view->trackingAreas())
                if (area) found.push_back({area, view, window});
            const auto& subviews = view->subviews();
            pending.insert(pending.end(), subviews.rbegin(), subviews.rend());
        }
    }
    return found;
}

Point inWindow(const Window& window, Point screen) { return {screen.x - window.frame().minX(), screen.y - window.frame().minY()}; }

bool active(const Sighting& s) {
    std::uint32_t options = s.area->options;
    if (options & platform::ui::tracking::activeAlways) return true;
    if (options & platform::ui::tracking::activeInKeyWindow) return s.window->isKey();
    return true;
}

// Inside means: the area's window is the frontmost under the point, the view
// is still in it and shown, the area is active and holds the point.
bool inside(const Sighting& s, Point screen, int frontmost) {
    if (!s.window->isVisible() || s.window->windowNumber() != frontmost) return false;
    if (s.view->window() != s.window || !shownInTree(*s.view) || !active(s)) return false;
    return s.area->rect.contains(s.view->convertFromWindow(inWindow(*s.window, screen)));
}

int frontmostAt(Point screen) {
    auto window = WindowList::shared().windowAt(screen);
    return window ? window->number : 0;
}

Known* knownFor(const TrackingArea* area) {
    for (auto& k : pointer().known)
        if (k.area.lock().get() == area) return &k;
    return nullptr;
}

Event eventAt(Event::Type type, Point screen, const Window* window) {
    Event event;
    event.type = type;
    event.screenLocation = screen;
    event.locationInWindow = window ? inWindow(*window, screen) : screen;
    event.windowNumber = window ? window->windowNumber() : 0;
    return event;
}

void deliver(const Sighting& s, Event::Type type, Point screen) {
    // An earlier handler may have removed the area or its view, or released its owner.
    const auto& areas = s.view->trackingAreas();
    if (std::find(areas.begin(), areas.end(), s.area) == areas.end() || s.view->window() != s.window) return;
    auto owner = s.area->owner.lock();
    if (!owner) return;
    Event event = eventAt(type, screen, s.window.get());
    if (type == Event::Type::mouseEntered)
        owner->mouseEntered(event);
    else
        owner->mouseExited(event);
}

PointerHit hitAt(Point screen) {
    PointerHit hit;
    hit.window = WindowList::shared().windowAt(screen);
    if (!hit.window || !hit.window->window) return hit;
    const auto& content = hit.window->window->contentView();
    if (!content) return hit;
    Point p = inWindow(*hit.window->window, screen);
    // The content view's own origin does not move its content within the window.
    hit.view = content->hitTest({p.x + content->frame().minX(), p.y + content->frame().minY()});
    return hit;
}

}  // namespace

void resetPointer(Point location) {
    pointer().location = location;
    pointer().known.clear();
}

Point pointerLocation() { return pointer().location; }

PointerHit movePointer(Point location) {
    auto& state = pointer();
    if (menuIsOpen()) {
        state.location = location;
        return hitAt(location);
    }
    std::erase_if(state.known, [](const Known& k) { return k.area.expired(); });
    std::vector<Sighting> areas = allAreas();

    // Areas seen for the first time take their state at the old location.
    int before = frontmostAt(state.location);
    for (const auto& s : areas)
        if (!knownFor(s.area.get())) state.known.push_back({s.area, inside(s, state.location, before)});
    // Areas no longer in any window are forgotten without an event.
    std::erase_if(state.known, [&](const Known& k) {
        auto area = k.area.lock();
        return std::none_of(areas.begin(), areas.end(), [&](const Sighting& s) { return s.area == area; });
    });

    state.location = location;
    int after = frontmostAt(location);
    std::vector<const Sighting*> exits, entries;
    for (const auto& s : areas) {
        Known* k = knownFor(s.area.get());
        bool now = inside(s, location, after);
        if (!k || k->inside == now) continue;
        k->inside = now;
        if (!(s.area->options & platform::ui::tracking::mouseEnteredAndExited)) continue;
        (now ? entries : exits).push_back(&s);
    }
    for (auto it = exits.rbegin(); it != exits.rend(); ++it) deliver(**it, Event::Type::mouseExited, location);
    for (const Sighting* s : entries) deliver(*s, Event::Type::mouseEntered, location);
    return hitAt(location);
}

namespace {

// The title-bar button of our window under the point, if any.
std::string windowButtonAt(const Window& window, Point screen) {
    Point p = inWindow(window, screen);
    using platform::ui::WindowButton;
    if (auto close = window.standardButtonFrame(WindowButton::close); close && close->contains(p)) return "close";
    if (auto mini = window.standardButtonFrame(WindowButton::miniaturize); mini && mini->contains(p)) return "miniaturize";
    if (auto zoom = window.standardButtonFrame(WindowButton::zoom); zoom && zoom->contains(p)) return "zoom";
    return {};
}

}  // namespace

PointerHit clickPointer(Point location, MouseButton button) {
    movePointer(location);
    PointerHit hit = hitAt(location);
    if (button == MouseButton::left && hit.window && hit.window->window) {
        std::shared_ptr<Window> window = hit.window->window;
        hit.windowButton = windowButtonAt(*window, location);
        if (!hit.windowButton.empty()) {
            hit.view = nullptr;
            if (hit.windowButton == "close" && (window->styleMask() & platform::ui::styleMask::closable)) window->performClose();
            return hit;
        }
    }
    if (!hit.view) return hit;
    const Window* window = hit.window->window.get();
    if (button == MouseButton::left)
        hit.view->mouseDown(eventAt(Event::Type::leftMouseDown, location, window));
    else
        hit.view->rightMouseDown(eventAt(Event::Type::rightMouseDown, location, window));
    return hit;
}

PointerHit scrollPointer(double deltaX, double deltaY, bool precise) {
    Point location = pointer().location;
    PointerHit hit = hitAt(location);
    if (!hit.view) return hit;
    Event event = eventAt(Event::Type::scrollWheel, location, hit.window->window.get());
    event.scrollingDeltaX = deltaX;
    event.scrollingDeltaY = deltaY;
    event.hasPreciseScrollingDeltas = precise;
    hit.view->scrollWheel(event);
    return hit;
}

}  // namespace desktop

namespace platform::ui {
Point mouseLocation() { return desktop::pointerLocation(); }
}  // namespace platform::ui
