#pragma once

// A scene describes the whole simulated Mac at one moment: what reset() builds.
// Every key is optional; rectangles are [x, y, width, height] in screen points
// (bottom-left origin) unless a key says otherwise.
//
//   screens            [{"frame":R, "visibleFrame":R, "safeAreaTop":0, "backingScale":2}]
//                      the first holds the menu bar (window server)
//   statusBarThickness 24 (window server)
//   appearance         "light" | "dark" (window server)
//   pointer            [x, y] (window server)
//   reduceMotion       false
//   accessibilityTrusted  false
//   screenCaptureGranted  false
//   host               {"bundleId","name","path","activationPolicy"} the library's own process;
//                      its pid is always getpid(); defaults com.velisk.orvane, 岚舟, /Applications/岚舟.app
//   apps               [{"bundleId","name","path","pid","activationPolicy":"regular"|"accessory"|"prohibited",
//                        "running":true, "hidden":false,
//                        "windows":[{"number","title","frame":R,"layer":0,"onScreen":true,"color":"#rrggbb"}],
//                        "extras":[{"ownerPid","hidden","frame":R in top-left-origin coordinates,"pressable"}],
//                        "extrasReadable":true, "extrasChildrenReadable":true, "unresponsive":false}]
//                      name defaults to the bundle's file name; a missing, taken or unusable pid (the
//                      host's, <= 0) is allocated. Other parts of the desktop receive the scene with
//                      every running app's "pid" and "running" filled in and the host's "pid".
//                      An extra's ownerPid defaults to the app's pid, hidden to false, pressable to
//                      true; no "extras" is an empty extras element. An unresponsive app holds each
//                      accessibility read for the caller's timeout (real time, at most 10 s) and fails.
//                      A Dock runs when an app with bundleId "com.apple.dock" runs
//   launchServices     {"bundle.id": "/Applications/Name.app"} registrations besides the apps' own
//   active             bundle id of the active application
//   openLatency        seconds before an open completes (0)
//   openFailures       {"path or bundle id": {"domain","code","description"}}
//   disk               folder on this machine that is the simulated disk's root (see Disk.h)
//   tools              {"killallLaunchFails": {"domain","code","description"}}
