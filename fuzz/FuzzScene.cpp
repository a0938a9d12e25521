#include "fuzz/FuzzScene.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "desktop/Desktop.h"
#include "desktop/preferences/Preferences.h"
#include "desktop/propertylist/PropertyList.h"
#include "desktop/scripting/OwnedCopies.h"

namespace orvane::fuzz {

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

constexpr const char* home = "/Users/demo";

std::string scratchParent() {
    std::error_code error;
    if (fs::is_directory("/dev/shm", error) && access("/dev/shm", W_OK) == 0) return "/dev/shm";
    return fs::temp_directory_path().string();
}

json window(int number, const char* title, std::vector<int> frame, bool onScreen = true) {
    return {{"number", number}, {"title", title}, {"frame", frame}, {"onScreen", onScreen}, {"color", "#dfe9f7"}};
}

json menuBarExtra(double x) { return {{"frame", {x, 0, 26, 37}}, {"hidden", false}, {"pressable", true}}; }

json fileTile(const std::string& label, const std::string& bundleId, const std::string& url, int guid) {
    return {{"GUID", guid},
            {"tile-type", "file-tile"},
            {"tile-data",
             {{"file-label", label},
              {"bundle-identifier", bundleId},
              {"file-data", {{"_CFURLString", url}, {"_CFURLStringType", 15}}},
              {"book", {{desktop::propertyListTypeKey, "data"}, {"base64", "Ym9va4gCAAA="}}}}}};
}

void writeReal(const std::string& path, const std::string& bytes) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out) throw std::runtime_error("cannot write the fuzz disk at " + path);
}

}  // namespace

FuzzScene::FuzzScene() {
    // Named after this process, so that the next session removes the folder
    // of one that was killed or crashed before its destructor ran.
    constexpr const char* prefix = "orvane-fuzz-";
    const std::string parent = scratchParent();
    desktop::reclaimAbandonedFolders(parent, prefix);
    std::string base = desktop::makeOwnedFolder(parent, prefix);
    if (base.empty()) throw std::runtime_error("cannot make the fuzz disk's folder in " + parent);
    root_ = base + "/disk";
    scratch_ = base + "/scratch";
    fs::create_directories(scratch_);
    writeTemplate();
}

FuzzScene::~FuzzScene() {
    std::error_code error;
    fs::remove_all(fs::path(root_).parent_path(), error);
}

std::string FuzzScene::dockFile() { return desktop::preferencesFile("com.apple.dock"); }

