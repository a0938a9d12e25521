#pragma once

// A canvas that records what is drawn on it, for checking geometry without pixels.

#include <vector>

#include "platform/ui/Canvas.h"
#include "platform/ui/Image.h"

namespace orvane::testing {

class RecordingCanvas : public platform::ui::Canvas {
public:
    struct Shape {
        enum class Kind { rect, roundedRect, oval, polyline, image } kind;
        platform::Rect rect;
        double radius = 0;
        platform::ui::Rgba color;
        std::vector<platform::Point> points;
    };

    std::vector<Shape> shapes;

    platform::ui::AppearanceName appearance() const override { return platform::ui::AppearanceName::aqua; }
    double scale() const override { return 2; }
    void fillRect(platform::Rect rect, platform::ui::Color color) override { add(Shape::Kind::rect, rect, 0, color); }
    void fillRoundedRect(platform::Rect rect, double rx, double, platform::ui::Color color) override {
        add(Shape::Kind::roundedRect, rect, rx, color);
    }
    void strokeRoundedRect(platform::Rect, double, double, platform::ui::Color) override {}
    void fillOval(platform::Rect rect, platform::ui::Color color) override { add(Shape::Kind::oval, rect, 0, color); }
    void strokePolyline(const std::vector<platform::Point>& points, double, platform::ui::LineCap,
                        platform::ui::Color color) override {
        add(Shape::Kind::polyline, {}, 0, color);
        shapes.back().points = points;
    }
    void drawImage(const platform::ui::Image&, platform::Rect rect, double) override {
        add(Shape::Kind::image, rect, 0, platform::ui::Color::clear());
    }
    void drawText(const std::string&, platform::Rect, platform::ui::Font, platform::ui::Color) override {}
    platform::Size measureText(const std::string&, platform::ui::Font) override { return {}; }
    void save() override {}
    void restore() override {}
    void translate(double, double) override {}
    void clip(platform::Rect) override {}
    void setAlpha(double) override {}

private:
    void add(Shape::Kind kind, platform::Rect rect, double radius, platform::ui::Color color) {
        shapes.push_back({kind, rect, radius, color.resolved(appearance()), {}});
    }
};

}  // namespace orvane::testing
