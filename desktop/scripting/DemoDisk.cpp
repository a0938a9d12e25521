// Writes the demo Mac's disk: what a person's Mac holds in /Applications,
// /System/Applications, ~/Applications and CoreServices, and the Dock's own
// preferences file, so that a fresh demo answers like a lived-in machine.
#include "desktop/scripting/DemoDisk.h"

#include <cairo.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <vector>

#include <nlohmann/json.hpp>

#include "desktop/files/Disk.h"
#include "desktop/files/FileIO.h"
#include "desktop/preferences/Preferences.h"
#include "desktop/propertylist/PropertyList.h"
#include "desktop/scripting/OwnedCopies.h"
#include "desktop/ui/PngWriter.h"

namespace desktop {

namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

constexpr int iconPixels = 64;

enum class Glyph { ring, dot, bars, triangle, window, face, diamonds };

struct DemoApp {
    const char* path;
    const char* bundleIdentifier;  // empty: the Info.plist has none
    Glyph glyph;
    double red, green, blue;
    bool xmlInfo = false;
};

const std::string home = homeFolder;

std::vector<DemoApp> demoApps() {
    return {
        {"/System/Library/CoreServices/Finder.app", "com.apple.finder", Glyph::face, 0.16, 0.52, 0.96},
        {"/System/Library/CoreServices/Dock.app", "com.apple.dock", Glyph::dot, 0.25, 0.25, 0.28},
        {"/System/Library/CoreServices/Applications/Archive Utility.app", "com.apple.archiveutility", Glyph::bars, 0.55, 0.45, 0.35, true},
        {"/Applications/Safari.app", "com.apple.Safari", Glyph::triangle, 0.10, 0.60, 0.95},
        {"/Applications/Visual Studio Code.app", "com.microsoft.VSCode", Glyph::window, 0.05, 0.45, 0.80, true},
        {"/Applications/Dropbox.app", "com.getdropbox.dropbox", Glyph::diamonds, 0.00, 0.38, 1.00},
        {"/Applications/Xcode.app", "com.apple.dt.Xcode", Glyph::dot, 0.20, 0.55, 0.95},
        // Inside another bundle: never listed as an installed application.
        {"/Applications/Xcode.app/Contents/Applications/Instruments.app", "com.apple.dt.Instruments", Glyph::bars, 0.30, 0.30, 0.35},
        {"/Applications/网易云音乐.app", "com.netease.163music", Glyph::triangle, 0.85, 0.10, 0.12, true},
        {"/Applications/Legacy Tool.app", "", Glyph::window, 0.50, 0.50, 0.50, true},
        {"/Applications/.Hidden Helper.app", "com.example.hidden-helper", Glyph::ring, 0.40, 0.40, 0.40},
        {"/Applications/Utilities/Tunnelblick.app", "net.tunnelblick.tunnelblick", Glyph::dot, 0.45, 0.35, 0.25},
        {"/System/Applications/Mail.app", "com.apple.mail", Glyph::bars, 0.20, 0.55, 0.98},
        {"/System/Applications/Notes.app", "com.apple.Notes", Glyph::triangle, 0.98, 0.80, 0.20, true},
        {"/System/Applications/Music.app", "com.apple.Music", Glyph::window, 0.98, 0.25, 0.35},
        {"/System/Applications/Calendar.app", "com.apple.iCal", Glyph::ring, 0.95, 0.30, 0.25},
        {"/System/Applications/Calculator.app", "com.apple.calculator", Glyph::dot, 0.35, 0.35, 0.38},
        {"/System/Applications/System Settings.app", "com.apple.systempreferences", Glyph::bars, 0.55, 0.55, 0.60},
        {"/System/Applications/Utilities/Terminal.app", "com.apple.Terminal", Glyph::triangle, 0.10, 0.10, 0.12},
        {"/System/Applications/Utilities/Activity Monitor.app", "com.apple.ActivityMonitor", Glyph::window, 0.20, 0.70, 0.35},
        {"/System/Library/CoreServices/loginwindow.app", "com.apple.loginwindow", Glyph::ring, 0.30, 0.30, 0.30},
        {"/Applications/岚舟.app", "com.velisk.orvane", Glyph::dot, 0.18, 0.36, 0.62},
        // Moved here from Downloads after the Dock kept it; the Dock still points there.
        {"/Applications/Slack.app", "com.tinyspeck.slackmacgap", Glyph::bars, 0.29, 0.08, 0.30},
        {"/Users/demo/Applications/Tot.app", "com.iconfactory.Tot", Glyph::triangle, 0.95, 0.45, 0.55, true},
        // An older copy of an application that /Applications already holds.
        {"/Users/demo/Applications/Visual Studio Code.app", "com.microsoft.VSCode", Glyph::window, 0.30, 0.40, 0.50},
    };
}

// The names a Simplified Chinese system shows for its own applications, kept
// in each bundle's strings for that language. The Finder's stays in English
// in the catalogue, which names it itself.
const std::map<std::string, std::string>& localizedNames() {
    static const std::map<std::string, std::string> names = {
        {"/System/Library/CoreServices/Finder.app", "访达"},
        {"/System/Library/CoreServices/Applications/Archive Utility.app", "归档实用工具"},
        {"/System/Applications/Mail.app", "邮件"},
        {"/System/Applications/Notes.app", "备忘录"},
        {"/System/Applications/Music.app", "音乐"},
        {"/System/Applications/Calendar.app", "日历"},
        {"/System/Applications/Calculator.app", "计算器"},
        {"/System/Applications/System Settings.app", "系统设置"},
        {"/System/Applications/Utilities/Terminal.app", "终端"},
        {"/System/Applications/Utilities/Activity Monitor.app", "活动监视器"},
    };
    return names;
}

std::string nameOf(const std::string& bundlePath) {
    std::string file = bundlePath.substr(bundlePath.find_last_of('/') + 1);
    return file.substr(0, file.find_last_of('.'));
}

std::optional<std::string> drawIcon(const DemoApp& app) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, iconPixels, iconPixels);
    cairo_t* cr = cairo_create(surface);
    const double inset = 4, size = iconPixels - 2 * inset, radius = 13;
    cairo_new_sub_path(cr);
    cairo_arc(cr, inset + size - radius, inset + radius, radius, -M_PI / 2, 0);
    cairo_arc(cr, inset + size - radius, inset + size - radius, radius, 0, M_PI / 2);
    cairo_arc(cr, inset + radius, inset + size - radius, radius, M_PI / 2, M_PI);
    cairo_arc(cr, inset + radius, inset + radius, radius, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
    cairo_pattern_t* gradient = cairo_pattern_create_linear(0, inset, 0, inset + size);
    cairo_pattern_add_color_stop_rgb(gradient, 0, std::min(1.0, app.red + 0.18), std::min(1.0, app.green + 0.18), std::min(1.0, app.blue + 0.18));
    cairo_pattern_add_color_stop_rgb(gradient, 1, app.red, app.green, app.blue);
    cairo_set_source(cr, gradient);
    cairo_fill(cr);
    cairo_pattern_destroy(gradient);

    // Shapes rather than letters: text would pull in the font machinery,
    // whose caches outlive the process and read as leaks.
    cairo_set_source_rgba(cr, 1, 1, 1, 0.92);
    cairo_set_line_width(cr, 4);
    const double centre = iconPixels / 2.0;
    switch (app.glyph) {
    case Glyph::ring:
        cairo_arc(cr, centre, centre, 14, 0, 2 * M_PI);
        cairo_stroke(cr);
        break;
    case Glyph::dot:
        cairo_arc(cr, centre, centre, 11, 0, 2 * M_PI);
        cairo_fill(cr);
        break;
    case Glyph::bars:
        for (int bar = 0; bar < 3; ++bar) cairo_rectangle(cr, 19 + bar * 10, 22 + (bar % 2) * 6, 6, 20 - (bar % 2) * 6);
        cairo_fill(cr);
        break;
    case Glyph::triangle:
        cairo_move_to(cr, centre, 18);
        cairo_line_to(cr, 46, 44);
        cairo_line_to(cr, 18, 44);
        cairo_close_path(cr);
        cairo_fill(cr);
        break;
    case Glyph::face:
        // The two-tone face: a lighter right half, two eyes and a smile.
        cairo_set_source_rgba(cr, 1, 1, 1, 0.35);
        cairo_rectangle(cr, centre, inset, size / 2, size);
        cairo_fill(cr);
        cairo_set_source_rgba(cr, 0.05, 0.15, 0.35, 0.9);
        cairo_set_line_width(cr, 3.5);
        for (double eye : {centre - 10, centre + 10}) {
            cairo_move_to(cr, eye, 20);
            cairo_line_to(cr, eye, 29);
        }
        cairo_stroke(cr);
        cairo_arc(cr, centre, 30, 14, M_PI * 0.2, M_PI * 0.8);
        cairo_stroke(cr);
        break;
    case Glyph::diamonds:
        // An open box of four diamonds.
        for (auto [x, y] : {std::pair{centre - 9, 22.0}, {centre + 9, 22.0}, {centre - 9, 34.0}, {centre + 9, 34.0}}) {
            cairo_move_to(cr, x, y - 6);
            cairo_line_to(cr, x + 8.5, y);
            cairo_line_to(cr, x, y + 6);
            cairo_line_to(cr, x - 8.5, y);
            cairo_close_path(cr);
        }
        cairo_move_to(cr, centre, 41);
        cairo_line_to(cr, centre + 8.5, 47);
        cairo_line_to(cr, centre, 53);
        cairo_line_to(cr, centre - 8.5, 47);
        cairo_close_path(cr);
        cairo_fill(cr);
        break;
    case Glyph::window:
        cairo_rectangle(cr, 17, 20, 30, 24);
        cairo_stroke(cr);
        cairo_move_to(cr, 17, 27);
        cairo_line_to(cr, 47, 27);
        cairo_stroke(cr);
        break;
    }
    cairo_destroy(cr);

    cairo_surface_flush(surface);
    std::string png;
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS)
        png = desktop::ui::encodePng(reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(surface)),
                                     cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface),
                                     static_cast<std::size_t>(cairo_image_surface_get_stride(surface)) / 4);
    cairo_surface_destroy(surface);
    if (png.empty()) return std::nullopt;
    return png;
}