void FuzzScene::writeTemplate() {
    const std::string broken = "/Applications/Broken.app";
    // Running or not, regular or not; the order is the order of "app k".
    apps_ = {
        {"com.apple.finder", "Finder", "/System/Library/CoreServices/Finder.app", true},
        {"com.apple.Safari", "Safari", "/Applications/Safari.app", true},
        {"com.apple.mail", "Mail", "/System/Applications/Mail.app", true},
        {"com.apple.Terminal", "Terminal", "/System/Applications/Utilities/Terminal.app", true},
        {"com.getdropbox.dropbox", "Dropbox", "/Applications/Dropbox.app", true},
        {"com.apple.Notes", "Notes", "/System/Applications/Notes.app", true},
        {"com.example.pathless", "无路径", "", false},
        {"com.example.broken", "Broken", broken, true},
        {"com.tinyspeck.slackmacgap", "Slack", "/Applications/Slack.app", true},
        {"com.example.missing", "Missing", "/Applications/Missing.app", false},
        {"com.apple.dock", "Dock", "/System/Library/CoreServices/Dock.app", true},
        {"com.velisk.orvane", "岚舟", "/Applications/岚舟.app", true},
    };
    json apps = json::array({
        {{"bundleId", "com.apple.finder"},
         {"name", "Finder"},
         {"path", apps_[0].path},
         {"activationPolicy", "regular"},
         {"windows", {window(101, "Applications", {120, 420, 820, 460})}}},
        {{"bundleId", "com.apple.dock"},
         {"name", "Dock"},
         {"path", apps_[10].path},
         {"activationPolicy", "prohibited"}},
        {{"bundleId", "com.apple.Safari"},
         {"name", "Safari"},
         {"path", apps_[1].path},
         {"activationPolicy", "regular"},
         {"windows", {window(201, "Apple", {260, 140, 1100, 760}), window(202, "Start", {200, 180, 980, 680}, false)}}},
        {{"bundleId", "com.apple.mail"},
         {"name", "Mail"},
         {"path", apps_[2].path},
         {"activationPolicy", "regular"},
         {"hidden", true},
         {"windows", {window(301, "Inbox", {80, 120, 1180, 720})}}},
        {{"bundleId", "com.apple.Terminal"},
         {"name", "Terminal"},
         {"path", apps_[3].path},
         {"activationPolicy", "regular"},
         {"windows", {window(501, "zsh", {420, 200, 640, 420})}},
         {"extras", {menuBarExtra(1100)}}},
        {{"bundleId", "com.getdropbox.dropbox"},
         {"name", "Dropbox"},
         {"path", apps_[4].path},
         {"activationPolicy", "accessory"},
         {"extras", {menuBarExtra(1180)}}},
        {{"bundleId", "com.apple.Notes"},
         {"name", "Notes"},
         {"path", apps_[5].path},
         {"activationPolicy", "regular"},
         {"running", false},
         {"windows", {window(401, "Notes", {340, 260, 760, 540})}}},
        {{"bundleId", "com.example.pathless"}, {"name", "无路径"}, {"activationPolicy", "regular"}},
        {{"bundleId", "com.example.broken"},
         {"name", "Broken"},
         {"path", broken},
         {"activationPolicy", "regular"},
         {"running", false}},
    });
    scene_ = {
        {"screens",
         {{{"frame", {0, 0, 1512, 982}},
           {"visibleFrame", {0, 76, 1512, 869}},
           {"safeAreaTop", 0},
           {"backingScale", 2}}}},
        {"statusBarThickness", 24},
        {"appearance", "light"},
        {"pointer", {700, 500}},
        {"accessibilityTrusted", false},
        {"screenCaptureGranted", false},
        {"host",
         {{"bundleId", "com.velisk.orvane"},
          {"name", "岚舟"},
          {"path", apps_[11].path},
          {"activationPolicy", "regular"}}},
        {"apps", apps},
        {"launchServices", {{"com.tinyspeck.slackmacgap", apps_[8].path}}},
        {"active", "com.apple.Safari"},
        {"openFailures",
         {{broken, {{"domain", "NSOSStatusErrorDomain"}, {"code", -10810}, {"description", "无法启动"}}}}},
        {"disk", root_},
        // Nothing in a session looks at other applications' pixels.
        {"windowPictures", "plain"},
    };

    for (const auto& app : apps_) {
        if (!app.onDisk) continue;
        json info = {{"CFBundleIdentifier", app.bundleId}, {"CFBundleName", app.name}, {"CFBundlePackageType", "APPL"}};
        files_.push_back({app.path + "/Contents/Info.plist", desktop::binaryPropertyList(info).value_or("")});
    }
    // A bundle without an identifier, and one inside another bundle.
    files_.push_back({"/Applications/Legacy Tool.app/Contents/Info.plist",
                      desktop::xmlPropertyList(json{{"CFBundlePackageType", "APPL"}}).value_or("")});
    files_.push_back(
        {"/Applications/Safari.app/Contents/Helpers/Helper.app/Contents/Info.plist",
         desktop::binaryPropertyList(json{{"CFBundleIdentifier", "com.apple.Safari.helper"}}).value_or("")});
    json dock = {
        {"autohide", false},
        {"tilesize", 48},
        {"orientation", "bottom"},
        {"mod-count", 3},
        {"persistent-apps",
         {fileTile("Safari", "com.apple.Safari", "file:///Applications/Safari.app/", 1),
          fileTile("Mail", "com.apple.mail", "file:///System/Applications/Mail.app/", 2),
          {{"GUID", 3}, {"tile-type", "spacer-tile"}, {"tile-data", {{"file-label", ""}}}},
          fileTile("Missing", "com.example.missing", "file:///Applications/Missing.app/", 4),
          fileTile("Slack", "com.tinyspeck.slackmacgap", "/Applications/Slack.app", 5)}},
        {"persistent-others", json::array()},
    };
    dockTemplate_ = desktop::binaryPropertyList(dock).value_or("");
    files_.push_back({dockFile(), dockTemplate_});
    emptyFolders_ = {std::string(home) + "/Desktop", std::string(home) + "/Documents"};

    for (const auto& app : apps_) {
        ids_.push_back(app.bundleId);
        names_.push_back(app.name);
        if (!app.path.empty()) paths_.push_back(app.path);
    }
    ids_.insert(ids_.end(), {"", "com.apple.Safari ", "COM.APPLE.SAFARI"});
    paths_.insert(paths_.end(), {"/", "/Applications", "/Applications/Safari.app/", "Safari.app",
                                 "/Applications/../Applications/Safari.app", "/Applications/Legacy Tool.app",
                                 "/Applications/Safari.app/Contents/Helpers/Helper.app"});
    // Names that collide with the all-applications menu's own items.
    names_.insert(names_.end(), {"设置…", "退出 岚舟", "a  b", " ", ""});
    folders_ = {std::string(home) + "/Desktop",
                std::string(home) + "/Desktop/",
                std::string(home) + "/Documents",
                "/",
                "/nonexistent",
                "/Applications/Safari.app/Contents/Info.plist",
                "",
                std::string(home) + "/Desktop/../Documents"};
    words_ = {"apps",           "add",     "settings", "auto",          "always",     "running",     "present",
              "absent",         "unknown", "pinned",   "maxIcons",      "centered",   "showRunning", "autoDedup",
              "dockPersistent", "hasUndo", "trusted",  "screenCapture", "detections", "visible",     "hidden",
              "dockStatus",     "id",      "name",     "path",          "policy"};
    windowNumbers_ = {101, 201, 202, 301, 401, 501, 0, 1, 999999};
}

void FuzzScene::prepare() const {
    std::error_code error;
    fs::remove_all(root_, error);
    for (const auto& folder : emptyFolders_) fs::create_directories(real(folder));
    for (const auto& [path, bytes] : files_) writeReal(real(path), bytes);
    desktop::reset(scene_, desktop::Clock::manual);
}

void FuzzScene::release() const {
    static const json bare = {{"screens", json::array()}, {"disk", root_}};
    desktop::reset(bare, desktop::Clock::manual);
}

}  // namespace orvane::fuzz
