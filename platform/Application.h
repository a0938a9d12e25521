#pragma once

#include <memory>
#include <optional>
#include <string>

namespace platform {

namespace ui { class Image; }

// This process as the platform knows it: the host application that loaded the library.
class Application {
public:
    virtual ~Application() = default;
    virtual int processIdentifier() = 0;
    // The icon the application registered for itself, if any.
    virtual std::shared_ptr<ui::Image> applicationIconImage() = 0;
    virtual std::optional<std::string> mainBundlePath() = 0;
    virtual std::optional<std::string> mainBundleIdentifier() = 0;
    // Makes this application the active one, bringing its windows forward;
    // with ignoringOtherApps it does so even when another application is active.
    virtual void activateIgnoringOtherApps(bool ignoringOtherApps) = 0;
};

Application& application();

}  // namespace platform
