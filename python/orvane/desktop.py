"""The simulated Mac of libOrvaneDesktop: scenes, the clock and verbs."""
import ctypes
import json
import os

from .errors import OrvaneError
from .loader import DESKTOP_SONAME, load_library
from .replies import checked, take_reply


class Desktop:
    """libOrvaneDesktop, shared with libOrvaneNative. Main thread only."""

    def __init__(self, folder=None):
        self._library = load_library(DESKTOP_SONAME, folder)
        lib = self._library
        lib.orvane_desktop_reset.restype = ctypes.c_int
        lib.orvane_desktop_reset.argtypes = [ctypes.c_char_p, ctypes.c_int]
        lib.orvane_desktop_advance.restype = None
        lib.orvane_desktop_advance.argtypes = [ctypes.c_double]
        lib.orvane_desktop_run_for.restype = None
        lib.orvane_desktop_run_for.argtypes = [ctypes.c_double]
        lib.orvane_desktop_verb.restype = ctypes.c_void_p
        lib.orvane_desktop_verb.argtypes = [ctypes.c_char_p]
        lib.orvane_desktop_free.restype = None
        lib.orvane_desktop_free.argtypes = [ctypes.c_void_p]
        lib.orvane_desktop_screenshot.restype = ctypes.c_int
        lib.orvane_desktop_screenshot.argtypes = [ctypes.c_char_p]

    def reset(self, scene=None, manual=True):
        """Replaces the whole Mac with scene (a dict or JSON text; None: the default scene)."""
        if scene is not None and not isinstance(scene, (str, bytes)):
            scene = json.dumps(scene, ensure_ascii=False)
        if isinstance(scene, str):
            scene = scene.encode("utf-8")
        if not self._library.orvane_desktop_reset(scene, 1 if manual else 0):
            raise OrvaneError("the scene is not a JSON object; the simulated Mac is left as it was")

    def advance(self, seconds):
        """Manual clock: runs every job falling due within seconds; real clock: runs the loop that long."""
        self._library.orvane_desktop_advance(float(seconds))

    def run_for(self, seconds):
        """Runs the main run loop for about seconds of real time."""
        self._library.orvane_desktop_run_for(float(seconds))

    def verb(self, line):
        """Runs one verb ("launch com.apple.Safari") and returns its reply without "ok"."""
        reply = checked(take_reply(self._library.orvane_desktop_verb(line.encode("utf-8")),
                                   self._library.orvane_desktop_free))
        return {key: value for key, value in reply.items() if key != "ok"}

    def screenshot(self, path):
        """Writes a PNG of the whole first screen to path on this machine."""
        if not self._library.orvane_desktop_screenshot(os.fsencode(path)):
            raise OrvaneError(f"cannot write a screenshot to {path}")