bool writeBundle(const std::string& root, const DemoApp& app) {
    std::string name = nameOf(app.path);
    Json info = {
        {"CFBundleName", name},
        {"CFBundleDisplayName", name},
        {"CFBundleExecutable", name},
        {"CFBundleIconFile", "AppIcon"},
        {"CFBundlePackageType", "APPL"},
        {"CFBundleShortVersionString", "1.0"},
        {"CFBundleVersion", 1},
        {"LSMinimumSystemVersion", "11.0"},
        {"NSHighResolutionCapable", true},
    };
    if (*app.bundleIdentifier) info["CFBundleIdentifier"] = app.bundleIdentifier;
    auto plist = app.xmlInfo ? xmlPropertyList(info) : binaryPropertyList(info);
    auto icon = drawIcon(app);
    std::string contents = root + app.path + "/Contents";
    if (auto localized = localizedNames().find(app.path); localized != localizedNames().end()) {
        auto strings = xmlPropertyList(Json{{"CFBundleDisplayName", localized->second}, {"CFBundleName", localized->second}});
        if (!strings || !writeFileAtomically(contents + "/Resources/zh-Hans.lproj/InfoPlist.strings", *strings)) return false;
    }
    return plist && icon && writeFileAtomically(contents + "/Info.plist", *plist) &&
           writeFileAtomically(contents + "/PkgInfo", "APPL????") &&
           writeFileAtomically(contents + "/Resources/AppIcon.png", *icon) &&
           makeDirectories(contents + "/MacOS");
}

