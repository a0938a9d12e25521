#pragma once

#include <memory>
#include <optional>

#include "platform/Geometry.h"
#include "platform/ui/Color.h"

namespace platform::ui {
class Canvas;
class Image;
}  // namespace platform::ui

namespace orvane {

// The product's identity: its names, version, application icon and the small
// mark drawn in code for the strip's manager control and the menu bar.
class Brand {
public:
    Brand() = delete;

    static constexpr const char* name = "岚舟";
    static constexpr const char* englishName = "Velisk";
    static constexpr const char* version = "0.2.2";
    static constexpr double menuImageSide = 18;

    // The host application's icon: the one it registered, else the
    // workspace's icon for its bundle.
    static std::shared_ptr<platform::ui::Image> icon();
    // An 18 x 18 pt template image of the mark, drawn on demand in black.
    static std::shared_ptr<platform::ui::Image> menuImage();
    // A rail over three upright bars on a 24-unit grid, centred in rect at the
    // size of its shorter side. The rail and the middle bar take the accent
    // when one is given.
    static void drawMark(platform::ui::Canvas& canvas, platform::Rect rect, platform::ui::Color ink,
                         std::optional<platform::ui::Color> accent = std::nullopt);
};

}  // namespace orvane
