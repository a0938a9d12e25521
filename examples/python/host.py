#!/usr/bin/env python3
"""A minimal host of OrvaneNative in Python, with the orvane package.

Every call must come from the thread that runs the main run loop (here: the
main thread). The library queues what the user does as events; a host drains
them with events() after letting the run loop turn. A failed reply raises
orvane.OrvaneError with the library's message.

On Linux the operating system is the simulated Mac of libOrvaneDesktop: the
host resets it to its default scene on the manual clock and lets time pass with
desktop.advance, where a real host would run its own loop.

    PYTHONPATH=<prefix>/lib/python python3 examples/python/host.py [<prefix>/lib]
"""
import json
import sys
import threading

import orvane


def main():
    try:
        native = orvane.load(sys.argv[1] if len(sys.argv) > 1 else None)
    except orvane.LibraryNotFoundError as error:
        print(error, file=sys.stderr)
        return 2
    desktop = native.desktop
    desktop.reset()

    native.call("start")
    native.call("configure", maxIcons=4, pinned=[
        {"id": "com.apple.Safari", "name": "Safari", "path": "/Applications/Safari.app"},
        {"id": "com.example.gone", "name": "Gone", "path": "/Applications/Gone.app"}])
    desktop.advance(0.5)

    # Opening an application that is not installed becomes an "error" event.
    native.call("launch", id="com.example.gone", path="/Applications/Gone.app")
    desktop.advance(0.5)
    for event in native.events():
        print("event:", json.dumps(event, ensure_ascii=False))

    # The user quits Safari on the simulated Mac; the strip follows.
    desktop.verb("quit com.apple.Safari")
    desktop.advance(0.5)
    snapshot = native.call("snapshot")
    print("visible:", [entry["name"] for entry in snapshot["visible"]])
    print("running:", [entry["name"] for entry in snapshot["running"]])

    # A command the library does not know fails with its message.
    try:
        native.call("Start")
    except orvane.OrvaneError as error:
        print("refused:", error)

    # A call from any other thread is refused with a fixed reply.
    refused = []

    def off_main():
        try:
            native.call("snapshot")
        except orvane.OrvaneError as error:
            refused.append(str(error))

    thread = threading.Thread(target=off_main)
    thread.start()
    thread.join()
    print("from another thread:", refused)

    native.call("stop")
    return 0 if refused else 1


if __name__ == "__main__":
    try:
        sys.exit(main())
    except orvane.OrvaneError as error:
        print("failed:", error, file=sys.stderr)
        sys.exit(1)
