#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Error.h"

namespace platform {

namespace ui { class Image; }

enum class ActivationPolicy : int { regular = 0, accessory = 1, prohibited = 2 };

// A running application of the logged-in user. Its properties are live, like
// the platform's: they change as the application is activated or quits.
class RunningApplication {
public:
    virtual ~RunningApplication() = default;
    virtual int processIdentifier() const = 0;
    virtual std::optional<std::string> bundleIdentifier() const = 0;
    // File-system path of the bundle URL, nothing without one.
    virtual std::optional<std::string> bundlePath() const = 0;
    virtual std::optional<std::string> localizedName() const = 0;
    virtual ActivationPolicy activationPolicy() const = 0;
    virtual bool isTerminated() const = 0;
    virtual bool isActive() const = 0;
};

using RunningApp = std::shared_ptr<const RunningApplication>;

// Notification names, as the platform spells them.
namespace notification {
inline constexpr const char* didLaunchApplication = "NSWorkspaceDidLaunchApplicationNotification";
inline constexpr const char* didTerminateApplication = "NSWorkspaceDidTerminateApplicationNotification";
inline constexpr const char* didActivateApplication = "NSWorkspaceDidActivateApplicationNotification";
inline constexpr const char* didUnhideApplication = "NSWorkspaceDidUnhideApplicationNotification";
inline constexpr const char* didWake = "NSWorkspaceDidWakeNotification";
inline constexpr const char* activeSpaceDidChange = "NSWorkspaceActiveSpaceDidChangeNotification";
inline constexpr const char* screenParametersDidChange = "NSApplicationDidChangeScreenParametersNotification";
}  // namespace notification

struct ObserverToken {
    std::uint64_t id = 0;
    friend bool operator==(const ObserverToken&, const ObserverToken&) = default;
};

// Delivers named notifications on the main run loop.
class NotificationCenter {
public:
    virtual ~NotificationCenter() = default;
    virtual ObserverToken addObserver(const std::string& name, std::function<void(const std::string& name)> callback) = 0;
    // Removing a token this center does not know does nothing.
    virtual void removeObserver(const ObserverToken& token) = 0;
};

// Called on an arbitrary thread, as the platform does.
using OpenCompletion = std::function<void(RunningApp app, std::optional<Error> error)>;

class Workspace {
public:
    virtual ~Workspace() = default;

    // Every running application, in the platform's stable order.
    virtual std::vector<RunningApp> runningApplications() = 0;
    virtual NotificationCenter& notificationCenter() = 0;
    // Opens (or, when running, activates) the application bundle at path.
    virtual void openApplication(const std::string& path, bool activates, OpenCompletion completion) = 0;
    virtual std::optional<std::string> urlForApplication(const std::string& bundleIdentifier) = 0;
    virtual std::shared_ptr<ui::Image> iconForFile(const std::string& path) = 0;
    virtual void activateFileViewerSelecting(const std::vector<std::string>& paths) = 0;
    virtual bool openURL(const std::string& url) = 0;
    virtual bool accessibilityDisplayShouldReduceMotion() = 0;
};

Workspace& workspace();
// The application's default notification center (screen-parameter changes).
NotificationCenter& defaultNotificationCenter();

}  // namespace platform
