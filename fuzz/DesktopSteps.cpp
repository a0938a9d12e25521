// Steps that act as the user and the system on the simulated Mac: the
// pointer at the strip's controls (positions from the last snapshot), menus,
// applications, wake and spaces, screens, permissions, captures, other
// applications' windows, the clock, the Dock's preferences file. Our own
// windows' steps are in OwnWindowSteps.cpp.

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "controller/ControllerSlot.h"
#include "controller/NativeController.h"
#include "desktop/Desktop.h"
#include "desktop/propertylist/PropertyList.h"
#include "desktop/windowserver/MenuServer.h"
#include "desktop/windowserver/Pointer.h"
#include "fuzz/Invariant.h"
#include "fuzz/PointerWords.h"
#include "fuzz/Session.h"
#include "platform/ui/Window.h"
#include "strip/HoverCard.h"
#include "strip/StripView.h"

namespace orvane::fuzz {

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

// Where within a control or window the pointer lands: mostly inside, now
// and then just outside an edge.
constexpr double fractions[] = {0.5, 0.5, 0.1, 0.9, 0.0, 1.0, 0.25, 0.75, -0.05, 1.05, 0.5, 0.33};
// Scroll deltas: lines and trackpad points, tiny and enormous.
constexpr double scrollDeltas[] = {0, 1, -1, 0.5, -0.5, 3, -3, 40, -40, 1e300, -1e300, 0.01};
// Clock steps around the strip's and the card's delays (0.18 s fade, 0.25 s
// hide, 0.45 s hover, 0.75 s and 1 s capture pauses, 5 s ticks).
constexpr double clockSteps[] = {0, 0.01, 0.1, 0.18, 0.25, 0.26, 0.3, 0.45, 0.46, 0.5, 0.75, 1, 1.5, 5, 10, 60};

// The event bucket an item's action fills (empty: none).
std::string bucketOfAction(const std::string& action) {
    if (action == "settingsAction") return "settings";
    if (action == "quitAction") return "quit";
    if (action == "pinAction:") return "pin";
    if (action == "menuLaunch:") return "launch";
    return {};
}

json screenJson(std::vector<double> frame, std::vector<double> visible, double safeAreaTop, double scale) {
    return {{"frame", frame}, {"visibleFrame", visible}, {"safeAreaTop", safeAreaTop}, {"backingScale", scale}};
}

}  // namespace

double Session::fractionOf(std::uint8_t byte) { return fractions[byte % std::size(fractions)]; }

double Session::fraction() { return fractionOf(in_.byte()); }

Session::SlotAim Session::slotAim() {
    std::uint8_t slot = in_.byte();
    double fx = fraction(), fy = fraction();
    // Without a strip, the menu bar where a status item would be.
    json frame = snapshot_.value("frame", json{{"x", 1300}, {"y", 958}, {"width", 100}, {"height", 24}});
    const json controls = snapshot_.value("controls", json::array());
    double x = frame["x"].get<double>(), y = frame["y"].get<double>();
    double height = frame["height"].get<double>();
    SlotAim aim;
    if (controls.empty()) {
        x += frame["width"].get<double>() * fx;
    } else {
        aim.control = slot % controls.size();
        const json& control = controls[*aim.control];
        x += control["x"].get<double>() + control["width"].get<double>() * fx;
    }
    aim.point = {x, y + height * fy};
    aim.inside = fx > 0 && fx < 1 && fy > 0 && fy < 1;
    return aim;
}

