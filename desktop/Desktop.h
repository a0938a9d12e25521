#pragma once

// The scripting side of the simulated Mac: what tests and the host use to set
// the scene, drive the clock and act as the user. The library never includes
// this header; it reaches the simulated system only through platform/.
//
// The system's parts live in folders named after what they stand in for:
// runloop/, windowserver/, pictures/ (what the display shows), apps/, files/,
// preferences/, propertylist/, permissions/, capture/ (screen recording),
// scene/ (reading scenes), scripting/ (the demo scene and verbs) and ui/ (the
// drawing and controls behind platform/ui); the README orders them in layers.

#include <functional>
#include <string>

// Callers receive JSON values by value, so they need the whole type.
#include <nlohmann/json.hpp>

#include "desktop/runloop/Clock.h"
#include "desktop/scripting/DefaultScene.h"

namespace desktop {

// Replaces the whole simulated Mac with the scene (a JSON object; see
// desktop/scripting/Scene.h for its keys). An empty object gives an empty Mac
// with one screen; defaultScene() gives the demo Mac. Cancels every pending job.
void reset(const nlohmann::json& scene, Clock clock = Clock::manual);
// The scene in the file ORVANE_SCENE names; the default scene when the
// variable is unset or the file is not a readable JSON object (said on stderr).
nlohmann::json sceneFromEnvironment();
// The clock ORVANE_CLOCK asks for: manual for "manual", else the real one.
Clock clockFromEnvironment();

// Manual clock: runs every job that falls due within the next seconds, in
// order, including jobs they schedule that fall due within the same span.
void advance(double seconds);
// Manual clock, as advance, but after every job waits (as settle does) until
// what the job set off on the background worker and the completion thread has
// been handed back, so those results arrive at the same moment on every run.
// Real clock: as runFor.
void advanceSettled(double seconds, double realTimeoutSeconds = 10);
// Real clock: runs the main run loop for about the given real time.
void runFor(double seconds);
// Runs main-thread jobs (without moving the manual clock) until the
// predicate holds or the real timeout passes; returns the predicate's value.
bool runUntil(const std::function<bool()>& predicate, double realTimeoutSeconds);
// Runs the jobs that are due now on the main thread.
void pump();
// Runs main-thread jobs that are due now (without moving the manual clock)
// until the background worker and the completion thread are idle and nothing
// is due: what they were doing has been handed back. False when the real
// timeout passed first.
bool settle(double realTimeoutSeconds);

// One scripting verb, as the host's "!" lines: "pointer 10 20", "launch ID",
// "state" ... Returns a JSON reply object ({"ok":true,...} or {"ok":false,"error":...}).
nlohmann::json verb(const std::string& line);

// The desktop's whole visible state: running apps, windows, status items,
// the open menu, the pointer, recorded requests.
nlohmann::json state();

}  // namespace desktop
