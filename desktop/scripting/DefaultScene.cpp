// The demo Mac: a 14-inch laptop screen at backing scale 2 with a 37-point
// menu bar, Finder, the Dock and a handful of everyday applications, some
// running with windows (Notes with a portrait one beside its main window),
// one with its own item in the menu bar between the host's items and the
// clock. Applications go by the names a Simplified Chinese system shows.

#include <nlohmann/json.hpp>

#include "desktop/scripting/DefaultScene.h"

namespace desktop {
namespace {

constexpr const char* defaultSceneText = R"json({
  "screens": [
    {"frame": [0, 0, 1512, 982], "visibleFrame": [0, 76, 1512, 869], "safeAreaTop": 0, "backingScale": 2}
  ],
  "statusBarThickness": 37,
  "menuBarClock": "12月8日 周二 09:41",
  "menuBarOccupiedWidth": 200,
  "appearance": "light",
  "pointer": [756, 500],
  "reduceMotion": false,
  "accessibilityTrusted": false,
  "screenCaptureGranted": false,
  "host": {"bundleId": "com.velisk.orvane", "name": "岚舟", "path": "/Applications/岚舟.app",
           "activationPolicy": "regular"},
  "apps": [
    {"bundleId": "com.apple.finder", "name": "Finder", "path": "/System/Library/CoreServices/Finder.app",
     "activationPolicy": "regular",
     "windows": [{"number": 101, "title": "Applications", "frame": [120, 420, 820, 460], "color": "#e8ecf2"}]},
    {"bundleId": "com.apple.dock", "name": "Dock", "path": "/System/Library/CoreServices/Dock.app",
     "activationPolicy": "prohibited"},
    {"bundleId": "com.apple.loginwindow", "name": "loginwindow",
     "path": "/System/Library/CoreServices/loginwindow.app", "activationPolicy": "prohibited"},
    {"bundleId": "com.apple.Safari", "name": "Safari", "path": "/Applications/Safari.app",
     "activationPolicy": "regular",
     "windows": [{"number": 201, "title": "Apple", "frame": [260, 140, 1100, 760], "color": "#f5f5f7"},
                 {"number": 202, "title": "Velisk — Start", "frame": [200, 180, 980, 680], "color": "#dfe9f7"}]},
    {"bundleId": "com.apple.mail", "name": "邮件", "path": "/System/Applications/Mail.app",
     "activationPolicy": "regular",
     "windows": [{"number": 301, "title": "Inbox", "frame": [80, 120, 1180, 720], "color": "#ffffff"}]},
    {"bundleId": "com.apple.Notes", "name": "备忘录", "path": "/System/Applications/Notes.app",
     "activationPolicy": "regular",
     "windows": [{"number": 401, "title": "Notes", "frame": [340, 260, 760, 540], "color": "#fdf6d8"},
                 {"number": 402, "title": "购物清单", "frame": [1130, 230, 340, 560], "color": "#fff4c2"}]},
    {"bundleId": "com.apple.Terminal", "name": "终端", "path": "/System/Applications/Utilities/Terminal.app",
     "activationPolicy": "regular",
     "windows": [{"number": 501, "title": "zsh — 80×24", "frame": [420, 200, 640, 420], "color": "#1e1e1e"}]},
    {"bundleId": "com.microsoft.VSCode", "name": "Visual Studio Code",
     "path": "/Applications/Visual Studio Code.app", "activationPolicy": "regular",
     "windows": [{"number": 601, "title": "orvane — main.cpp", "frame": [60, 100, 1380, 820], "color": "#252526"}]},
    {"bundleId": "com.getdropbox.dropbox", "name": "Dropbox", "path": "/Applications/Dropbox.app",
     "activationPolicy": "accessory",
     "extras": [{"frame": [1312, 0, 30, 37], "hidden": false, "pressable": true}]},
    {"bundleId": "com.apple.Music", "name": "音乐", "path": "/System/Applications/Music.app",
     "activationPolicy": "regular", "running": false}
  ],
  "launchServices": {"com.tinyspeck.slackmacgap": "/Applications/Slack.app"},
  "active": "com.apple.Safari",
  "openLatency": 0,
  "openFailures": {}
})json";

}  // namespace

const nlohmann::json& defaultScene() {
    static const nlohmann::json scene = nlohmann::json::parse(defaultSceneText);
    return scene;
}

}  // namespace desktop
