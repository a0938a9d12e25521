#pragma once

// desktop/windowserver/ stands in for the window server and its input: screens,
// windows and panels with their levels and frames, status items, menus, the
// pointer and light or dark mode.
//
// The window server of the simulated Mac: screens, windows ordered by level,
// the menu bar's status items, the pointer and its routing to views, and
// popped-up menus. Desktop.cpp resets it from the scene and forwards the
// pointer and menu verbs to it.

#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

namespace desktop {

// Rebuilds screens, status bar, pointer and appearance from the scene and
// forgets every window of an earlier scene.
void resetWindowServer(const nlohmann::json& scene);
// Handles a verb ("pointer 10 20", "click X Y", "menu", "choose TITLE" ...);
// nothing when the verb is not the window server's. "screens" only replaces
// the screens: the caller posts the screen-parameters notification.
std::optional<nlohmann::json> windowServerVerb(const std::vector<std::string>& words);
// Windows, status items, the open menu and the pointer.
nlohmann::json windowServerState();
// Forgets the windows an application owned (it quit).
void removeWindowsOfProcess(int pid);
// Lists an application's windows (scene form: [{"number","title","frame",
// "layer","onScreen","color"}]) behind the others, as when it launched.
// Malformed elements are skipped.
void addWindowsOfProcess(int pid, const nlohmann::json& windows);
// Opens one window (scene form) of a running application in front of the
// others of its level; its number, or nothing when the element is malformed.
std::optional<int> openWindowOfProcess(int pid, const nlohmann::json& window);
// A hidden application's windows leave the screen until it is unhidden.
void setProcessWindowsHidden(int pid, bool hidden);

}  // namespace desktop