void Session::restOnSlot(const SlotAim& aim, Point from, const json& reply) {
    resting_.reset();
    auto controller = controllerSlot();
    if (!controller || !controller->state().strip || !aim.control || !aim.inside || hit_ == previousHit_) return;
    // An open menu tracks the pointer itself: the strip sees no entry.
    if (desktop::menuIsOpen()) return;
    const json& visible = snapshot_["visible"];
    const auto slots = std::min<std::size_t>(visible.size(), std::size_t(std::max(0, controller->state().maxIcons)));
    if (*aim.control >= slots) return;
    // Only when the pointer reached that very button, in front of everything else.
    auto window = controller->state().strip->window();
    const json& control = snapshot_["controls"][*aim.control];
    if (!window || reply.value("window", json()) != window->windowNumber() || !reply["view"].is_object() ||
        reply["view"].value("accessibilityLabel", json()) != control["label"])
        return;
    // A move that starts inside the button crosses no edge of its tracking
    // area, even when the strip was made under the pointer since its last move.
    const json& frame = snapshot_["frame"];
    const double left = frame["x"].get<double>() + control["x"].get<double>();
    const double bottom = frame["y"].get<double>();
    if (from.x >= left && from.x <= left + control["width"].get<double>() && from.y >= bottom &&
        from.y <= bottom + frame["height"].get<double>())
        return;
    const std::size_t entry = std::size_t(snapshot_["offset"].get<std::int64_t>()) + *aim.control;
    resting_ = RestingPointer{visible[entry]["id"].get<std::string>(), 0, visible, generation_};
}

void Session::checkRestingPointer() {
    if (!resting_ || resting_->waited < HoverCard::hoverDelay) return;
    const RestingPointer resting = *resting_;
    resting_.reset();
    if (!controllerExists() || generation_ != resting.generation || snapshot_.value("visible", json()) != resting.visible)
        return;
    require(snapshot_["card"] == resting.id, [&] {
        return "the pointer rested on " + resting.id + "'s slot for " + word(resting.waited) +
               " s and its card is not open (card: \"" + snapshot_["card"].get<std::string>() + "\")";
    });
}

std::optional<json> Session::windowFrame(std::int64_t number) {
    if (number == 0) return std::nullopt;
    json state = desktop::state();
    for (const auto& window : state["windows"])
        if (window["number"] == number) return window["frame"];
    return std::nullopt;
}

// Whatever a click reached may act: a strip button launches, the manager
// and the status item open the all-applications menu, the card's buttons
// ask for permission, a relaunch or a launch.
void Session::clicked(const json&) {
    menuGeneration_ = generation_;
    ledger_.allow(EventLedger::missingApp);
    ledger_.allow(EventLedger::openFailed);
    ledger_.allow("screenPermission");
    ledger_.allow("relaunch");
}

void Session::pointerAtSlotStep(const char* verbName) {
    SlotAim aim = slotAim();
    const platform::Point before = desktop::pointerLocation();
    json reply = verb(std::string(verbName) + " " + at(aim.point.x, aim.point.y));
    if (std::string(verbName) != "pointer")
        clicked(reply);
    else if (desktop::pointerLocation() != before)
        restOnSlot(aim, {before.x, before.y}, reply);
    else
        // A pointer that stays where it was enters nothing, even a strip made
        // under it since: tracking areas take their state where they first see it.
        resting_.reset();
}

void Session::scrollAtSlotStep() {
    Point point = slotAim().point;
    verb("pointer " + at(point.x, point.y));
    double dx = scrollDeltas[in_.byte() % std::size(scrollDeltas)];
    double dy = scrollDeltas[in_.byte() % std::size(scrollDeltas)];
    verb("scroll " + at(dx, dy) + (in_.flag() ? " precise" : ""));
}

void Session::pointerElsewhereStep() {
    json frame = snapshot_.value("frame", json{{"x", 1300}, {"y", 958}, {"width", 100}, {"height", 24}});
    double stripX = frame["x"].get<double>(), stripY = frame["y"].get<double>();
    Point point{700, 500};
    switch (in_.byte() % 8) {
    case 0: break;
    case 1: point = {stripX + 10, stripY - 10}; break;
    case 2:
    case 3: {
        bool outside = in_.flag();
        if (auto card = windowFrame(snapshot_.value("cardWindowID", 0))) {
            const json& r = *card;
            point = {r[0].get<double>() + (outside ? r[2].get<double>() + 1 : r[2].get<double>() / 2),
                     r[1].get<double>() + r[3].get<double>() / 2};
        }
        break;
    }
    case 4: point = {10, 970}; break;
    case 5: point = {static_cast<double>(in_.integer()), static_cast<double>(in_.integer())}; break;
    case 6: point = {756, 20}; break;
    default: point = {stripX - 1, stripY + 12}; break;
    }
    verb("pointer " + at(point.x, point.y));
}

