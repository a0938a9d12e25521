// The screen-recording services of the simulated Mac, standing in for the
// preflight and request calls, the shareable-content listing, the on-screen
// window list and single-window screenshots. As on the real system every
// answer comes later, on the main run loop, after the scene's latency, and
// reflects the desktop as it is when the answer is made; the permission in
// force and the scene's outcomes decide whether it succeeds.

#include "desktop/capture/SimulatedScreenCapture.h"

#include <algorithm>
#include <limits>

#include <nlohmann/json.hpp>

#include "desktop/apps/ProcessTable.h"
#include "desktop/capture/CapturePolicy.h"
#include "desktop/permissions/Permissions.h"
#include "desktop/pictures/WindowPicture.h"
#include "desktop/runloop/MainRunLoop.h"
#include "desktop/windowserver/WindowList.h"
#include "platform/ScreenCapture.h"
#include "platform/ui/Bitmap.h"

namespace desktop {
namespace {

using platform::CaptureConfiguration;
using platform::CaptureResult;
using platform::ShareableContent;
using platform::ShareableWindow;

std::optional<std::string> bundleIdentifierOf(int pid) {
    for (const auto& app : ProcessTable::shared().runningApplications())
        if (app->processIdentifier() == pid) return app->bundleIdentifier();
    return std::nullopt;
}

ShareableWindow shareable(const WindowRecord& record) {
    ShareableWindow window;
    window.windowID = static_cast<std::uint32_t>(record.number);
    window.frame = pictureFrame(record);
    window.windowLayer = record.level;
    window.title = record.title;
    window.owningApplication = platform::CaptureApplication{record.ownerPid, bundleIdentifierOf(record.ownerPid)};
    return window;
}

bool validSize(const CaptureConfiguration& configuration) {
    return configuration.width >= 1 && configuration.height >= 1 && configuration.width <= largestCaptureSide &&
           configuration.height <= largestCaptureSide &&
           static_cast<long long>(configuration.width) * configuration.height <= largestCapturePixels;
}

class SimulatedScreenCapture final : public platform::ScreenCapture {
public:
    void reset() {
        listings_ = 0;
        captures_ = 0;
        lastListing_ = nullptr;
        lastCapture_ = nullptr;
    }

    nlohmann::json state() const {
        nlohmann::json state = CapturePolicy::shared().state();
        state["listings"] = listings_;
        state["captures"] = captures_;
        state["lastListing"] = lastListing_;
        state["lastCapture"] = lastCapture_;
        return state;
    }

    bool preflight() override { return permissions::screenCaptureGranted(); }

    bool request() override {
        permissions::recordScreenCapturePrompt();
        return preflight();
    }

    // The simulated Mac has no desktop windows, so excluding them changes nothing.
    void shareableContent(bool excludingDesktopWindows, bool onScreenWindowsOnly,
                          std::function<void(ShareableContent)> completion) override {
        ++listings_;
        lastListing_ = {{"excludingDesktopWindows", excludingDesktopWindows}, {"onScreenWindowsOnly", onScreenWindowsOnly}};
        MainRunLoop::shared().after(CapturePolicy::shared().latency(), [onScreenWindowsOnly, completion = std::move(completion)] {
            if (completion) completion(listing(onScreenWindowsOnly));
        });
    }

    std::vector<std::int64_t> onScreenWindowOrder() override {
        std::vector<std::int64_t> order;
        for (const auto& record : WindowList::shared().visibleFrontToBack()) order.push_back(record.number);
        return order;
    }

    void captureWindow(std::uint32_t windowID, const CaptureConfiguration& configuration,
                       std::function<void(CaptureResult)> completion) override {
        ++captures_;
        lastCapture_ = {{"windowID", windowID},
                        {"width", configuration.width},
                        {"height", configuration.height},
                        {"scalesToFit", configuration.scalesToFit},
                        {"showsCursor", configuration.showsCursor},
                        {"ignoreShadowsSingleWindow", configuration.ignoreShadowsSingleWindow},
                        {"includeChildWindows", configuration.includeChildWindows
                                                    ? nlohmann::json(*configuration.includeChildWindows)
                                                    : nlohmann::json(nullptr)}};
        MainRunLoop::shared().after(CapturePolicy::shared().latency(), [windowID, configuration, completion = std::move(completion)] {
            if (completion) completion(capture(windowID, configuration));
        });
    }

private:
    static ShareableContent listing(bool onScreenWindowsOnly) {
        ShareableContent content;
        if (auto error = CapturePolicy::shared().listingError()) {
            content.error = std::move(error);
            return content;
        }
        auto& list = WindowList::shared();
        for (const auto& record : onScreenWindowsOnly ? list.visibleFrontToBack() : list.all())
            content.windows.push_back(shareable(record));
        return content;
    }

    static CaptureResult capture(std::uint32_t windowID, const CaptureConfiguration& configuration) {
        CaptureResult result;
        std::optional<WindowRecord> record;
        if (windowID <= static_cast<std::uint32_t>(std::numeric_limits<int>::max()))
            record = WindowList::shared().find(static_cast<int>(windowID));
        if (!record) {
            // Without the permission the system refuses before it looks for the window.
            result.error = permissions::screenCaptureInForce() ? captureErrors::noSuchWindow() : captureErrors::declined();
            return result;
        }
        if (auto error = CapturePolicy::shared().captureError(record->number, bundleIdentifierOf(record->ownerPid))) {
            result.error = std::move(error);
            return result;
        }
        if (!validSize(configuration)) {
            result.error = captureErrors::invalidSize();
            return result;
        }
        auto fit = configuration.scalesToFit ? PictureFit::scaleToFit : PictureFit::backingScale;
        result.image = CapturePolicy::shared().plainPictures()
                           ? plainWindowPicture(*record, configuration.width, configuration.height, fit)
                           : windowPicture(*record, configuration.width, configuration.height, fit);
        return result;
    }

    long listings_ = 0;
    long captures_ = 0;
    // What the latest listing and capture were asked for (null before any).
    nlohmann::json lastListing_;
    nlohmann::json lastCapture_;
};

SimulatedScreenCapture& service() {
    static auto* instance = new SimulatedScreenCapture();
    return *instance;
}

}  // namespace

void resetScreenCapture(const nlohmann::json& scene) {
    CapturePolicy::shared().reset(scene);
    service().reset();
}

nlohmann::json screenCaptureState() { return service().state(); }

platform::ScreenCapture& simulatedScreenCapture() { return service(); }

}  // namespace desktop
