#include "preview/ScreenCaptureAccess.h"

#include <utility>

#include "platform/ScreenCapture.h"
#include "platform/Workspace.h"
#include "preview/PreviewTexts.h"

namespace orvane::ScreenCaptureAccess {
namespace {

constexpr const char* screenRecordingSettingsURL =
    "x-apple.systempreferences:com.apple.preference.security?Privacy_ScreenCapture";

struct Evidence {
    bool confirmedByCapture = false;
    bool checking = false;
    std::string lastError;
};

Evidence& evidence() {
    // Never destroyed: a probe's completion may arrive while the process exits.
    static auto* state = new Evidence();
    return *state;
}

}  // namespace

bool granted() { return platform::screenCapture().preflight() || evidence().confirmedByCapture; }

const char* status() { return granted() ? previewTexts::screenCaptureInEffect : previewTexts::screenCaptureNotInEffect; }

const std::string& lastError() { return evidence().lastError; }

bool confirmedByCapture() { return evidence().confirmedByCapture; }

bool checking() { return evidence().checking; }

void request() {
    auto& capture = platform::screenCapture();
    if (!capture.preflight()) capture.request();
    platform::workspace().openURL(screenRecordingSettingsURL);
}

void probe(std::function<void(bool)> completion) {
    if (evidence().checking) {
        if (completion) completion(granted());
        return;
    }
    evidence().checking = true;
    platform::screenCapture().shareableContent(
        /*excludingDesktopWindows=*/true, /*onScreenWindowsOnly=*/true,
        [completion = std::move(completion)](platform::ShareableContent content) {
            Evidence& state = evidence();
            // Cleared first, so that a completion that probes again really probes.
            state.checking = false;
            bool succeeded = !content.error;
            if (succeeded) {
                state.confirmedByCapture = true;
                state.lastError.clear();
            } else {
                state.lastError = content.error->description;
            }
            if (completion) completion(succeeded);
        });
}

void setConfirmedByCapture(bool confirmed) { evidence().confirmedByCapture = confirmed; }

void setLastError(std::string description) { evidence().lastError = std::move(description); }

void reset() { evidence() = Evidence{}; }

}  // namespace orvane::ScreenCaptureAccess
