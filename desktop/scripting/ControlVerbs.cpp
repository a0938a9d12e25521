// The person at the simulated Mac using our windows' controls: pressing a
// control found by its visible text or accessibility label (the way the
// accessibility press action does), typing into the key window's focused text
// field, choosing an option of a pop-up button, stepping a stepper, and
// resizing or closing the frontmost window as its corner and close button do
// (so only a titled window that has them).

#include "desktop/scripting/ControlVerbs.h"

#include <cmath>
#include <sstream>
#include <vector>

#include <nlohmann/json.hpp>

#include "desktop/scene/GeometryJson.h"
#include "desktop/scripting/VerbLine.h"
#include "desktop/windowserver/WindowList.h"
#include "platform/Utf8.h"
#include "platform/ui/Declarative.h"
#include "platform/ui/Window.h"

namespace desktop {
namespace {

using nlohmann::json;
using platform::ui::HostingView;
using platform::ui::Window;
using platform::ui::declarative::Outcome;

namespace texts {
constexpr const char* pressUsage = "usage: press LABEL";
constexpr const char* typeUsage = "usage: type TEXT";
constexpr const char* backspaceUsage = "usage: backspace [COUNT] (1 to 10000)";
constexpr const char* pickUsage = "usage: pick LABEL OPTION";
constexpr const char* stepUsage = "usage: step LABEL up|down";
constexpr const char* resizeUsage = "usage: resize WIDTH HEIGHT";
constexpr const char* closeUsage = "usage: close";
constexpr const char* noWindow = "no window of ours is open";
constexpr const char* noContent = "the window shows no controls";
constexpr const char* noFocus = "no text field has focus in the key window";
constexpr const char* noResizeCorner = "the front window has no resize corner";
constexpr const char* noCloseButton = "none of our windows on screen has a close button";
constexpr const char* badText = "the text is not valid UTF-8";
}  // namespace texts


std::vector<std::string> words(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

std::string joined(const std::vector<std::string>& w, std::size_t from, std::size_t to) {
    std::string out;
    for (std::size_t i = from; i < to; ++i) {
        if (i > from) out += ' ';
        out += w[i];
    }
    return out;
}

// The key window when it is ours and on screen, else our frontmost visible one.
std::shared_ptr<Window> frontWindow() {
    auto& list = WindowList::shared();
    if (auto key = list.keyWindow(); key && key->isVisible()) return key;
    for (const auto& record : list.visibleFrontToBack())
        if (record.window) return record.window;
    return nullptr;
}

std::shared_ptr<HostingView> hostingView(const Window& window) {
    std::vector<std::shared_ptr<platform::ui::View>> pending;
    if (window.contentView()) pending.push_back(window.contentView());
    while (!pending.empty()) {
        auto view = std::move(pending.back());
        pending.pop_back();
        if (auto host = std::dynamic_pointer_cast<HostingView>(view)) return host;
        const auto& subviews = view->subviews();
        pending.insert(pending.end(), subviews.rbegin(), subviews.rend());
    }
    return nullptr;
}

json outcomeReply(Outcome outcome, const std::string& label, const std::string& option, int window) {
    switch (outcome) {
        case Outcome::done: return {{"ok", true}, {"window", window}};
        case Outcome::notFound: return verbFailed("no control named " + label);
        case Outcome::disabled: return verbFailed(label + " is disabled");
        case Outcome::noSuchOption: return verbFailed(label + " has no option " + option);
        case Outcome::atLimit: return verbFailed(label + " cannot step further that way");
    }
    return verbFailed("no control named " + label);
}

bool hasStyle(const Window& window, unsigned bits) { return (window.styleMask() & bits) == bits; }

json resize(const std::vector<std::string>& w) {
    if (w.size() != 3) return verbFailed(texts::resizeUsage);
    auto width = numberFromWord(w[1]);
    auto height = numberFromWord(w[2]);
    if (!width || !height || *width < 0 || *height < 0) return verbFailed(texts::resizeUsage);
    auto window = frontWindow();
    if (!window) return verbFailed(texts::noWindow);
    // A status item's window, a borderless panel or a fixed-size window has no corner to drag.
    if (!hasStyle(*window, platform::ui::styleMask::titled | platform::ui::styleMask::resizable))
        return verbFailed(texts::noResizeCorner);
    // Dragging the bottom-right corner: the top-left corner stays.
    platform::Rect old = window->frame();
    window->setFrame({old.minX(), old.maxY() - *height, *width, *height});
    return {{"ok", true}, {"window", window->windowNumber()}, {"frame", rectJson(window->frame())}};
}

// A person closes the frontmost of our windows that has a close button; a
// panel floating above it (the card) has none and is passed over.
json closeFrontmost() {
    auto& list = WindowList::shared();
    auto closable = [](const std::shared_ptr<Window>& window) {
        return window && window->isVisible() &&
               hasStyle(*window, platform::ui::styleMask::titled | platform::ui::styleMask::closable);
    };
    std::shared_ptr<Window> window = list.keyWindow();
    if (!closable(window)) {
        window = nullptr;
        for (const auto& record : list.visibleFrontToBack())
            if (closable(record.window)) {
                window = record.window;
                break;
            }
    }
    if (!window) return verbFailed(frontWindow() ? texts::noCloseButton : texts::noWindow);
    window->performClose();
    return json{{"ok", true}, {"window", window->windowNumber()}, {"visible", window->isVisible()}};
}

}  // namespace

std::optional<json> controlVerb(const std::string& line) {
    std::vector<std::string> w = words(line);
    if (w.empty()) return std::nullopt;
    const std::string& verb = w[0];
    if (verb != "press" && verb != "type" && verb != "backspace" && verb != "pick" && verb != "step" && verb != "resize" &&
        verb != "close")
        return std::nullopt;
    if (verb == "resize") return resize(w);
    if (verb == "close" && w.size() != 1) return verbFailed(texts::closeUsage);
    if (verb == "press" && w.size() < 2) return verbFailed(texts::pressUsage);
    if (verb == "pick" && w.size() < 3) return verbFailed(texts::pickUsage);
    if (verb == "step" && (w.size() < 3 || (w.back() != "up" && w.back() != "down"))) return verbFailed(texts::stepUsage);

    int erased = 1;
    if (verb == "backspace") {
        if (w.size() > 2) return verbFailed(texts::backspaceUsage);
        if (w.size() == 2) {
            const auto count = numberFromWord(w[1]);
            if (!count || *count != std::floor(*count) || *count < 1 || *count > 10000) return verbFailed(texts::backspaceUsage);
            erased = static_cast<int>(*count);
        }
    }

    if (verb == "close") return closeFrontmost();
    auto window = frontWindow();
    if (!window) return verbFailed(texts::noWindow);
    int number = window->windowNumber();
    auto host = hostingView(*window);
    if (!host) return verbFailed(texts::noContent);

    if (verb == "type") {
        // Everything after the verb and one space, spaces included.
        auto start = line.find("type") + 4;
        if (start >= line.size()) return verbFailed(texts::typeUsage);
        std::string text = line.substr(start + 1);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        if (text.empty()) return verbFailed(texts::typeUsage);
        if (!window->isKey()) return verbFailed(texts::noFocus);
        if (!platform::isValidUtf8(text)) return verbFailed(texts::badText);
        if (!host->typeText(text)) return verbFailed(texts::noFocus);
        return json{{"ok", true}, {"window", number}};
    }
    if (verb == "backspace") {
        if (!window->isKey() || !host->deleteBackward(erased)) return verbFailed(texts::noFocus);
        return json{{"ok", true}, {"window", number}};
    }
    if (verb == "press") {
        std::string label = joined(w, 1, w.size());
        return outcomeReply(host->press(label), label, {}, number);
    }
    if (verb == "step") {
        std::string label = joined(w, 1, w.size() - 1);
        return outcomeReply(host->stepControl(label, w.back() == "up" ? 1 : -1), label, {}, number);
    }
    // pick: labels and options may hold spaces; the longest label that names a picker wins.
    Outcome last = Outcome::notFound;
    std::string lastLabel = joined(w, 1, w.size() - 1), lastOption = w.back();
    for (std::size_t split = w.size() - 1; split >= 2; --split) {
        std::string label = joined(w, 1, split), option = joined(w, split, w.size());
        Outcome outcome = host->pick(label, option);
        if (outcome == Outcome::done) return outcomeReply(outcome, label, option, number);
        if (outcome != Outcome::notFound && last == Outcome::notFound) {
            last = outcome;
            lastLabel = label;
            lastOption = option;
        }
    }
    return outcomeReply(last, lastLabel, lastOption, number);
}

}  // namespace desktop
