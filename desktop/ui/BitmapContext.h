#pragma once

// A Cairo context that draws into a Bitmap's pixels, set up like the
// platform's bitmap graphics context: user space in points, y upwards.

#include <cairo.h>

#include "platform/ui/Bitmap.h"

namespace desktop::ui {

class BitmapContext {
public:
    explicit BitmapContext(platform::ui::Bitmap& bitmap);
    ~BitmapContext();
    BitmapContext(const BitmapContext&) = delete;
    BitmapContext& operator=(const BitmapContext&) = delete;

    // Nothing to draw on when the bitmap is empty or Cairo refused it.
    bool isValid() const { return cr_ != nullptr; }
    cairo_t* get() const { return cr_; }

private:
    cairo_surface_t* surface_ = nullptr;
    cairo_t* cr_ = nullptr;
};

// A surface over the bitmap's pixels (read or write); destroy it after use.
// Null when the bitmap has no pixels.
cairo_surface_t* createSurface(const platform::ui::Bitmap& bitmap);

}  // namespace desktop::ui