// Item n of the open menu, a title of the scene, or no choice at all. The
// item's action adds its event: exactly when the menu came from this
// controller and the title names only that item, else at most once. The
// bytes read do not depend on what is open, so a seed means the same steps
// whatever the library shows.
void Session::menuStep() {
    std::uint8_t how = in_.byte() % 4;
    std::uint8_t n = in_.byte();
    std::string title = in_.text(scene_.names());
    if (how == 2) {
        verb("dismiss");
        return;
    }
    json open = verb("menu")["menu"];
    const json items = open.is_object() ? open.value("items", json::array()) : json::array();
    const json* item = nullptr;
    if (how != 3 && !items.empty()) {
        item = &items[n % items.size()];
        title = (*item)["title"].get<std::string>();
    }
    const std::string wanted = desktop::squeezedMenuTitle(title);
    auto answers = [&](const json& candidate) {
        return !candidate["separator"].get<bool>() &&
               desktop::squeezedMenuTitle(candidate["title"].get<std::string>()) == wanted;
    };
    int matches = 0;
    for (const auto& candidate : items)
        if (answers(candidate)) ++matches;
    json reply = verb("choose " + title);
    if (reply["ok"] != true) return;
    bool exact = item && matches == 1 && controllerExists() && menuGeneration_ == generation_;
    for (const auto& candidate : items) {
        if (!answers(candidate)) continue;
        std::string bucket = bucketOfAction(candidate["action"].get<std::string>());
        if (bucket == "launch") {
            ledger_.allow(EventLedger::missingApp);
            ledger_.allow(EventLedger::openFailed);
        } else if (!bucket.empty()) {
            if (exact)
                ledger_.expect(bucket);
            else
                ledger_.allow(bucket);
        }
    }
}

void Session::appStep() {
    static const char* verbs[] = {"launch", "quit", "hide", "unhide", "activate"};
    const char* name = verbs[in_.byte() % std::size(verbs)];
    const SceneApp& app = scene_.apps()[in_.byte() % scene_.apps().size()];
    std::string id;
    switch (in_.byte() % 3) {
    case 0: id = app.bundleId; break;
    case 1: id = app.name; break;
    default: id = app.path.empty() ? app.bundleId : app.path; break;
    }
    verb(std::string(name) + " " + id);
}

std::string Session::screensText() {
    switch (in_.byte() % 8) {
    case 0: return json::array({screenJson({0, 0, 1512, 982}, {0, 76, 1512, 869}, 0, 2)}).dump();
    case 1:
        return json::array({screenJson({0, 0, 1512, 982}, {0, 76, 1512, 869}, 0, 2),
                            screenJson({1512, 0, 1920, 1080}, {1512, 0, 1920, 1055}, 0, 1)})
            .dump();
    case 2: return "[]";
    case 3: return json::array({screenJson({0, 0, 200, 100}, {0, 0, 200, 70}, 0, 1)}).dump();
    case 4: return json::array({screenJson({0, 0, 1512, 982}, {0, 0, 1512, 944}, 32, 2)}).dump();
    case 5:
        return json::array({screenJson({0, 0, 1512, 982}, {0, 76, 1512, 869}, 0, 2),
                            screenJson({-1920, -200, 1920, 1080}, {-1920, -200, 1920, 1055}, 0, 1)})
            .dump();
    case 6: return in_.value(scene_.words()).dump(-1, ' ', false, json::error_handler_t::replace);
    default: return json::array({screenJson({0, 0, 1e6, 1e6}, {0, 0, 1e6, 1e6 - 24}, 0, 3)}).dump();
    }
}

void Session::systemStep() {
    switch (in_.byte() % 6) {
    case 0: verb("wake"); break;
    case 1: verb("space"); break;
    case 2:
    case 3: verb("screens " + screensText()); break;
    case 4: verb("appearance light"); break;
    default: verb("appearance dark"); break;
    }
}

void Session::permissionStep() {
    static const char* what[] = {"accessibility", "screen", "screen-preflight", "screen-recording"};
    std::string line = in_.flag() ? "grant " : "revoke ";
    verb(line + what[in_.byte() % std::size(what)]);
}

