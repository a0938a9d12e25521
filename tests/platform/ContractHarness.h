#pragma once

// What the platform contract tests need from the backend under test beyond
// platform/: a fresh machine, a way to let the main run loop run, and a little
// setup the headers do not offer. Each backend's test support implements these
// (SimulatedMacHarness.cpp for the simulated Mac); the tests link with one.

#include <functional>
#include <string>

namespace orvane::contract {

// What a test asks of the person at the machine before it starts.
struct ContractMachine {
    // This process is trusted for accessibility.
    bool accessibilityTrusted = false;
    // This process may record the screen, and the permission is in force.
    bool screenCaptureAllowed = false;
};

// A fresh machine for one test: pending main-loop work disowned, an empty
// scratch home folder, one application that is installed but not running,
// and the permissions the machine description grants (none by default).
void contractReset(const ContractMachine& machine = {});
// Lets the main run loop run for the given seconds of its clock, running every
// job that falls due, in order (on a manual clock without waiting in real time).
void contractAdvance(double seconds);
// Runs main-thread work, without moving a manual clock, until the predicate
// holds or the real timeout passes; returns the predicate's last value.
bool contractRunUntil(const std::function<bool()>& predicate, double realTimeoutSeconds);
// The bundle path of the installed, not running application of contractReset().
std::string contractLaunchableApplicationPath();
// Creates the folder (and its parents) at the machine's absolute path.
void contractMakeFolder(const std::string& absolutePath);

}  // namespace orvane::contract
