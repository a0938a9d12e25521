#include "host/PlayPictures.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>

#include "desktop/pictures/ScreenPicture.h"

namespace host {

using Clock = std::chrono::steady_clock;

PlayPictures::Picture PlayPictures::whole(TileSet& changed) {
    auto picture = desktop::screenPicture();
    if (picture) changed = changedTiles(previous_.get(), *picture);
    return picture;
}

PlayPictures::Picture PlayPictures::withParts(const std::vector<platform::Rect>& parts, const platform::Rect& screen,
                                              TileSet& changed) {
    auto picture = copyOfLast();
    changed = TileSet(picture->pixelsWide(), picture->pixelsHigh());
    const double scale = picture->scale();
    for (const auto& part : parts) {
        const auto started = Clock::now();
        auto piece = desktop::screenPicture(part, scale);
        if (playTracing())
            std::fprintf(stderr, "  part %.0f x %.0f at %.0f, %.0f: %.1f ms\n", part.width(), part.height(), part.minX(),
                         part.minY(), std::chrono::duration<double, std::milli>(Clock::now() - started).count());
        if (!piece) continue;
        const int left = static_cast<int>(std::lround((part.minX() - screen.minX()) * scale));
        const int top = static_cast<int>(std::lround((screen.maxY() - part.maxY()) * scale));
        pastePart(*piece, left, top, *picture, changed);
    }
    return picture;
}

std::optional<platform::Rect> PlayPictures::nextBand(const platform::Rect& screen, int bands) {
    if (!previous_ || previous_->pixelsHigh() <= 0 || bands <= 0) return std::nullopt;
    const double scale = previous_->scale();
    const int rows = (previous_->pixelsHigh() + TileSet::tileSize - 1) / TileSet::tileSize;
    const int rowsPerBand = (rows + bands - 1) / bands;
    const int firstRow = (nextBand_++ % bands) * rowsPerBand;
    const double top = firstRow * TileSet::tileSize / scale;  // points below the screen's top edge
    const double height = std::min(rowsPerBand * TileSet::tileSize / scale, screen.height() - top);
    if (height <= 0) return std::nullopt;
    return platform::Rect{screen.minX(), screen.maxY() - top - height, screen.width(), height};
}

// The picture before the last when no browser's sender holds it any more
// (its pages are mapped already, so nothing but the copy is paid), a new one
// otherwise.
PlayPictures::Picture PlayPictures::copyOfLast() {
    Picture picture = std::move(spare_);
    if (picture && picture.use_count() == 1 && picture->pixelsWide() == previous_->pixelsWide() &&
        picture->pixelsHigh() == previous_->pixelsHigh()) {
        // The senders' last reads of it happen before their release of it,
        // which this count observed.
        std::atomic_thread_fence(std::memory_order_acquire);
        *picture = *previous_;
        return picture;
    }
    return std::make_shared<platform::ui::Bitmap>(*previous_);
}

}  // namespace host
