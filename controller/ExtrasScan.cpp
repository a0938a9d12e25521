// Starting a native-entry scan and taking its result back. The accessibility
// reads run on the background worker over copies made here on the main
// thread; the result comes back through the main run loop and a weak
// reference, and counts only if no launch, quit or configuration moved the
// detection epoch on in the meantime.

#include "controller/NativeController.h"
#include "platform/Accessibility.h"
#include "platform/Application.h"
#include "platform/RunLoop.h"
#include "platform/ui/Screen.h"

namespace orvane {

void NativeController::scanExtras() {
    if (!platform::accessibility().isTrusted(false)) {
        state_.detections.clear();
        return;
    }
    if (!state_.autoDedup || state_.scanning) return;
    state_.scanning = true;
    auto epoch = state_.detectionEpoch;

    auto candidates = extrasCandidates(state_.running, state_.pinned, platform::application().processIdentifier());
    std::vector<platform::Rect> screens;
    for (const auto& screen : platform::ui::screens()) screens.push_back(screen.frame);

    std::weak_ptr<NativeController> weak = weak_from_this();
    platform::runLoop().background(
        [weak, epoch, candidates = std::move(candidates), screens = std::move(screens)]() mutable {
            auto result = detectExtras(candidates, screens, platform::accessibility());
            platform::runLoop().postToMain([weak, epoch, result = std::move(result)]() mutable {
                if (auto self = weak.lock()) self->finishScan(epoch, std::move(result));
            });
        });
}

void NativeController::finishScan(std::uint64_t epoch, Detections result) {
    state_.scanning = false;
    if (stopped_) return;
    if (state_.detectionEpoch != epoch) {
        scanExtras();
        return;
    }
    state_.detections = platform::accessibility().isTrusted(false) ? std::move(result) : Detections{};
    refresh(false);
}

}  // namespace orvane
