#pragma once

#include <memory>
#include <string>

#include "preview/WindowPreview.h"
#include "tests/controller/ControllerFixture.h"

namespace orvane::testing {

// The simulated Mac for hover-card tests: the controller fixture's screen
// and clock, screen recording granted unless a test says otherwise, and the
// process-wide permission evidence as at load.
class PreviewTest : public ControllerTest {
public:
    // An application running with windows given in scene form.
    static json windowApp(const std::string& bundleId, const std::string& name, int pid, json windows);
    static json window(int number, const std::string& title, double width, double height, json more = json::object());

protected:
    void SetUp() override;

    // Loads the scene with the apps (extra keys merged in, screen recording
    // granted by default), starts the controller and pins every bundle once.
    void startWith(json apps, json extra = json::object());
    // Opens the card of entries[index] as the host's hover does.
    std::shared_ptr<WindowPreview> open(int index);
    json report();
    // The desktop's counts of shareable-content listings and captures so far.
    long listings();
    long captures();
};

}  // namespace orvane::testing
