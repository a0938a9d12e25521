#pragma once

namespace platform::ui {

struct Font {
    enum class Weight { regular, medium, semibold, bold };
    double size = 13;  // points
    Weight weight = Weight::regular;

    static Font system(double size, Weight weight = Weight::regular) { return Font{size, weight}; }
};

}  // namespace platform::ui
