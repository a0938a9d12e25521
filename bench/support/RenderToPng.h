#pragma once

// Rendering a view to PNG as the capture command does (its bounds at its
// screen's backing scale, drawn offscreen, then encoded), with the encoding
// measured against its floor (bench/support/PngFloor). Processor time of
// this thread on every side, in the same run.

#include <string>

namespace benchmark {
class State;
}

namespace platform::ui {
class View;
}

namespace orvane::bench {

// Renders and encodes the view once per iteration. Counters: draw_ms per
// rendering and those of reportPngEncoding for its last picture. With
// ORVANE_BENCH_PICTURES naming a folder, the last picture is saved there
// under pictureName, to be looked at.
void renderToPngAgainstFloor(benchmark::State& state, platform::ui::View& view, const std::string& pictureName);

// Saves the picture as above when ORVANE_BENCH_PICTURES names a folder.
void keepPicture(const std::string& png, const std::string& name);

}  // namespace orvane::bench