Json fileTile(const std::string& label, const std::string& bundleIdentifier, const std::string& location, int urlType, int guid) {
    return {{"GUID", guid},
            {"tile-type", "file-tile"},
            {"tile-data",
             {{"file-label", label},
              {"bundle-identifier", bundleIdentifier},
              {"file-data", {{"_CFURLString", location}, {"_CFURLStringType", urlType}}},
              {"file-type", 41},
              {"file-mod-date", 3786427382LL},
              {"parent-mod-date", 3786427400LL},
              {"dock-extra", false},
              {"is-beta", false},
              // A bookmark the Dock keeps beside the URL; opaque bytes that must survive.
              {"book", {{propertyListTypeKey, "data"}, {"base64", "Ym9va4gCAAAAAAQQMAAAAAAAAAA="}}}}}};
}

Json folderTile(const std::string& label, const std::string& url, int guid) {
    return {{"GUID", guid},
            {"tile-type", "directory-tile"},
            {"tile-data",
             {{"file-label", label},
              {"file-data", {{"_CFURLString", url}, {"_CFURLStringType", 15}}},
              {"arrangement", 2},
              {"displayas", 0},
              {"showas", 1},
              {"preferreditemsize", -1}}}};
}

Json dockPreferences() {
    constexpr int fileUrl = 15, plainPath = 0;
    Json apps = Json::array({
        fileTile("Safari", "com.apple.Safari", "file:///Applications/Safari.app/", fileUrl, 1021),
        fileTile("邮件", "com.apple.mail", "file:///System/Applications/Mail.app/", fileUrl, 1022),
        fileTile("备忘录", "com.apple.Notes", "file:///System/Applications/Notes.app/", fileUrl, 1023),
        fileTile("音乐", "com.apple.Music", "file:///System/Applications/Music.app/", fileUrl, 1024),
        {{"GUID", 1025}, {"tile-type", "spacer-tile"}, {"tile-data", {{"file-label", ""}}}},
        fileTile("Visual Studio Code", "com.microsoft.VSCode", "/Applications/Visual%20Studio%20Code.app", plainPath, 1026),
        fileTile("终端", "com.apple.Terminal", "file:///System/Applications/Utilities/Terminal.app/", fileUrl, 1027),
        fileTile("Slack", "com.tinyspeck.slackmacgap", "file:///Users/demo/Downloads/Slack.app/", fileUrl, 1028),
        fileTile("Dropbox", "com.getdropbox.dropbox", "file:///Applications/Dropbox.app/", fileUrl, 1029),
        fileTile("Sketch", "com.bohemiancoding.sketch3", "file:///Applications/Sketch.app/", fileUrl, 1030),
        folderTile("Applications", "file:///Applications/", 1031),
        fileTile("系统设置", "com.apple.systempreferences", "file:///System/Applications/System%20Settings.app/", fileUrl, 1032),
    });
    Json others = Json::array({folderTile("Downloads", "file:///Users/demo/Downloads/", 1040)});
    return {
        {"autohide", false},
        {"tilesize", 48},
        {"largesize", 64},
        {"magnification", true},
        {"orientation", "bottom"},
        {"mineffect", "scale"},
        {"minimize-to-application", true},
        {"show-recents", false},
        {"show-process-indicators", true},
        {"autohide-time-modifier", 0.5},
        {"mod-count", 37},
        {"version", 1},
        {"trash-full", false},
        {"wvous-br-corner", 14},
        {"wvous-br-modifier", 0},
        {"loc", "zh_CN:CN"},
        {"region", "CN"},
        {"recent-apps", Json::array()},
        {"persistent-apps", apps},
        {"persistent-others", others},
    };
}

