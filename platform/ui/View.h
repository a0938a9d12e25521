#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Geometry.h"
#include "platform/ui/Appearance.h"
#include "platform/ui/Color.h"
#include "platform/ui/Event.h"
#include "platform/ui/TrackingArea.h"

namespace platform::ui {

class Bitmap;
class Canvas;
class Window;

namespace role {
inline constexpr const char* toolbar = "AXToolbar";
inline constexpr const char* button = "AXButton";
inline constexpr const char* group = "AXGroup";
inline constexpr const char* image = "AXImage";
inline constexpr const char* staticText = "AXStaticText";
inline constexpr const char* checkBox = "AXCheckBox";
inline constexpr const char* popUpButton = "AXPopUpButton";
inline constexpr const char* incrementor = "AXIncrementor";
inline constexpr const char* textField = "AXTextField";
inline constexpr const char* row = "AXRow";
}  // namespace role

// A retained view: parents own their subviews, subviews know their parent
// and window weakly. Coordinates are the view's own, bottom-left origin.
class View : public std::enable_shared_from_this<View> {
public:
    explicit View(Rect frame = {});
    virtual ~View();
    View(const View&) = delete;
    View& operator=(const View&) = delete;

    Rect frame() const { return frame_; }
    virtual void setFrame(Rect frame);
    void setFrameOrigin(Point origin) { setFrame({origin, frame_.size}); }
    void setFrameSize(Size size) { setFrame({frame_.origin, size}); }
    Rect bounds() const { return {0, 0, frame_.size.width, frame_.size.height}; }

    const std::vector<std::shared_ptr<View>>& subviews() const { return subviews_; }
    void addSubview(const std::shared_ptr<View>& view);
    void removeFromSuperview();
    void removeAllSubviews();
    std::shared_ptr<View> superview() const { return superview_.lock(); }
    std::shared_ptr<Window> window() const;

    bool isHidden() const { return hidden_; }
    void setHidden(bool hidden);
    double alpha() const { return alpha_; }
    void setAlpha(double alpha);

    const std::string& toolTip() const { return toolTip_; }
    void setToolTip(std::string text) { toolTip_ = std::move(text); }
    const std::string& accessibilityLabel() const { return accessibilityLabel_; }
    void setAccessibilityLabel(std::string text) { accessibilityLabel_ = std::move(text); }
    const std::string& accessibilityRole() const { return accessibilityRole_; }
    void setAccessibilityRole(std::string role) { accessibilityRole_ = std::move(role); }

    const std::vector<std::shared_ptr<TrackingArea>>& trackingAreas() const { return trackingAreas_; }
    void addTrackingArea(const std::shared_ptr<TrackingArea>& area);
    void removeTrackingArea(const std::shared_ptr<TrackingArea>& area);
    // Called when the view's geometry or window changed; overrides replace
    // their areas and then call the base.
    virtual void updateTrackingAreas();

    std::optional<AppearanceName> appearance() const { return appearance_; }
    void setAppearance(std::optional<AppearanceName> appearance);
    // Own appearance, else the superview's, else the window's, else the system's.
    AppearanceName effectiveAppearance() const;

    // The view's layer: a background colour painted under its drawing, a
    // corner radius for that background, and whether the drawing and the
    // subviews are clipped to the (rounded) bounds.
    const std::optional<Color>& layerBackgroundColor() const { return layerBackgroundColor_; }
    void setLayerBackgroundColor(std::optional<Color> color);
    double layerCornerRadius() const { return layerCornerRadius_; }
    void setLayerCornerRadius(double radius);
    bool masksToBounds() const { return masksToBounds_; }
    void setMasksToBounds(bool masks);

    bool needsDisplay() const { return needsDisplay_; }
    void setNeedsDisplay(bool value = true);

    virtual void draw(Canvas& canvas);
    // The deepest visible view under point (given in the superview's
    // coordinates), or nothing.
    virtual std::shared_ptr<View> hitTest(Point pointInSuperview);
    virtual bool acceptsFirstResponder() const { return false; }

    virtual void mouseEntered(const Event&) {}
    virtual void mouseExited(const Event&) {}
    virtual void mouseDown(const Event&) {}
    virtual void rightMouseDown(const Event&) {}
    // The base passes the event up to the superview.
    virtual void scrollWheel(const Event& event);
    virtual void viewDidMoveToWindow() {}

    // Between the view's coordinates and its window's (the content view's).
    Point convertToWindow(Point p) const;
    Point convertFromWindow(Point p) const;
    Rect convertRectToWindow(Rect r) const;

    // Offscreen rendering at the backing scale of the view's screen (2 when
    // it has none): a cleared bitmap for rect, and the view drawn into it.
    std::shared_ptr<Bitmap> bitmapForCachingDisplay(Rect rect) const;
    void cacheDisplay(Rect rect, Bitmap& bitmap);

    // Presentation values: what is on screen now, mid-animation included.
    Rect presentationFrame() const;
    double presentationAlpha() const;
    // Drops the view's running animations; the model values stand.
    void removeAllAnimations();

    // Used by the window: attaches the tree to a window (or none).
    void setWindow(const std::weak_ptr<Window>& window);

private:
    Rect frame_;
    std::weak_ptr<View> superview_;
    std::weak_ptr<Window> window_;
    std::vector<std::shared_ptr<View>> subviews_;
    bool hidden_ = false;
    double alpha_ = 1;
    std::string toolTip_;
    std::string accessibilityLabel_;
    std::string accessibilityRole_;
    std::vector<std::shared_ptr<TrackingArea>> trackingAreas_;
    std::optional<AppearanceName> appearance_;
    std::optional<Color> layerBackgroundColor_;
    double layerCornerRadius_ = 0;
    bool masksToBounds_ = false;
    bool needsDisplay_ = true;
};

}  // namespace platform::ui
