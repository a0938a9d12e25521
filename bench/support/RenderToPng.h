#pragma once

// Rendering a view to PNG as the capture command does (its bounds at its
// screen's backing scale, drawn offscreen, then encoded), measured against
// its floor: encoding a bitmap of the same pixel size that nothing was drawn
// into. Both sides in processor time of this thread, in the same run.

#include <string>

namespace benchmark {
class State;
}

namespace platform {
struct Size;
}

namespace platform::ui {
class View;
}

namespace orvane::bench {

// Transparent: every pixel zero, encoded with its alpha channel. Opaque:
// every pixel white, which the encoder writes without one, as it writes a
// picture that covers every pixel.
enum class Blank { transparent, opaque };

// Seconds per encoding of such a bitmap, averaged over several.
double secondsPerBlankPng(int pixelsWide, int pixelsHigh, platform::Size size, Blank blank = Blank::transparent);

// Renders and encodes the view once per iteration. Counters: draw_ms and
// encode_ms per rendering, blank_ms and opaque_blank_ms per blank encoding,
// ratioToBlankPng and ratioToOpaqueBlankPng, pixels. With
// ORVANE_BENCH_PICTURES naming a folder, the last picture is saved there
// under pictureName, to be looked at.
void renderToPngAgainstBlank(benchmark::State& state, platform::ui::View& view, const std::string& pictureName);

}  // namespace orvane::bench
