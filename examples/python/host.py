#!/usr/bin/env python3
"""A minimal host of OrvaneNative in Python, with ctypes only.

Every orvane_call must come from the thread that runs the main run loop (here:
the main thread). The library queues what the user does as events; a host
drains them with the "events" command after letting the run loop turn. Every
reply is released with orvane_free, so replies are taken as raw pointers.

On Linux the operating system is the simulated Mac of libOrvaneDesktop: the
host resets it to its default scene on the manual clock and lets time pass with
orvane_desktop_advance, where a real host would run its own loop.

    python3 examples/python/host.py <prefix>/lib
"""
import ctypes
import json
import os
import sys
import threading


def load(libdir):
    # The desktop first and globally: the library and the host share its one run loop.
    desktop = ctypes.CDLL(os.path.join(libdir, "libOrvaneDesktop.so"), mode=ctypes.RTLD_GLOBAL)
    library = ctypes.CDLL(os.path.join(libdir, "libOrvaneNative.so"))
    library.orvane_call.restype = ctypes.c_void_p
    library.orvane_call.argtypes = [ctypes.c_char_p]
    library.orvane_free.argtypes = [ctypes.c_void_p]
    desktop.orvane_desktop_reset.argtypes = [ctypes.c_char_p, ctypes.c_int]
    desktop.orvane_desktop_advance.argtypes = [ctypes.c_double]
    return library, desktop


class Orvane:
    def __init__(self, library):
        self.library = library

    def call(self, command, **arguments):
        request = {"command": command}
        if arguments:
            request["args"] = arguments
        pointer = self.library.orvane_call(json.dumps(request, ensure_ascii=False).encode())
        try:
            return json.loads(ctypes.string_at(pointer).decode())
        finally:
            self.library.orvane_free(pointer)

    def drain_events(self):
        while True:
            events = self.call("events")["data"]
            if not events:
                return
            for event in events:
                print("event:", json.dumps(event, ensure_ascii=False))


def main():
    libdir = sys.argv[1] if len(sys.argv) > 1 else "."
    library, desktop = load(libdir)
    if not desktop.orvane_desktop_reset(None, 1):
        return 1
    orvane = Orvane(library)

    replies = [
        orvane.call("start"),
        orvane.call("configure", maxIcons=4, pinned=[
            {"id": "com.apple.Safari", "name": "Safari", "path": "/Applications/Safari.app"},
            {"id": "com.example.gone", "name": "Gone", "path": "/Applications/Gone.app"}]),
    ]
    desktop.orvane_desktop_advance(0.5)
    # Opening an application that is not installed becomes an "error" event.
    replies.append(orvane.call("launch", id="com.example.gone", path="/Applications/Gone.app"))
    desktop.orvane_desktop_advance(0.5)
    orvane.drain_events()

    snapshot = orvane.call("snapshot")
    replies.append(snapshot)
    print("visible:", [entry["name"] for entry in snapshot["data"]["visible"]])

    # A call from any other thread is refused with a fixed reply.
    refused = []
    thread = threading.Thread(target=lambda: refused.append(orvane.call("snapshot")))
    thread.start()
    thread.join()
    print("from another thread:", json.dumps(refused[0], ensure_ascii=False))

    replies.append(orvane.call("stop"))
    return 0 if all(reply["ok"] for reply in replies) and not refused[0]["ok"] else 1


if __name__ == "__main__":
    sys.exit(main())
