#include "tests/preview/PreviewFixture.h"

#include <set>

#include "preview/ScreenCaptureAccess.h"
#include "tests/support/Call.h"

namespace orvane::testing {

void PreviewTest::SetUp() {
    ControllerTest::SetUp();
    ScreenCaptureAccess::reset();
}

json PreviewTest::windowApp(const std::string& bundleId, const std::string& name, int pid, json windows) {
    json value = app(bundleId, name, pid);
    value["windows"] = std::move(windows);
    return value;
}

json PreviewTest::window(int number, const std::string& title, double width, double height, json more) {
    json value = {{"number", number}, {"title", title}, {"frame", {120, 120, width, height}}};
    for (auto& [key, item] : more.items()) value[key] = item;
    return value;
}

void PreviewTest::startWith(json apps, json extra) {
    if (!extra.contains("screenCaptureGranted")) extra["screenCaptureGranted"] = true;
    // Card pictures are inspected here: other windows drawn in full.
    if (!extra.contains("windowPictures")) extra["windowPictures"] = "detailed";
    json pinned = json::array();
    std::set<std::string> seen;
    for (const auto& a : apps) {
        std::string id = a["bundleId"];
        if (!seen.insert(id).second) continue;
        pinned.push_back({{"id", id}, {"name", a["name"]}, {"path", a["path"]}});
    }
    load(scene(std::move(apps), std::move(extra)));
    start();
    controller->configure({{"pinned", pinned}, {"showRunning", false}});
    finishScans();
}

std::shared_ptr<WindowPreview> PreviewTest::open(int index) {
    test::data("hover", {{"index", index}});
    // The slot's controller: a test may have replaced the one it started.
    auto current = controllerSlot();
    auto preview = current ? current->hoverCard().preview() : nullptr;
    EXPECT_TRUE(preview) << "no card opened for entry " << index;
    return preview;
}

json PreviewTest::report() { return test::data("snapshot")["preview"]; }

long PreviewTest::listings() { return desktop::state()["capture"].value("listings", -1L); }

long PreviewTest::captures() { return desktop::state()["capture"].value("captures", -1L); }

}  // namespace orvane::testing
