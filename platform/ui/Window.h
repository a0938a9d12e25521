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

// How the title bar and the toolbar share the top of a window.
namespace toolbarStyle {
inline constexpr int automatic = 0;
inline constexpr int expanded = 1;
inline constexpr int preference = 2;
inline constexpr int unified = 3;
inline constexpr int unifiedCompact = 4;
}  // namespace toolbarStyle

// The buttons at the leading end of a titled window's title bar.
enum class WindowButton { close, miniaturize, zoom };

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
    // A size below minSize() is raised to it, keeping the top-left corner
    // (where a person resizing from the bottom-right corner holds it).
    void setFrame(Rect frame, bool display = true);
    // Keeps the top-left corner, as the platform does.
    void setContentSize(Size size);
    // Places the window on its screen (else the main screen): centred
    // horizontally in the visible frame and somewhat above the middle, a
    // third of the free height above it and two thirds below.
    void center();
    Size contentSize() const { return frame_.size; }

    // The smallest size a person (or setFrame) can give the window; zero: none.
    Size minSize() const { return minSize_; }
    void setMinSize(Size size);

    // Title bar drawn without its own background, so the content (running
    // under it with the full-size content view style) shows through.
    bool titlebarAppearsTransparent() const { return titlebarTransparent_; }
    void setTitlebarAppearsTransparent(bool value) { titlebarTransparent_ = value; }
    int toolbarStyle() const { return toolbarStyle_; }
    void setToolbarStyle(int style) { toolbarStyle_ = style; }
    // Whether the window shows a toolbar; content that declares toolbar items
    // (a hosting view with a split view) sets it.
    bool hasToolbar() const { return hasToolbar_; }
    void setHasToolbar(bool value) { hasToolbar_ = value; }
    // How much of the top of the content view lies under the title bar (and
    // toolbar): 0 unless the window is titled with a full-size content view;
    // 52 with a unified toolbar, 38 with a compact one, 28 without a toolbar.
    double titlebarHeight() const;
    // Where a button of the title bar sits, in window coordinates (bottom-left
    // origin), when the title bar lies over the content (titlebarHeight() > 0);
    // nothing otherwise, or for a close button the style leaves out.
    std::optional<Rect> standardButtonFrame(WindowButton button) const;

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
    // A window released when closed is gone after a user close: on a Mac it
    // is freed, so it never comes back on screen. One that is not released
    // only hides and can be ordered front again.
    bool isReleasedWhenClosed() const { return releasedWhenClosed_; }
    void setReleasedWhenClosed(bool value) { releasedWhenClosed_ = value; }
    bool isReleased() const { return released_; }
    bool hidesOnDeactivate() const { return hidesOnDeactivate_; }
    void setHidesOnDeactivate(bool hides) { hidesOnDeactivate_ = hides; }
    std::optional<AppearanceName> appearance() const { return appearance_; }
    void setAppearance(std::optional<AppearanceName> appearance);
    const std::string& frameAutosaveName() const { return autosaveName_; }
    // Restores a frame saved under the name, then keeps saving it there
    // whenever the window moves or is resized. Saved frames live in the
    // application's preferences on disk and outlive the process.
    void setFrameAutosaveName(std::string name);

    // Asked before a user close; returning false keeps the window.
    std::function<bool()> shouldClose;
    // Closes like the close button: asks shouldClose, then orders out.
    void performClose();

protected:
    Window(Rect contentRect, unsigned styleMask);

private:
    void saveAutosavedFrame() const;

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
    bool releasedWhenClosed_ = true;
    bool released_ = false;
    std::optional<AppearanceName> appearance_;
    std::string autosaveName_;
    Size minSize_;
    bool titlebarTransparent_ = false;
    int toolbarStyle_ = toolbarStyle::automatic;
    bool hasToolbar_ = false;
};

}  // namespace platform::ui