bool writeTemplate(const std::string& root) {
    for (const auto& app : demoApps()) {
        if (!writeBundle(root, app)) return false;
    }
    auto dock = binaryPropertyList(dockPreferences());
    auto finder = binaryPropertyList(Json{{"ShowPathbar", true}, {"FXPreferredViewStyle", "Nlsv"}});
    for (const char* folder : {"/Desktop", "/Documents", "/Downloads"}) {
        if (!makeDirectories(root + home + folder)) return false;
    }
    return dock && finder && writeFileAtomically(root + preferencesFile("com.apple.dock"), *dock) &&
           writeFileAtomically(root + preferencesFile("com.apple.finder"), *finder) &&
           writeFileAtomically(root + home + "/Documents/读我.txt", "演示用的 Mac。\n");
}

std::string cacheFolder() {
    if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache && *cache == '/') return std::string(cache) + "/orvane";
    if (const char* user = std::getenv("HOME"); user && *user == '/') return std::string(user) + "/.cache/orvane";
    return "/tmp/orvane-" + std::to_string(getuid());
}

std::string temporaryFolder(const std::string& parent, const std::string& prefix) {
    std::string pattern = parent + "/" + prefix + "XXXXXX";
    if (!makeDirectories(parent) || !mkdtemp(pattern.data())) return {};
    return pattern;
}

// The template for this version, written once; empty when it cannot be.
std::string demoTemplate() {
    std::string folder = cacheFolder();
    std::string target = folder + "/demo-disk-v" + std::to_string(demoDiskVersion);
    std::string marker = target + "/.complete";
    std::error_code error;
    if (fs::exists(marker, error)) return target;
    // Built aside and renamed into place, so a half-written template is never used.
    std::string building = temporaryFolder(folder, ".demo-disk-");
    if (building.empty()) return {};
    if (!writeTemplate(building) || !writeFileAtomically(building + "/.complete", "")) {
        fs::remove_all(building, error);
        return {};
    }
    // Another process may have finished first; its template is as good as ours.
    fs::rename(building, target, error);
    if (error) fs::remove_all(building, error);
    return fs::exists(marker, error) ? target : std::string();
}

// Where the per-reset copies go: TMPDIR when set, else the memory-backed
// /dev/shm when it is writable (every test resets, and creating a few hundred
// files on a slow disk costs far more than the test), else /tmp.
std::string copiesFolder() {
    const char* tmp = std::getenv("TMPDIR");
    if (tmp && *tmp == '/') return tmp;
    if (access("/dev/shm", W_OK | X_OK) == 0) return "/dev/shm";
    return "/tmp";
}

// Each copy carries its owner's process id, so that the copies of a process
// that ended abruptly are removed by the next one.
constexpr const char* copyPrefix = "orvane-disk-";

}  // namespace

std::string freshDemoDisk() {
    std::string copy;
    // /tmp when the chosen folder takes no copy; it is owner-named there too,
    // so that it is reclaimed like the others.
    for (const std::string& folder : {copiesFolder(), std::string("/tmp")}) {
        reclaimAbandonedFolders(folder, copyPrefix);
        copy = makeOwnedFolder(folder, copyPrefix);
        if (!copy.empty()) break;
    }
    if (copy.empty()) {
        copy = "/tmp/orvane-disk-" + std::to_string(getpid());
        makeDirectories(copy);
        return copy;
    }
    std::string source = demoTemplate();
    if (source.empty()) return copy;
    std::error_code error;
    fs::copy(source, copy, fs::copy_options::recursive | fs::copy_options::copy_symlinks, error);
    fs::remove(copy + "/.complete", error);
    return copy;
}

}  // namespace desktop
