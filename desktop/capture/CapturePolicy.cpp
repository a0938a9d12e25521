// The screen-recording service's decisions on the simulated Mac, standing in
// for the privacy checks and the failures of the real capture service: the
// user-declined answer carries the service's own error domain and code, other
// failures other codes, so that callers can tell a refusal from a fault.

#include "desktop/capture/CapturePolicy.h"

#include <cmath>

#include <nlohmann/json.hpp>

#include "desktop/permissions/Permissions.h"
#include "desktop/scene/SceneValues.h"
#include "platform/ScreenCapture.h"

namespace desktop {
namespace {

// The capture service's own codes besides the user-declined one.
constexpr long internalErrorCode = -3811;
constexpr long invalidParameterCode = -3812;
constexpr long noCaptureSourceCode = -3815;

// The texts the service describes its errors with.
namespace texts {
constexpr const char* declined = "The user declined TCCs for application, window, display capture";
constexpr const char* failed = "The capture failed because of an internal error.";
constexpr const char* noSuchWindow = "The window is no longer available for capture.";
constexpr const char* invalidSize = "The requested image size is not valid.";
}  // namespace texts

constexpr const char* okName = "ok";
constexpr const char* declineName = "decline";
constexpr const char* failName = "fail";
constexpr const char* plainPicturesName = "plain";

// Longer than any test or demo waits, short enough to stay a finite time.
constexpr double longestLatency = 3600;

}  // namespace

namespace captureErrors {
platform::Error declined() {
    return {platform::screenCaptureError::streamDomain, platform::screenCaptureError::userDeclined, texts::declined};
}
platform::Error failed() { return {platform::screenCaptureError::streamDomain, internalErrorCode, texts::failed}; }
platform::Error noSuchWindow() { return {platform::screenCaptureError::streamDomain, noCaptureSourceCode, texts::noSuchWindow}; }
platform::Error invalidSize() { return {platform::screenCaptureError::streamDomain, invalidParameterCode, texts::invalidSize}; }
}  // namespace captureErrors

CapturePolicy& CapturePolicy::shared() {
    static auto* policy = new CapturePolicy();
    return *policy;
}

void CapturePolicy::reset(const nlohmann::json& scene) {
    double latency = scene::number(scene, "captureLatency").value_or(0);
    latency_ = latency > 0 ? std::min(latency, longestLatency) : 0;
    plainPictures_ = scene::string(scene, "windowPictures") == std::optional<std::string>(plainPicturesName);
    outcomes_.clear();
    const auto& outcomes = scene::member(scene, "captureOutcomes");
    if (!outcomes.is_object()) return;
    for (const auto& [id, value] : outcomes.items())
        if (auto outcome = outcomeFromJson(value)) outcomes_[id] = *outcome;
}

void CapturePolicy::set(const std::string& id, CaptureOutcome outcome) { outcomes_[id] = std::move(outcome); }

std::optional<CaptureOutcome> CapturePolicy::outcomeFromJson(const nlohmann::json& value) {
    if (value.is_string()) {
        const auto& name = value.get_ref<const std::string&>();
        if (name == okName) return CaptureOutcome{CaptureOutcomeKind::succeed, std::nullopt};
        if (name == declineName) return CaptureOutcome{CaptureOutcomeKind::decline, std::nullopt};
        if (name == failName) return CaptureOutcome{CaptureOutcomeKind::fail, std::nullopt};
        return std::nullopt;
    }
    if (!value.is_object()) return std::nullopt;
    platform::Error error = captureErrors::failed();
    if (auto domain = scene::string(value, "domain")) error.domain = *domain;
    if (auto code = scene::number(value, "code"); code && std::fabs(*code) < 1e15) error.code = static_cast<long>(*code);
    if (auto description = scene::string(value, "description")) error.description = *description;
    return CaptureOutcome{CaptureOutcomeKind::fail, error};
}

std::optional<platform::Error> CapturePolicy::errorOf(const CaptureOutcome& outcome) const {
    switch (outcome.kind) {
        case CaptureOutcomeKind::succeed: return std::nullopt;
        case CaptureOutcomeKind::decline: return captureErrors::declined();
        case CaptureOutcomeKind::fail: return outcome.error.value_or(captureErrors::failed());
    }
    return std::nullopt;
}

std::optional<platform::Error> CapturePolicy::listingError() const {
    if (!permissions::screenCaptureInForce()) return captureErrors::declined();
    auto found = outcomes_.find(listingOutcomeId);
    return found == outcomes_.end() ? std::nullopt : errorOf(found->second);
}

std::optional<platform::Error> CapturePolicy::captureError(int windowNumber, const std::optional<std::string>& bundleId) const {
    if (!permissions::screenCaptureInForce()) return captureErrors::declined();
    if (auto found = outcomes_.find(std::to_string(windowNumber)); found != outcomes_.end()) return errorOf(found->second);
    if (bundleId)
        if (auto found = outcomes_.find(*bundleId); found != outcomes_.end()) return errorOf(found->second);
    return std::nullopt;
}

nlohmann::json CapturePolicy::state() const {
    nlohmann::json outcomes = nlohmann::json::object();
    for (const auto& [id, outcome] : outcomes_) {
        switch (outcome.kind) {
            case CaptureOutcomeKind::succeed: outcomes[id] = okName; break;
            case CaptureOutcomeKind::decline: outcomes[id] = declineName; break;
            case CaptureOutcomeKind::fail: {
                auto error = errorOf(outcome).value_or(captureErrors::failed());
                outcomes[id] = {{"domain", error.domain}, {"code", error.code}, {"description", error.description}};
                break;
            }
        }
    }
    return {{"latency", latency_}, {"outcomes", std::move(outcomes)}};
}

}  // namespace desktop
