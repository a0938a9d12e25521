#pragma once

// One fuzz input as a session on the simulated Mac: from the fresh scene, the
// bytes decode into steps (commands with structured arguments, the user's
// pointer and menus, applications, the system, permissions, captures, the
// clock, the Dock's file), and after every step the library's invariants are
// checked. A broken invariant throws InvariantBroken with what was seen.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <type_traits>

#include <nlohmann/json.hpp>

#include "fuzz/DockFileGuard.h"
#include "fuzz/EventLedger.h"
#include "fuzz/FuzzInput.h"
#include "fuzz/FuzzScene.h"
#include "fuzz/SnapshotChecks.h"
#include "fuzz/StepKind.h"

namespace orvane::fuzz {

struct Point {
    double x = 0, y = 0;
};

class Session {
public:
    // trace, when given, receives one line per step and per call.
    Session(const FuzzScene& scene, const std::uint8_t* data, std::size_t size,
            std::function<void(const std::string&)> trace = nullptr);

    // Runs the whole input, then stops the controller and checks what stop leaves.
    void run();

private:
    // Infrastructure.
    // The reply text of one orvane_call; request() also checks its envelope.
    std::string call(const std::string& text);
    nlohmann::json request(const std::string& text);
    nlohmann::json command(const std::string& name, const nlohmann::json& args);
    // structured: the text is the request the session built for a command of
    // that name; otherwise raw bytes that parsed as a request for it.
    nlohmann::json commandText(const std::string& name, const std::string& text, const nlohmann::json& args,
                               bool structured = true);
    nlohmann::json verb(const std::string& line);
    void afterStep();
    // line: a text, or a function that writes it only when the session is
    // traced (most lines show a whole request or reply).
    template <typename Line>
    void note(Line&& line) const {
        if (!trace_) return;
        if constexpr (std::is_invocable_v<Line>)
            trace_(line());
        else
            trace_(std::string(line));
    }
    bool controllerExists() const;
    void prelude();
    void finish();

    void step(StepKind kind);

    // What commands must do (CommandOutcomes.cpp).
    std::optional<std::string> prepareCapture(const nlohmann::json& args);
    void commandOutcome(const std::string& name, const std::optional<std::string>& captureFolder);

    // Commands (CommandSteps.cpp).
    void commandStep();
    void rawRequestStep();
    nlohmann::json commandArguments(const std::string& name);
    nlohmann::json appRecord();
    nlohmann::json configuration();
    nlohmann::json settingsState();
    nlohmann::json dockValues();
    // Whether the application of a launch is found (nothing: no launch happens).
    std::optional<bool> launchFinds(const nlohmann::json& args) const;
    static bool knownCommand(const std::string& name);
    static nlohmann::json usualConfiguration();

    // The desktop (DesktopSteps.cpp).
    void pointerAtSlotStep(const char* verbName);
    void scrollAtSlotStep();
    void pointerElsewhereStep();
    void menuStep();
    void appStep();
    void systemStep();
    void permissionStep();
    void captureOutcomeStep();
    void windowStep();
    void clockStep();
    void dockFileStep();
    void cardClickStep();
    void cardButtonStep(std::uint8_t which);
    void settingsWindowStep();
    void screenshotStep();
    // Where a slot step aims: the point, the control it is in, and whether it
    // lies strictly inside that control.
    struct SlotAim {
        Point point;
        std::optional<std::size_t> control;
        bool inside = false;
    };
    SlotAim slotAim();
    // A pointer step that came to rest on an application's slot: past the
    // hover delay that application's card must be open, unless only clock
    // steps passed and the strip's entries stayed the same.
    void restOnSlot(const SlotAim& aim, Point from, const nlohmann::json& reply);
    void checkRestingPointer();
    std::optional<nlohmann::json> windowFrame(std::int64_t number);
    double fraction();
    static double fractionOf(std::uint8_t byte);
    std::string screensText();
    // After a click that may have reached a strip button or opened a menu.
    void clicked(const nlohmann::json& reply);

    const FuzzScene& scene_;
    FuzzInput in_;
    std::function<void(const std::string&)> trace_;
    EventLedger ledger_;
    DockFileGuard dock_;
    nlohmann::json snapshot_ = nlohmann::json::object();
    // The last snapshot text that passed its checks, and the context it passed in.
    std::string checkedSnapshot_;
    SnapshotContext checkedContext_;
    // Grows with every start and stop: menus opened under an earlier
    // controller act on nothing.
    int generation_ = 0;
    int menuGeneration_ = -1;
    int step_ = 0;
    bool screenshotTaken_ = false;
    // What the pointer was over after the last verb that moved it (window
    // number and the view's label), and before that.
    std::string hit_, previousHit_;
    struct RestingPointer {
        std::string id;
        double waited = 0;
        nlohmann::json visible;
        int generation = 0;
    };
    std::optional<RestingPointer> resting_;
    // What the next snapshot's lastAction must read, after a launch or "all".
    std::optional<std::string> lastAction_;
};

}  // namespace orvane::fuzz
