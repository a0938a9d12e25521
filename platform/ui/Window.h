#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/Geometry.h"
#include "platform/ui/Appearance.h"
#include "platform/ui/Screen.h"

namespace platform::ui {

class View;

namespace styleMask {
inline constexpr unsigned borderless = 0;
inline constexpr unsigned titled = 1;
inline constexpr unsigned closable = 2;
inline constexpr unsigned miniaturizable = 4;
inline constexpr unsigned resizable = 8;
inline constexpr unsigned nonactivatingPanel = 128;
inline constexpr unsigned fullSizeContentView = 1u << 15;
}  // namespace styleMask

namespace windowLevel {
inline constexpr int normal = 0;
inline constexpr int floating = 3;
inline constexpr int statusBar = 25;
inline constexpr int popUpMenu = 101;
}  // namespace windowLevel

namespace collection {
inline constexpr unsigned canJoinAllSpaces = 1;
inline constexpr unsigned moveToActiveSpace = 2;
inline constexpr unsigned transient = 8;
inline constexpr unsigned stationary = 16;
inline constexpr unsigned fullScreenAuxiliary = 256;
}  // namespace collection

namespace backing { inline constexpr int buffered = 2; }

// A window of the window server. Created hidden; ordering it in gives it a
// place among the windows of its level. Frames are in screen coordinates.
class Window : public std::enable_shared_from_this<Window> {
public:
    static std::shared_ptr<Window> create(Rect contentRect, unsigned styleMask, int backing = backing::buffered, bool defer = false);
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    unsigned styleMask() const { return styleMask_; }
    int level() const { return level_; }
    void setLevel(int level);
    unsigned collectionBehavior() const { return collectionBehavior_; }
    void setCollectionBehavior(unsigned behavior) { collectionBehavior_ = behavior; }
    int windowNumber() const { return windowNumber_; }
    const std::string& title() const { return title_; }
    void setTitle(std::string title) { title_ = std::move(title); }

    Rect frame() const { return frame_; }
    void setFrame(Rect frame, bool display = true);
    // Keeps the top-left corner, as the platform does.
    void setContentSize(Size size);
    Size contentSize() const { return frame_.size; }

    const std::shared_ptr<View>& contentView() const { return contentView_; }
    // Replaces the content view (none removes it), sizing the new one to the window.
    void setContentView(std::shared_ptr<View> view);

    bool isVisible() const { return visible_; }
    void orderFront();
    void orderFrontRegardless();
    void makeKeyAndOrderFront();
    void orderOut();
    bool isKey() const;

    // The screen that holds most of the window, nothing when it is on none.
    std::optional<Screen> screen() const;

    bool isOpaque() const { return opaque_; }
    void setOpaque(bool opaque) { opaque_ = opaque; }
    bool hasClearBackground() const { return clearBackground_; }
    void setClearBackground(bool clear) { clearBackground_ = clear; }
    bool hasShadow() const { return shadow_; }
    void setHasShadow(bool shadow) { shadow_ = shadow; }
    bool hidesOnDeactivate() const { return hidesOnDeactivate_; }
    void setHidesOnDeactivate(bool hides) { hidesOnDeactivate_ = hides; }
    std::optional<AppearanceName> appearance() const { return appearance_; }
    void setAppearance(std::optional<AppearanceName> appearance);
    const std::string& frameAutosaveName() const { return autosaveName_; }
    // Restores a frame saved under the name, then keeps saving it there.
    void setFrameAutosaveName(std::string name);

    // Asked before a user close; returning false keeps the window.
    std::function<bool()> shouldClose;
    // Closes like the close button: asks shouldClose, then orders out.
    void performClose();

protected:
    Window(Rect contentRect, unsigned styleMask);

private:
    unsigned styleMask_;
    int level_ = windowLevel::normal;
    unsigned collectionBehavior_ = 0;
    int windowNumber_;
    std::string title_;
    Rect frame_;
    std::shared_ptr<View> contentView_;
    bool visible_ = false;
    bool opaque_ = true;
    bool clearBackground_ = false;
    bool shadow_ = true;
    bool hidesOnDeactivate_ = false;
    std::optional<AppearanceName> appearance_;
    std::string autosaveName_;
};

}  // namespace platform::ui
