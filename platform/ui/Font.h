#pragma once

namespace platform::ui {

struct Font {
    enum class Weight { regular, medium, semibold, bold };
    double size = 13;  // points
    Weight weight = Weight::regular;
    bool monospacedDigits = false;  // figures of one width, so columns of numbers line up

    static Font system(double size, Weight weight = Weight::regular) { return Font{size, weight}; }
};

}  // namespace platform::ui
