#pragma once

// desktop/scripting/ stands in for the person at the Mac and for the machine it
// was set up as: scenes that build the whole system at once, and the verbs that
// tests and hosts use to act as the user (launch, click, type, grant, wait).
//
// A scene describes the whole simulated Mac at one moment: what reset() builds.
// Every key is optional; rectangles are [x, y, width, height] in screen points
// (bottom-left origin) unless a key says otherwise.
//
//   screens            [{"frame":R, "visibleFrame":R, "safeAreaTop":0, "backingScale":2}]
//                      the first holds the menu bar (window server); missing: one
//                      1512 x 982 screen at scale 2 with visible frame [0,0,1512,945];
//                      [] gives no screen; a malformed list counts as missing.
//                      visibleFrame defaults to the frame, backingScale to 2
//   statusBarThickness 24 (window server); status items sit right to left from the
//                      right end of the first screen, centred in its menu-bar band
//   menuBarClock       the menu bar's clock text (window server); missing or "": neither the
//                      clock nor Control Centre is shown
//   menuBarOccupiedWidth  points at the right end of the menu bar that the system's and other
//                      applications' items take before ours (window server); missing or not
//                      above 0: none
//   appearance         "light" | "dark" (window server), default "light"
//   pointer            [x, y] (window server), default the first screen's centre
//   reduceMotion       false
//   accessibilityTrusted  false
//   screenCaptureGranted  false  what the screen-recording preflight check answers
//   screenCaptureInForce  whether the permission is in force for this process (default: the
//                      preflight's value); without it every listing and capture is declined
//                      (the capture error domain, code -3801). The two can disagree, as a grant
//                      often takes effect only after a relaunch
//   captureLatency     seconds before a shareable-content listing or a window capture answers
//                      on the main run loop (0: the next turn of the loop; at most 3600)
//   captureOutcomes    {"ID": "ok" | "decline" | "fail" | {"domain","code","description"}}:
//                      ID is a bundle id, a window number in decimal, or "listing" (the
//                      shareable-content listing). A capture takes its window's outcome, else
//                      its owner's bundle's, else succeeds; "fail" without details answers the
//                      capture domain's internal error (-3811). A window that is gone answers
//                      -3815, a size under 1 or over 16384 pixels a side (or 64 Mi pixels in
//                      all) -3812, before any picture is allocated
//   windowPictures     "detailed" (default) | "plain": with "plain" a capture of another
//                      application's window is one flat rectangle in the window's colour where
//                      the window lands (transparent around it), with no title bar, outline or
//                      content: for sessions that never look at the pixels. Windows of ours are
//                      captured as they are on screen either way
//   host               {"bundleId","name","path","activationPolicy"} the library's own process;
//                      its pid is always getpid(); defaults com.velisk.orvane, 岚舟, /Applications/岚舟.app
//   apps               [{"bundleId","name","path","pid","activationPolicy":"regular"|"accessory"|"prohibited",
//                        "running":true, "hidden":false,
//                        "windows":[{"number","title","frame":R,"layer":0,"onScreen":true,"color":"#rrggbb"}],
//                          front to back within a layer; listed by the window server for apps
//                          with an integer pid that run; a missing or taken number gets a new one;
//                          "onScreen": false is a minimised window or one on another space
//                          (listed, captured, absent from the on-screen order); the colour
//                          ("#rrggbb" or "#rrggbbaa") is the body's in pictures of the window;
//                          in the dark appearance a light colour is drawn as its dark
//                          counterpart, as applications follow the system's appearance
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
//   managedPreferences {"com.apple.dock": {"autohide": false}} values a managed profile forces:
//                      a read of such a key gives the forced value whatever was written
//
// Verbs of screen recording and windows (desktop::verb, the host's "!" lines):
//   grant|revoke screen             the preflight and the permission in force together
//   grant|revoke screen-preflight   only what the preflight check answers
//   grant|revoke screen-recording   only whether the permission is in force
//   capture ok|decline|fail ID [{"domain","code","description"}]
//                                   sets the outcome for a bundle id, window number or "listing"
//   window minimize|space NUMBER    another application's window leaves the screen (minimised,
//                                   moved to another space); it stays listed
//   window restore NUMBER           back on screen, in front of its level
//   window close NUMBER             the window is gone
//   window open APP {WINDOW}        a running application opens a window (scene form) in front
//   screenshot PATH                 writes a PNG of the whole first screen at its backing scale
//                                   to PATH on this machine (also orvane_desktop_screenshot)
