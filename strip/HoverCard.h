#pragma once

#include <memory>
#include <optional>
#include <string>

#include <nlohmann/json_fwd.hpp>

#include "model/AppEntry.h"
#include "platform/Geometry.h"
#include "platform/RunLoop.h"
#include "platform/Workspace.h"

namespace platform::ui {
class Image;
class Window;
}  // namespace platform::ui

namespace orvane {

class StripView;
class WindowPreview;

// The hover card's life: the delayed job that opens it 0.45 s after the
// pointer rests on an application button, the job that closes it 0.25 s
// after the pointer left both the button and the card, the card panel's
// construction and placement under the hovered slot, the preview's
// callbacks, and close(), which every action that must get the card out of
// the way calls first. Main thread only; its jobs and callbacks hold it weakly.
class HoverCard : public std::enable_shared_from_this<HoverCard> {
public:
    static constexpr double hoverDelay = 0.45;
    static constexpr double hideDelay = 0.25;
    static constexpr double cardGap = 6;
    static constexpr double cardScreenMargin = 8;
    static constexpr double cardInitialHeight = 162;
    static constexpr unsigned cardStyleMask = 128;
    static constexpr int cardLevel = 101;
    static constexpr unsigned cardCollectionBehavior = 265;

    // What the card needs of the one who shows it, which outlives it.
    class Owner {
    public:
        virtual ~Owner() = default;
        // The strip the card hangs under; nothing before start or after stop.
        virtual std::shared_ptr<StripView> stripView() const = 0;
        virtual void launch(const AppEntry& entry) = 0;
        virtual platform::RunningApp appRunning(const AppEntry& entry) = 0;
        virtual std::shared_ptr<platform::ui::Image> icon(const AppEntry& entry) = 0;
        virtual void emit(nlohmann::json record) = 0;
    };

    static std::shared_ptr<HoverCard> create(Owner& owner);
    explicit HoverCard(Owner& owner);
    HoverCard(const HoverCard&) = delete;
    HoverCard& operator=(const HoverCard&) = delete;

    // The pointer rests on the button of entry, at rect in the strip's coordinates.
    void beginHover(const AppEntry& entry, platform::Rect rect);
    // The pointer left a button or the card.
    void leaveHover();
    // Shows the card of entry at once, anchored at rect in the strip's coordinates.
    void show(const AppEntry& entry, platform::Rect rect);
    // Closes the open card and cancels the pending jobs.
    void close();
    // Moves the open card's window selection by step.
    void step(long long step);

    // The card's panel, nothing without a card.
    const std::shared_ptr<platform::ui::Window>& window() const { return window_; }
    // The id of the entry the open card shows.
    const std::optional<std::string>& id() const { return id_; }
    // The open card's preview, nothing without a card.
    std::shared_ptr<WindowPreview> preview() const;

private:
    Owner& owner_;
    std::shared_ptr<platform::ui::Window> window_;
    std::optional<std::string> id_;
    platform::Job hoverJob_;
    platform::Job hideJob_;
};

}  // namespace orvane
