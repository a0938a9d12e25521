// File icons of the simulated Mac, standing in for the workspace's icon
// service: the bundle's icon file from the disk, or a recognisable generated one.

#include "desktop/apps/AppIcon.h"

#include <cairo.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <string>
#include <unordered_map>

#include <sys/stat.h>

#include "desktop/files/Disk.h"
#include "desktop/files/FileIO.h"
#include "desktop/files/RootedOpen.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Image.h"

namespace desktop {
namespace {

using platform::Rect;
using platform::Size;
using platform::ui::Bitmap;
using platform::ui::Canvas;
using platform::ui::Color;
using platform::ui::Font;
using platform::ui::Image;

constexpr Size iconSize{32, 32};
constexpr int largestIconPixels = 2048;  // a bigger file is not an icon; it is drawn instead
constexpr const char* iconFile = "/Contents/Resources/AppIcon.png";

// The largest icon file read: a PNG of the largest icon, uncompressed, with room to spare.
constexpr std::size_t largestIconFile = std::size_t(largestIconPixels) * largestIconPixels * 4 * 2;

// Hands Cairo's PNG reader the bytes of a file read from the disk, so that
// the file is opened the way every file of the disk is.
struct PngBytes {
    const std::string& bytes;
    std::size_t offset = 0;
};

cairo_status_t readPngBytes(void* closure, unsigned char* data, unsigned int length) {
    auto& source = *static_cast<PngBytes*>(closure);
    if (source.bytes.size() - source.offset < length) return CAIRO_STATUS_READ_ERROR;
    std::memcpy(data, source.bytes.data() + source.offset, length);
    source.offset += length;
    return CAIRO_STATUS_SUCCESS;
}

std::shared_ptr<Image> decodedIcon(const std::string& file) {
    const FileRead read = readFile(file, largestIconFile);
    if (read.status != FileRead::Status::ok) return nullptr;
    PngBytes source{read.bytes};
    cairo_surface_t* loaded = cairo_image_surface_create_from_png_stream(readPngBytes, &source);
    std::shared_ptr<Image> image;
    if (cairo_surface_status(loaded) == CAIRO_STATUS_SUCCESS) {
        int width = cairo_image_surface_get_width(loaded);
        int height = cairo_image_surface_get_height(loaded);
        if (width > 0 && height > 0 && width <= largestIconPixels && height <= largestIconPixels) {
            // Painting onto an ARGB32 surface turns any PNG format into premultiplied ARGB words.
            cairo_surface_t* argb = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
            cairo_t* cr = cairo_create(argb);
            cairo_set_source_surface(cr, loaded, 0, 0);
            cairo_paint(cr);
            cairo_destroy(cr);
            cairo_surface_flush(argb);
            auto bitmap = std::make_shared<Bitmap>(width, height, iconSize);
            const unsigned char* data = cairo_image_surface_get_data(argb);
            int stride = cairo_image_surface_get_stride(argb);
            for (int y = 0; y < height; ++y)
                std::memcpy(bitmap->pixels().data() + static_cast<std::size_t>(y) * width, data + y * stride,
                            static_cast<std::size_t>(width) * 4);
            cairo_surface_destroy(argb);
            image = Image::withBitmap(std::move(bitmap), iconSize);
        }
    }
    cairo_surface_destroy(loaded);
    return image;
}

// Icon files decoded before, by the file on this machine and what its status
// said then: the Dock and the menus draw the same icons on every picture.
// A file that changed (its size or modification time) is decoded again. Each
// call still answers a new image (callers size and mark their own), sharing
// the decoded pixels.
struct DecodedIcon {
    std::int64_t modified = 0;
    std::int64_t size = 0;
    std::shared_ptr<const Bitmap> pixels;  // nothing: the file is not an icon
};
constexpr std::size_t mostDecodedIcons = 256;

std::shared_ptr<Image> iconFromDisk(const std::string& path) {
    static std::mutex mutex;
    static std::unordered_map<std::string, DecodedIcon> decoded;
    const std::string file = resolve(path + iconFile);
    struct stat status {};
    if (file.empty() || !statReal(file, status) || !S_ISREG(status.st_mode)) return nullptr;
    const std::int64_t modified = static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    const std::int64_t size = static_cast<std::int64_t>(status.st_size);
    {
        std::lock_guard lock(mutex);
        if (auto it = decoded.find(file); it != decoded.end() && it->second.modified == modified && it->second.size == size)
            return it->second.pixels ? Image::withBitmap(it->second.pixels, iconSize) : nullptr;
    }
    auto image = decodedIcon(file);
    std::lock_guard lock(mutex);
    if (decoded.size() >= mostDecodedIcons) decoded.clear();
    decoded[file] = {modified, size, image ? image->bitmap() : nullptr};
    return image;
}

std::string displayName(const std::string& path) {
    std::string name = path;
    while (name.size() > 1 && name.back() == '/') name.pop_back();
    if (auto slash = name.rfind('/'); slash != std::string::npos) name = name.substr(slash + 1);
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".app") == 0) name.resize(name.size() - 4);
    return name;
}

