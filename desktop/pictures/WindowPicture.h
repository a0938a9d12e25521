#pragma once

// Pictures of windows as the simulated window server shows them: a window of
// another application drawn from what the server knows of it (title bar,
// title, body in its colour, a little content of its own), and a window of
// this process as it is on screen (its frame and the content its views draw).

#include <memory>

#include <cairo.h>

#include "desktop/windowserver/WindowList.h"
#include "platform/Geometry.h"
#include "platform/ui/Appearance.h"

namespace platform::ui { class Bitmap; }

namespace desktop {

// The part of the screen the window covers with its frame: a titled window of
// ours without a full-size content view wears its title bar above its content
// rectangle; every other window covers exactly its frame.
platform::Rect pictureFrame(const WindowRecord& record);
// Whether the window has the rounded outline of a titled window.
bool hasTitledOutline(const WindowRecord& record);
// The appearance the window is drawn in.
platform::ui::AppearanceName windowAppearance(const WindowRecord& record);

// Draws the whole window with its picture frame's bottom-left corner at the
// origin of cr's user space (points, y upwards). Device pixels per point are
// read from cr's transform, so our views render sharply at any scale.
void drawWindow(cairo_t* cr, const WindowRecord& record);

// How a picture of a given pixel size holds the window.
enum class PictureFit {
    scaleToFit,    // scaled to fit, centred, aspect kept
    backingScale,  // at the screen's backing scale from the top-left corner, cut or padded
};

// A picture of exactly pixelsWide x pixelsHigh pixels (both at least 1; the
// caller bounds them). Uncovered pixels stay transparent.
std::shared_ptr<platform::ui::Bitmap> windowPicture(const WindowRecord& record, int pixelsWide, int pixelsHigh,
                                                    PictureFit fit);

// The same picture of another application's window reduced to one flat
// rectangle in its body colour where the window lands, transparent around
// it: what a scene's plain pictures give sessions that never look at the
// pixels. A window of ours is drawn in full, as windowPicture draws it.
std::shared_ptr<platform::ui::Bitmap> plainWindowPicture(const WindowRecord& record, int pixelsWide, int pixelsHigh,
                                                         PictureFit fit);

}  // namespace desktop
