#pragma once

#include <memory>
#include <vector>

#include "model/AppEntry.h"
#include "platform/Geometry.h"
#include "platform/Workspace.h"
#include "platform/ui/Event.h"

namespace platform::ui {
class Image;
class StatusItem;
class Window;
}  // namespace platform::ui

namespace orvane {

// What the strip reads from and asks of the controller that owns it. The
// strip holds its owner weakly and reads these on every use.
class StripOwner {
public:
    virtual ~StripOwner() = default;

    virtual const std::vector<AppEntry>& entries() const = 0;
    virtual int maxIcons() const = 0;
    virtual bool centered() const = 0;
    virtual std::shared_ptr<platform::ui::Window> centerPanel() const = 0;
    virtual std::shared_ptr<platform::ui::StatusItem> item() const = 0;
    virtual bool pendingRefresh() const = 0;

    virtual void closeCard() = 0;
    virtual void beginHover(const AppEntry& entry, platform::Rect rect) = 0;
    virtual void leaveHover() = 0;
    virtual void launch(const AppEntry& entry) = 0;
    virtual void all() = 0;
    virtual void contextMenu(const AppEntry& entry, const platform::ui::Event& event) = 0;
    virtual platform::RunningApp appRunning(const AppEntry& entry) = 0;
    virtual std::shared_ptr<platform::ui::Image> icon(const AppEntry& entry) = 0;
    virtual void refresh(bool force) = 0;
};

}  // namespace orvane
