// The Dock on the simulated Mac's screen picture, standing in for the Dock
// process's own window: it shows what the Dock's preferences on the disk keep
// ("persistent-apps", spacers, "persistent-others"), then the running regular
// applications it does not keep, with a dot under each running one; a Dock
// set to hide automatically stays out of sight.

#include "desktop/pictures/DockPicture.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "desktop/apps/AppIcon.h"
#include "desktop/apps/ProcessTable.h"
#include "desktop/files/Disk.h"
#include "desktop/files/FileIO.h"
#include "desktop/preferences/Preferences.h"
#include "desktop/propertylist/PropertyList.h"
#include "desktop/ui/CairoCanvas.h"
#include "platform/ui/Color.h"
#include "platform/ui/Image.h"

namespace desktop {
namespace {

using nlohmann::json;
using platform::Rect;
using platform::ui::AppearanceName;
using platform::ui::Color;

constexpr const char* dockBundleId = "com.apple.dock";
constexpr const char* dockDomain = "com.apple.dock";
constexpr std::size_t largestPreferencesFile = 16 * 1024 * 1024;
constexpr std::size_t mostTiles = 64;
constexpr double defaultTileSize = 48;
constexpr double shelfPadding = 6;
constexpr double tileGap = 6;
constexpr double bottomMargin = 4;

struct Tile {
    std::string path;   // empty: a spacer or a divider
    std::string label;
    bool running = false;
    bool divider = false;
};

// "file:///Applications/Visual%20Studio%20Code.app/" → "/Applications/Visual Studio Code.app".
std::string pathFromUrl(const std::string& url) {
    std::string text = url.rfind("file://", 0) == 0 ? url.substr(7) : url;
    std::string path;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
            path += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            path += text[i];
        }
    }
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

std::optional<json> dockPreferences() {
    FileRead file = readFile(resolve(preferencesFile(dockDomain)), largestPreferencesFile);
    if (file.status != FileRead::Status::ok) return std::nullopt;
    auto values = parsePropertyList(file.bytes);
    if (!values || !values->is_object()) return std::nullopt;
    return values;
}

std::optional<Tile> tileFrom(const json& entry) {
    if (!entry.is_object()) return std::nullopt;
    if (entry.value("tile-type", "") == "spacer-tile") return Tile{};
    auto data = entry.find("tile-data");
    if (data == entry.end() || !data->is_object()) return std::nullopt;
    auto fileData = data->find("file-data");
    if (fileData == data->end() || !fileData->is_object()) return std::nullopt;
    auto url = fileData->find("_CFURLString");
    if (url == fileData->end() || !url->is_string()) return std::nullopt;
    Tile tile;
    tile.path = pathFromUrl(url->get<std::string>());
    auto label = data->find("file-label");
    tile.label = label != data->end() && label->is_string() ? label->get<std::string>() : std::string();
    return tile;
}

std::vector<Tile> tiles(const json& preferences) {
    std::vector<Tile> result;
    std::vector<std::string> runningPaths;
    for (const auto& app : ProcessTable::shared().runningApplications())
        if (app->activationPolicy() == platform::ActivationPolicy::regular && app->bundlePath())
            runningPaths.push_back(*app->bundlePath());
    auto isRunning = [&](const std::string& path) {
        return std::find(runningPaths.begin(), runningPaths.end(), path) != runningPaths.end();
    };
    auto add = [&](const json& list) {
        if (!list.is_array()) return;
        for (const auto& entry : list)
            if (auto tile = tileFrom(entry); tile && result.size() < mostTiles) result.push_back(std::move(*tile));
    };
    add(preferences.value("persistent-apps", json()));
    for (auto& tile : result) tile.running = !tile.path.empty() && isRunning(tile.path);
    bool dividerAdded = false;
    for (const auto& path : runningPaths) {
        bool kept = std::any_of(result.begin(), result.end(), [&](const Tile& t) { return t.path == path; });
        if (kept || result.size() >= mostTiles) continue;
        if (!dividerAdded) result.push_back(Tile{{}, {}, false, true});
        dividerAdded = true;
        result.push_back(Tile{path, {}, true, false});
    }
    const json& others = preferences.value("persistent-others", json());
    if (others.is_array() && !others.empty()) {
        result.push_back(Tile{{}, {}, false, true});
        add(others);
    }
    return result;
}

bool dockRuns() {
    for (const auto& app : ProcessTable::shared().runningApplications())
        if (app->bundleIdentifier() == dockBundleId) return true;
    return false;
}

}  // namespace

void drawDock(desktop::ui::CairoCanvas& canvas, Rect area) {
    if (!(area.height() > 2 * bottomMargin) || !dockRuns()) return;
    json preferences = dockPreferences().value_or(json::object());
    if (preferences.value("autohide", false) == true) return;
    std::vector<Tile> list = tiles(preferences);
    if (list.empty()) return;

    double wanted = preferences.contains("tilesize") && preferences["tilesize"].is_number()
                        ? preferences["tilesize"].get<double>()
                        : defaultTileSize;
    double tile = std::clamp(wanted, 16.0, area.height() - 2 * shelfPadding - 2 * bottomMargin);
    auto widthOf = [&](const Tile& t) { return t.divider ? 1 + tileGap : t.path.empty() ? tile / 2 : tile; };
    double content = 0;
    for (const auto& t : list) content += widthOf(t) + tileGap;
    content -= tileGap;
    double shelfWidth = std::min(content + 2 * shelfPadding + 8, area.width() - 8);
    double shelfHeight = tile + 2 * shelfPadding;
    Rect shelf{area.midX() - shelfWidth / 2, area.minY() + bottomMargin, shelfWidth, shelfHeight};

    bool dark = canvas.appearance() == AppearanceName::darkAqua;
    canvas.fillRoundedRect(shelf, 18, 18, dark ? Color::rgba(0.16, 0.16, 0.18, 0.55) : Color::rgba(1, 1, 1, 0.38));
    canvas.strokeRoundedRect(shelf.insetBy(0.25, 0.25), 18, 0.5, dark ? Color::white().withAlpha(0.2) : Color::white().withAlpha(0.55));

    canvas.save();
    canvas.clip(shelf);
    double x = shelf.minX() + shelfPadding + 4;
    double y = shelf.minY() + shelfPadding;
    for (const auto& t : list) {
        double width = widthOf(t);
        if (t.divider) {
            canvas.fillRect({x + tileGap / 2, y + 4, 1, tile - 8}, dark ? Color::white().withAlpha(0.25) : Color::black().withAlpha(0.18));
        } else if (!t.path.empty()) {
            std::string name = t.label;
            if (auto icon = iconForFile(t.path, name)) canvas.drawImage(*icon, {x, y, tile, tile}, 1);
            if (t.running)
                canvas.fillOval({x + tile / 2 - 2, shelf.minY() + 1.5, 4, 4}, dark ? Color::white().withAlpha(0.8) : Color::black().withAlpha(0.55));
        }
        x += width + tileGap;
    }
    canvas.restore();
}

}  // namespace desktop
