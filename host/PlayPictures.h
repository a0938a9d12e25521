#pragma once

// The pictures of the screen the playground sends: the last one published
// to the browsers, and a spare to draw the next one into, either afresh as a
// whole or as the last picture with some parts of the screen drawn again.

#include <memory>
#include <optional>
#include <vector>

#include "host/PlayFrames.h"
#include "platform/Geometry.h"
#include "platform/ui/Bitmap.h"

namespace host {

class PlayPictures {
public:
    using Picture = std::shared_ptr<platform::ui::Bitmap>;

    // The last picture published, or null before the first.
    const platform::ui::Bitmap* last() const { return previous_.get(); }

    // The whole screen drawn afresh; changed gets the tiles that differ from
    // the last picture. Null when the screen cannot be drawn.
    Picture whole(TileSet& changed);

    // The last picture with the parts (points, origin bottom-left, on the
    // screen whose frame is given) drawn afresh; changed gets the tiles whose
    // pixels differ. Needs a last picture.
    Picture withParts(const std::vector<platform::Rect>& parts, const platform::Rect& screen, TileSet& changed);

    // The next of `bands` bands of the screen, top to bottom and round again,
    // on tile boundaries; nothing before the first picture.
    std::optional<platform::Rect> nextBand(const platform::Rect& screen, int bands);

    // The picture is published: it becomes the last one.
    void published(Picture picture) { spare_ = std::exchange(previous_, std::move(picture)); }
    // Nobody saw the picture: the next one may be drawn into it.
    void unseen(Picture picture) { spare_ = std::move(picture); }

private:
    Picture copyOfLast();

    Picture previous_, spare_;
    int nextBand_ = 0;
};

}  // namespace host
