#pragma once

namespace platform::ui {

enum class TextAlignment { left, center, right };

// How text that does not fit its width is shown: one line cut with an
// ellipsis at its end or in its middle, or broken into lines at "\n" and
// wherever the width runs out.
enum class LineBreak { truncatingTail, truncatingMiddle, wordWrapping };

}  // namespace platform::ui