// The first character of the name (a whole UTF-8 sequence), upper-cased when
// it is a Latin letter; "?" when there is none or it is malformed.
std::string initialOf(const std::string& name) {
    if (name.empty()) return "?";
    auto lead = static_cast<unsigned char>(name[0]);
    std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || length > name.size()) return "?";
    for (std::size_t i = 1; i < length; ++i)
        if ((static_cast<unsigned char>(name[i]) & 0xC0) != 0x80) return "?";
    if (length == 1) {
        if (lead < 0x21 || lead == 0x7F) return "?";
        return std::string(1, static_cast<char>(lead >= 'a' && lead <= 'z' ? lead - 32 : lead));
    }
    return name.substr(0, length);
}

// A stable hue for the path (FNV-1a), so an app keeps its colour across runs.
Color tileColour(const std::string& path) {
    std::uint32_t hash = 2166136261u;
    for (unsigned char c : path) hash = (hash ^ c) * 16777619u;
    double hue = (hash % 360) / 60.0;
    double saturation = 0.55, value = 0.82;
    double chroma = value * saturation;
    double x = chroma * (1 - std::fabs(std::fmod(hue, 2.0) - 1));
    double r = 0, g = 0, b = 0;
    switch (static_cast<int>(hue)) {
        case 0: r = chroma, g = x; break;
        case 1: r = x, g = chroma; break;
        case 2: g = chroma, b = x; break;
        case 3: g = x, b = chroma; break;
        case 4: r = x, b = chroma; break;
        default: r = chroma, b = x; break;
    }
    double m = value - chroma;
    return Color::rgba(r + m, g + m, b + m);
}

std::shared_ptr<Image> generatedIcon(const std::string& path, const std::string& name) {
    Color colour = tileColour(path);
    std::string letter = initialOf(name);
    return Image::withDrawing(iconSize, [colour, letter](Canvas& canvas, Rect bounds) {
        // Proportions of the platform's icon grid: a tile inset by 1/16 with rounded corners.
        Rect tile = bounds.insetBy(bounds.width() / 16, bounds.height() / 16);
        double radius = tile.width() * 0.225;
        canvas.fillRoundedRect(tile, radius, radius, colour);
        Font font = Font::system(tile.height() * 0.55, Font::Weight::bold);
        Size text = canvas.measureText(letter, font);
        Rect place{tile.midX() - text.width / 2, tile.midY() - text.height / 2, text.width + 1, text.height};
        canvas.drawText(letter, place, font, Color::white());
    });
}

}  // namespace

std::shared_ptr<Image> iconForFile(const std::string& path, const std::string& name) {
    if (!path.empty() && path.front() == '/')
        if (auto icon = iconFromDisk(path)) return icon;
    return generatedIcon(path, name.empty() ? displayName(path) : name);
}

}  // namespace desktop
