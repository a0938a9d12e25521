// The simulated Mac's scripting verbs as data: stands in for nothing of the
// real system; it is the manual of the verbs that play the user and the system.

#include "desktop/scripting/VerbTable.h"

#include <array>

namespace desktop {
namespace {

constexpr std::array<VerbHelp, 35> verbs{{
    {"launch", "launch APP", "launches an application (bundle id, name or bundle path) and posts its launch"},
    {"quit", "quit APP", "quits a running application and posts its termination"},
    {"activate", "activate APP", "makes a running application the active one"},
    {"hide", "hide APP", "hides a running application and its windows"},
    {"unhide", "unhide APP", "shows a hidden application again and posts the unhide"},
    {"wake", "wake", "posts the wake-from-sleep notification"},
    {"space", "space", "posts the active-space change"},
    {"grant", "grant accessibility|screen|screen-preflight|screen-recording",
     "grants a permission (screen: preflight and recording in force together)"},
    {"revoke", "revoke accessibility|screen|screen-preflight|screen-recording", "revokes a permission"},
    {"advance", "advance SECONDS", "manual clock: runs every job falling due within SECONDS, in order"},
    {"wait", "wait SECONDS", "turns the run loop for SECONDS of real time (0 to 60) so other threads can answer"},
    {"state", "state", "the whole simulated Mac as JSON: apps, windows, menus, permissions, Dock, disk"},
    {"screens", "screens [{\"frame\":[x,y,w,h],...},...]", "replaces the screens and posts the screen-parameter change"},
    {"appearance", "appearance light|dark", "switches the system appearance"},
    {"motion", "motion reduced|full", "sets the reduce-motion accessibility setting"},
    {"pointer", "pointer X Y", "moves the pointer to screen point X Y (origin bottom-left); replies what is under it"},
    {"click", "click X Y", "clicks at X Y (a click while a menu is open only closes the menu)"},
    {"rightclick", "rightclick X Y", "right-clicks at X Y"},
    {"scroll", "scroll DX DY [precise]", "scrolls under the pointer by line deltas, or by precise ones"},
    {"menu", "menu", "the open menu's items, or null"},
    {"choose", "choose TITLE", "chooses the item titled TITLE of the open menu"},
    {"dismiss", "dismiss", "closes the open menu without a choice"},
    {"press", "press LABEL", "presses the first enabled control of our key window showing or labelled LABEL"},
    {"type", "type TEXT", "types TEXT (spaces included) into the focused text field"},
    {"backspace", "backspace [COUNT]", "deletes the last COUNT characters (1 unless given) of the focused text field"},
    {"pick", "pick LABEL OPTION", "chooses OPTION of the pop-up button LABEL"},
    {"step", "step LABEL up|down", "steps the stepper LABEL"},
    {"resize", "resize W H", "resizes our frontmost window from its bottom-right corner"},
    {"close", "close", "presses the close button of our frontmost window that has one"},
    {"capture", "capture ok|decline|fail ID [{\"domain\",\"code\",\"description\"}]",
     "decides how captures of ID (bundle id, window number or \"listing\") end"},
    {"window", "window minimize|space|restore|close NUMBER | window open APP {\"title\",\"frame\",\"color\"}",
     "acts on another application's window, or opens a new one"},
    {"screenshot", "screenshot PATH [X Y W H [SCALE]]",
     "writes the whole first screen, or the region X Y W H of it in points at SCALE pixels a point, as a PNG to PATH on this machine"},
    {"mkdir", "mkdir PATH", "makes the folder PATH and its parents on the simulated disk"},
    {"pull", "pull PATH DEST", "copies the file PATH of the simulated disk to DEST on this machine"},
    {"help", "help", "lists every verb with one line each"},
}};

}  // namespace

std::span<const VerbHelp> verbTable() { return verbs; }

}  // namespace desktop
