#pragma once

// The drawing context views paint on, standing in for the platform's
// graphics context: Cairo paths in points with a bottom-left origin, text
// shaped by Pango, semantic colours resolved for the view's appearance.

#include <functional>
#include <vector>

#include <cairo.h>

#include "platform/ui/Canvas.h"

typedef struct _PangoContext PangoContext;
typedef struct _PangoLayout PangoLayout;

namespace desktop::ui {

using platform::Point;
using platform::Rect;
using platform::Size;
using platform::ui::AppearanceName;
using platform::ui::Color;
using platform::ui::Font;
using platform::ui::Image;
using platform::ui::LineCap;

class CairoCanvas : public platform::ui::Canvas {
public:
    // Draws on cr, whose user space must already be points with y upwards.
    CairoCanvas(cairo_t* cr, AppearanceName appearance);
    ~CairoCanvas() override;
    CairoCanvas(const CairoCanvas&) = delete;
    CairoCanvas& operator=(const CairoCanvas&) = delete;

    cairo_t* context() const { return cr_; }
    void setAppearance(AppearanceName appearance) { appearance_ = appearance; }

    AppearanceName appearance() const override { return appearance_; }
    // Device pixels per point at the current transform.
    double scale() const override;

    void fillRect(Rect rect, Color color) override;
    void fillRoundedRect(Rect rect, double radiusX, double radiusY, Color color) override;
    void strokeRoundedRect(Rect rect, double radius, double lineWidth, Color color) override;
    void fillOval(Rect rect, Color color) override;
    void strokePolyline(const std::vector<Point>& points, double lineWidth, LineCap cap, Color color) override;
    void drawImage(const Image& image, Rect rect, double opacity) override;
    void drawText(const std::string& text, Rect rect, Font font, Color color) override;
    Size measureText(const std::string& text, Font font) override;
    void drawParagraph(const std::string& text, Rect rect, Font font, Color color,
                       platform::ui::TextAlignment alignment, platform::ui::LineBreak lineBreak) override;
    void drawWrappedText(const std::string& text, Rect rect, Font font, Color color, int maxLines, bool centered) override;
    Size measureWrappedText(const std::string& text, Font font, double width, int maxLines) override;
    void drawTintedImage(const Image& image, Rect rect, Color tint, double opacity) override;

    void save() override;
    void restore() override;
    void translate(double dx, double dy) override;
    void clip(Rect rect) override;
    void setAlpha(double alpha) override;

    // Sets the source to the colour as resolved here, with the canvas alpha.
    void setSource(Color color, double opacity = 1);
    // A single-line layout for the text in the font (caller unrefs it).
    PangoLayout* createLayout(const std::string& text, Font font);
    // A layout that breaks the text into at most maxLines lines (0: any
    // number) of the width, the last ellipsized (caller unrefs it).
    PangoLayout* createWrappedLayout(const std::string& text, Font font, double width, int maxLines);

private:
    // Draws the layout make() returns (which it releases) with its top-left
    // at the rectangle's, clipped to the rectangle.
    void showLayout(Rect rect, Color color, const std::function<PangoLayout*()>& make);
    void drawBitmapImage(const Image& image, Rect rect, double opacity, Color tint);
    void drawDrawingImage(const Image& image, Rect rect, double opacity, Color tint);

    cairo_t* cr_;
    AppearanceName appearance_;
    PangoContext* pango_ = nullptr;
    double alpha_ = 1;
    std::vector<double> savedAlphas_;
};

// Appends a rounded rectangle with elliptical corners to the current path.
void appendRoundedRect(cairo_t* cr, Rect rect, double radiusX, double radiusY);

}  // namespace desktop::ui