void Session::captureOutcomeStep() {
    static const char* outcomes[] = {"ok", "decline", "fail"};
    std::string outcome = outcomes[in_.byte() % std::size(outcomes)];
    std::string id;
    switch (in_.byte() % 3) {
    case 0: id = in_.text(scene_.ids()); break;
    case 1: id = std::to_string(scene_.windowNumbers()[in_.byte() % scene_.windowNumbers().size()]); break;
    default: id = "listing"; break;
    }
    std::string line = "capture " + outcome + " " + id;
    if (outcome == "fail" && in_.flag()) {
        json details = {{"domain", in_.textValue(scene_.words())},
                        {"code", in_.integerValue()},
                        {"description", in_.textValue(scene_.names())}};
        line += " " + details.dump(-1, ' ', false, json::error_handler_t::replace);
    }
    verb(line);
}

void Session::windowStep() {
    static const char* actions[] = {"minimize", "space", "restore", "close"};
    std::uint8_t how = in_.byte() % 5;
    if (how < 4) {
        int number = scene_.windowNumbers()[in_.byte() % scene_.windowNumbers().size()];
        verb(std::string("window ") + actions[how] + " " + std::to_string(number));
        return;
    }
    const SceneApp& app = scene_.apps()[in_.byte() % scene_.apps().size()];
    json frame;
    switch (in_.byte() % 5) {
    case 0: frame = {100, 100, 400, 300}; break;
    case 1: frame = {0, 0, 1e9, 1e9}; break;
    case 2: frame = {0, 0, 0, 0}; break;
    case 3: frame = {-50, -50, 10, 10}; break;
    default: frame = in_.value(scene_.words()); break;
    }
    json window = {{"title", in_.textValue(scene_.names())}, {"frame", frame}, {"color", "#336699"}};
    verb("window open " + app.bundleId + " " + window.dump(-1, ' ', false, json::error_handler_t::replace));
}

void Session::clockStep() {
    double seconds = clockSteps[in_.byte() % std::size(clockSteps)];
    note([&] {
        char shown[32];
        std::snprintf(shown, sizeof shown, "%g", seconds);
        return "step " + std::to_string(step_) + ": clock +" + shown + " s";
    });
    desktop::advanceSettled(seconds);
    if (resting_) resting_->waited += seconds;
}

// The user (or another program) puts something else in the Dock's file:
// random bytes, a property list of any shape, nothing, a folder, or the
// original cut short or with one byte changed.
void Session::dockFileStep() {
    const std::string path = scene_.real(FuzzScene::dockFile());
    std::error_code error;
    fs::remove_all(path, error);
    std::string bytes;
    bool write = true;
    std::uint8_t how = in_.byte() % 8;
    switch (how) {
    case 0: bytes = in_.bytes(in_.word() % 2048); break;
    case 1:
    case 2: {
        json values = in_.value(scene_.words());
        if (in_.flag()) values = {{"autohide", true}, {"autohide-delay", 315360000.0}, {"tilesize", values}};
        auto list = how == 1 ? desktop::binaryPropertyList(values) : desktop::xmlPropertyList(values);
        bytes = list.value_or("");
        break;
    }
    case 3: write = false; break;
    case 4:
        fs::create_directories(path, error);
        write = false;
        break;
    case 5: bytes = scene_.dockTemplate().substr(0, in_.word() % (scene_.dockTemplate().size() + 1)); break;
    case 6: {
        bytes = scene_.dockTemplate();
        bytes[in_.word() % bytes.size()] = static_cast<char>(in_.byte());
        break;
    }
    default: bytes = scene_.dockTemplate(); break;
    }
    note([&] {
        return "step " + std::to_string(step_) + ": Dock file " + std::to_string(how) + ", " +
               std::to_string(bytes.size()) + " bytes";
    });
    if (write) {
        fs::create_directories(fs::path(path).parent_path(), error);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << bytes;
    }
    dock_.adopt();
}

// A whole-screen picture costs as much as hundreds of other steps: it runs
// only when the next byte asks for it, once per session.
void Session::screenshotStep() {
    if (in_.byte() != screenshotByte || screenshotTaken_) return;
    screenshotTaken_ = true;
    verb("screenshot " + scene_.scratchFile("screen.png"));
}

}  // namespace orvane::fuzz
