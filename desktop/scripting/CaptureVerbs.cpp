// Verbs that act as the user and the system around screen recording: the user
// declines or allows a capture, an application's capture breaks, a window is
// minimised, moved to another space, restored, opened or closed, and someone
// takes a picture of the whole screen.

#include "desktop/scripting/CaptureVerbs.h"

#include <stdexcept>

#include <nlohmann/json.hpp>

#include "desktop/apps/ProcessTable.h"
#include "desktop/capture/CapturePolicy.h"
#include "desktop/pictures/ScreenPicture.h"
#include "desktop/scene/GeometryJson.h"
#include "desktop/scripting/VerbLine.h"
#include "desktop/windowserver/WindowList.h"
#include "desktop/windowserver/WindowServer.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/Screen.h"

namespace desktop {
namespace {

using nlohmann::json;

namespace texts {
constexpr const char* captureUsage = "usage: capture ok|decline|fail ID [{\"domain\",\"code\",\"description\"}]";
constexpr const char* windowUsage = "usage: window minimize|space|restore|close NUMBER, or window open APP {WINDOW}";
constexpr const char* screenshotUsage = "usage: screenshot PATH [X Y WIDTH HEIGHT [SCALE]]";
constexpr const char* noSuchWindow = "no window of another application has that number";
constexpr const char* notRunning = "not running: ";
constexpr const char* hostWindows = "the host's windows are its own: it makes them itself";
constexpr const char* malformedWindow = "the window needs at least a frame [x, y, width, height]";
}  // namespace texts

constexpr int maximumVerbJsonDepth = 16;



std::optional<json> parseBounded(const std::string& text) {
    try {
        return json::parse(text, [](int depth, json::parse_event_t, json&) {
            if (depth > maximumVerbJsonDepth) throw std::out_of_range("too deep");
            return true;
        });
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

json captureOutcome(const std::vector<std::string>& words, const std::string& line) {
    if (words.size() < 3) return verbFailed(texts::captureUsage);
    const std::string& id = words[2];
    std::optional<CaptureOutcome> outcome = CapturePolicy::outcomeFromJson(words[1]);
    if (!outcome) return verbFailed(texts::captureUsage);
    if (words.size() > 3) {
        auto brace = line.find('{');
        auto error = outcome->kind == CaptureOutcomeKind::fail && brace != std::string::npos
                         ? parseBounded(line.substr(brace))
                         : std::nullopt;
        if (!error || !error->is_object()) return verbFailed(texts::captureUsage);
        outcome = CapturePolicy::outcomeFromJson(*error);
    }
    CapturePolicy::shared().set(id, *outcome);
    return verbSucceeded({{"capture", CapturePolicy::shared().state()["outcomes"]}});
}

std::optional<int> windowNumber(const std::string& word) {
    auto number = numberFromWord(word);
    if (!number || *number < 1 || *number >= (1 << 30) || *number != static_cast<int>(*number)) return std::nullopt;
    return static_cast<int>(*number);
}

json openWindow(const std::string& line) {
    std::string rest = restAfter(line, "open");
    auto brace = rest.find('{');
    if (brace == std::string::npos) return verbFailed(texts::windowUsage);
    std::string app = rest.substr(0, brace);
    while (!app.empty() && (app.back() == ' ' || app.back() == '\t')) app.pop_back();
    auto element = parseBounded(rest.substr(brace));
    if (app.empty() || !element) return verbFailed(texts::windowUsage);
    auto& table = ProcessTable::shared();
    auto index = table.find(app, true);
    if (!index) return verbFailed(texts::notRunning + app);
    if (table.isHost(*index)) return verbFailed(texts::hostWindows);
    auto number = openWindowOfProcess(table.process(*index)->processIdentifier(), *element);
    if (!number) return verbFailed(texts::malformedWindow);
    return verbSucceeded({{"window", *number}});
}

json windowVerb(const std::vector<std::string>& words, const std::string& line) {
    if (words.size() >= 2 && words[1] == "open") return openWindow(line);
    if (words.size() != 3) return verbFailed(texts::windowUsage);
    const std::string& action = words[1];
    auto number = windowNumber(words[2]);
    if (!number) return verbFailed(texts::windowUsage);
    auto& list = WindowList::shared();
    bool done = false;
    if (action == "minimize" || action == "space") done = list.setForeignWindowOnScreen(*number, false);
    else if (action == "restore") done = list.setForeignWindowOnScreen(*number, true) && list.orderForeignFront(*number);
    else if (action == "close") done = list.removeForeignWindow(*number);
    else return verbFailed(texts::windowUsage);
    if (!done) return verbFailed(texts::noSuchWindow);
    return verbSucceeded({{"window", *number}});
}

// "screenshot PATH" pictures the whole screen; four or five numbers after the
// path picture a region of it in points, at the screen's scale or the one given.
json screenshotVerb(const std::vector<std::string>& words, const std::string& line) {
    std::vector<double> numbers;
    std::size_t pathWords = words.size();
    while (pathWords > 2 && numbers.size() < 5) {
        auto number = numberFromWord(words[pathWords - 1]);
        if (!number) break;
        numbers.insert(numbers.begin(), *number);
        --pathWords;
    }
    if (numbers.size() < 4) pathWords = words.size(), numbers.clear();
    std::string path = restAfter(line, "screenshot");
    if (!numbers.empty()) {
        path = words[1];
        for (std::size_t i = 2; i < pathWords; ++i) path += " " + words[i];
    }
    if (path.empty() || pathWords < 2) return verbFailed(texts::screenshotUsage);
    if (numbers.empty()) {
        if (auto error = writeScreenPicture(path)) return verbFailed(*error);
        return verbSucceeded({{"path", path}});
    }
    auto screens = platform::ui::screens();
    double scale = numbers.size() == 5 ? numbers[4] : screens.empty() ? 2 : screens.front().backingScale;
    platform::Rect region{numbers[0], numbers[1], numbers[2], numbers[3]};
    if (auto error = writeScreenPicture(path, region, scale)) return verbFailed(*error);
    return verbSucceeded({{"path", path}, {"region", rectJson(region)}, {"scale", scale}});
}

}  // namespace

std::optional<json> captureVerb(const std::vector<std::string>& words, const std::string& line) {
    if (words.empty()) return std::nullopt;
    if (words[0] == "capture") return captureOutcome(words, line);
    if (words[0] == "window") return windowVerb(words, line);
    if (words[0] == "screenshot") return screenshotVerb(words, line);
    return std::nullopt;
}

}  // namespace desktop
