// The session's frame: the fresh scene, the prelude, the steps, the checks
// after each step and the stop at the end. The steps themselves are in
// CommandSteps.cpp and DesktopSteps.cpp.

#include "fuzz/Session.h"

#include "bridge/BridgeTexts.h"
#include "bridge/OrvaneCall.h"
#include "controller/ControllerSlot.h"
#include "controller/NativeController.h"
#include "desktop/Desktop.h"
#include "fuzz/DockWriteCheck.h"
#include "fuzz/Invariant.h"
#include "fuzz/ReplyChecks.h"
#include "fuzz/SnapshotChecks.h"
#include "model/AppEntry.h"
#include "platform/Files.h"
#include "platform/Workspace.h"
#include "preview/ScreenCaptureAccess.h"

namespace orvane::fuzz {

namespace {

using nlohmann::json;

// Real time the threads get to hand their work back before a session counts as hung.
constexpr double settleTimeout = 10;

std::string printable(const std::string& text) {
    std::string shown = text.size() > 200 ? text.substr(0, 200) + "…" : text;
    for (char& c : shown)
        if (static_cast<unsigned char>(c) < 0x20) c = '?';
    return shown;
}

}  // namespace

Session::Session(const FuzzScene& scene, const std::uint8_t* data, std::size_t size,
                 std::function<void(const std::string&)> trace)
    : scene_(scene), in_(data, size), trace_(std::move(trace)), dock_(scene.real(FuzzScene::dockFile())) {}

bool Session::controllerExists() const { return controllerSlot() != nullptr; }

void Session::run() {
    scene_.prepare();
    // The process's screen-recording evidence outlives controllers; a fresh
    // input starts from a fresh process's.
    ScreenCaptureAccess::reset();
    dock_.adopt();
    try {
        prelude();
        afterStep();
        while (!in_.exhausted() && step_ < maximumSteps) {
            ++step_;
            StepKind kind = stepKindOf(in_.byte());
            // Only the clock and drains leave a resting pointer's card to the hover delay.
            if (kind != StepKind::clock && kind != StepKind::drain && kind != StepKind::pointerAtSlot) resting_.reset();
            step(kind);
            afterStep();
        }
        finish();
    } catch (...) {
        // The next input starts from a fresh scene; no controller may outlive this one.
        if (auto controller = controllerSlot()) {
            controllerSlot().reset();
            controller->stop();
        }
        scene_.release();
        throw;
    }
    scene_.release();
}

void Session::prelude() {
    auto prelude = static_cast<Prelude>(in_.byte() % static_cast<std::uint8_t>(Prelude::count));
    switch (prelude) {
    case Prelude::nothing: note("prelude: nothing"); return;
    case Prelude::started:
        note("prelude: start");
        command("start", json::object());
        return;
    case Prelude::trustedAndConfigured:
        note("prelude: trusted");
        verb("grant accessibility");
        [[fallthrough]];
    case Prelude::configured:
        note("prelude: start, configure");
        command("start", json::object());
        command("configure", usualConfiguration());
        return;
    case Prelude::count: return;
    }
}

void Session::step(StepKind kind) {
    switch (kind) {
    case StepKind::command: commandStep(); break;
    case StepKind::rawRequest: rawRequestStep(); break;
    case StepKind::pointerAtSlot: pointerAtSlotStep("pointer"); break;
    case StepKind::clickSlot: pointerAtSlotStep("click"); break;
    case StepKind::rightClickSlot: pointerAtSlotStep("rightclick"); break;
    case StepKind::scrollAtSlot: scrollAtSlotStep(); break;
    case StepKind::pointerElsewhere: pointerElsewhereStep(); break;
    case StepKind::menu: menuStep(); break;
    case StepKind::app: appStep(); break;
    case StepKind::system: systemStep(); break;
    case StepKind::permission: permissionStep(); break;
    case StepKind::captureOutcome: captureOutcomeStep(); break;
    case StepKind::window: windowStep(); break;
    case StepKind::clock: clockStep(); break;
    case StepKind::dockFile: dockFileStep(); break;
    case StepKind::drain: command("events", json::object()); break;
    case StepKind::cardClick: cardClickStep(); break;
    case StepKind::settingsWindow: settingsWindowStep(); break;
    case StepKind::screenshot: screenshotStep(); break;
    case StepKind::count: break;
    }
}

std::string Session::call(const std::string& text) {
    char* reply = orvaneCall(text.c_str());
    require(reply != nullptr, "orvane_call returned no reply");
    std::string replyText(reply);
    orvaneFree(reply);
    note([&] { return "  <- " + printable(replyText); });
    return replyText;
}

json Session::request(const std::string& text) { return checkEnvelope(call(text)); }

json Session::command(const std::string& name, const json& args) {
    json request = {{"command", name}, {"args", args}};
    std::string text = request.dump(-1, ' ', false, json::error_handler_t::replace);
    // The arguments as the library reads them: strings repaired, non-finite numbers null.
    return commandText(name, text, json::parse(text)["args"]);
}

// The text is what the host sends; for a command the table knows, the reply
// must be what the table promises, and the ledger learns what may follow.
json Session::commandText(const std::string& name, const std::string& text, const json& args, bool structured) {
    note([&] { return "step " + std::to_string(step_) + ": " + printable(text); });
    const std::optional<bool> finds = name == "launch" ? launchFinds(args) : std::nullopt;
    std::optional<DockWriteCheck> dockWrite;
    if (name == "dockWrite")
        dockWrite.emplace(scene_.real(FuzzScene::dockFile()), args, controllerExists() && controllerSlot()->state().qaMode);
    const std::optional<std::string> captureFolder = name == "capture" ? prepareCapture(args) : std::nullopt;
    json reply = request(text);
    const bool known = knownCommand(name);
    if (dockWrite && (structured || reply["ok"] == true || isDockWriteFailure(reply))) dockWrite->check(reply);
    if (structured && !known) {
        require(reply["ok"] == false && reply["error"] == texts::unknownCommand,
                [&] { return std::string("an unknown command did not fail as one: " + name); });
        return reply;
    }
    if (structured || reply["ok"] == true) checkCommandReply(name, reply, controllerExists());
    // A raw text the bridge refused (too deep, cut short) ran nothing.
    if (reply["ok"] != true) return reply;
    commandOutcome(name, captureFolder);
    if (name == "start" || name == "stop") {
        ++generation_;
        ledger_.reset();
        if (name == "start") ledger_.allowAny(EventLedger::dockFailed);
    } else if (name == "events") {
        ledger_.drained(reply["data"]);
        json again = request(R"({"command":"events"})");
        require(again["ok"] == true && again["data"] == json::array(), [&] {
            return std::string("a second drain right after the first returned events again: " +
                               again.dump(-1, ' ', false, json::error_handler_t::replace));
        });
    } else if (name == "settingsTab") {
        // Turning to the catalogue page asks the host for the installed applications.
        if (controllerExists()) ledger_.allow(EventKind::loadInstalled);
    } else if (name == "all") {
        menuGeneration_ = generation_;
        if (controllerExists()) lastAction_ = "all";
    } else if (name == "screenRetry") {
        // The probe answers on the main loop before the step settles, to
        // whichever controller the slot holds by then: this one.
        if (controllerExists()) ledger_.expect(EventKind::screenResult);
    } else if (finds) {
        lastAction_ = "launch:" + AppEntry::fromDictionary(args)->id;
        // A launch either cannot find the application (one "找不到" error,
        // exactly) or asks the system to open it (which may fail once).
        if (*finds)
            ledger_.allow(EventLedger::openFailed);
        else
            ledger_.expect(EventLedger::missingApp);
    }
    return reply;
}

json Session::verb(const std::string& line) {
    note([&] { return "step " + std::to_string(step_) + ": !" + printable(line); });
    json reply = desktop::verb(line);
    require(reply.is_object() && reply.contains("ok") && reply["ok"].is_boolean(),
            [&] { return std::string("a desktop verb replied without \"ok\": " + line); });
    note([&] { return "  <- " + printable(reply.dump(-1, ' ', false, json::error_handler_t::replace)); });
    if (reply.contains("pointer")) {
        previousHit_ = hit_;
        hit_ = reply.value("window", json()).dump() + " " + reply.value("view", json()).dump();
    }
    return reply;
}

std::optional<bool> Session::launchFinds(const json& args) const {
    if (!controllerExists() || !args.is_object()) return std::nullopt;
    auto entry = AppEntry::fromDictionary(args);
    if (!entry) return std::nullopt;
    return platform::files().exists(entry->path) || platform::workspace().urlForApplication(entry->id).has_value();
}

void Session::afterStep() {
    require(desktop::settle(settleTimeout),
            "work handed to the background worker or the completion thread never came back");
    // A snapshot the library wrote byte for byte as the last one checked, with
    // the controller in an equal state, passes as that one did: the text is
    // parsed and checked only when either changed.
    std::string text = call(R"({"command":"snapshot"})");
    SnapshotContext context = snapshotContext(controllerSlot().get());
    if (text != checkedSnapshot_ || !(context == checkedContext_)) {
        checkedSnapshot_.clear();
        json reply = checkEnvelope(text);
        checkCommandReply("snapshot", reply, context.controller);
        snapshot_ = reply["data"];
        checkSnapshot(snapshot_, context);
        checkedSnapshot_ = std::move(text);
        checkedContext_ = std::move(context);
    }
    if (lastAction_) {
        require(snapshot_.value("lastAction", json()) == *lastAction_, [&] {
            return "lastAction reads " + snapshot_.value("lastAction", json()).dump() + ", not \"" + *lastAction_ +
                   "\"";
        });
        lastAction_.reset();
    }
    checkRestingPointer();
    dock_.check();
}

void Session::finish() {
    note("finish: drain and stop");
    if (controllerExists()) command("events", json::object());
    command("stop", json::object());
    require(desktop::settle(settleTimeout), "work handed to another thread never came back after stop");
    json state = desktop::state();
    require(state["statusItems"].empty(), "a status item remains after stop");
    for (const auto& window : state["windows"])
        require(window.value("foreign", false) || !window.value("visible", false), [&] {
            return std::string("a window of the library is still visible after stop: " +
                               window.dump(-1, ' ', false, json::error_handler_t::replace));
        });
    dock_.check();
}

}  // namespace orvane::fuzz
