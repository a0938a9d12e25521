#pragma once

// What the simulated Mac's screen-recording service decides about each
// request: how long an answer takes, and whether a listing or the capture of
// a window succeeds, is declined by the user or fails. The scene sets it and
// the capture verbs change it at any moment. Main thread only.

#include <map>
#include <optional>
#include <string>

#include <nlohmann/json_fwd.hpp>

#include "platform/Error.h"

namespace desktop {

// The id that stands for the shareable-content listing in the outcome table.
inline constexpr const char* listingOutcomeId = "listing";

enum class CaptureOutcomeKind { succeed, decline, fail };

struct CaptureOutcome {
    CaptureOutcomeKind kind = CaptureOutcomeKind::succeed;
    std::optional<platform::Error> error;  // fail: the error given, else the default failure
};

class CapturePolicy {
public:
    static CapturePolicy& shared();

    // Reads "captureLatency", "captureOutcomes" and "windowPictures".
    void reset(const nlohmann::json& scene);
    double latency() const { return latency_; }
    // Whether other applications' windows are captured as flat rectangles
    // of their colour ("windowPictures": "plain"), for sessions that never
    // look at the pixels.
    bool plainPictures() const { return plainPictures_; }

    // id: a bundle identifier, a window number in decimal, or listingOutcomeId.
    void set(const std::string& id, CaptureOutcome outcome);
    // Parses "ok" | "decline" | "fail" | {"domain","code","description"}.
    static std::optional<CaptureOutcome> outcomeFromJson(const nlohmann::json& value);

    // The error a listing ends with now, or nothing when it succeeds.
    std::optional<platform::Error> listingError() const;
    // The error capturing the window ends with now: the window's own outcome,
    // else its application's, else success. Without the permission in force
    // everything is declined.
    std::optional<platform::Error> captureError(int windowNumber, const std::optional<std::string>& bundleId) const;

    nlohmann::json state() const;

private:
    std::optional<platform::Error> errorOf(const CaptureOutcome& outcome) const;

    double latency_ = 0;
    bool plainPictures_ = false;
    std::map<std::string, CaptureOutcome> outcomes_;
};

// The errors the service answers with.
namespace captureErrors {
platform::Error declined();
platform::Error failed();
platform::Error noSuchWindow();
platform::Error invalidSize();
}  // namespace captureErrors

}  // namespace desktop
