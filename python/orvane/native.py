"""The library a host loads: orvane_call and orvane_free."""
import ctypes
import json

from .desktop import Desktop
from .loader import NATIVE_SONAME, load_library, library_folder
from .replies import checked, take_reply


class Orvane:
    """libOrvaneNative, loaded once. Call it only on the thread that runs the main run loop."""

    def __init__(self, location=None):
        self._location = location
        self._library = load_library(NATIVE_SONAME, location)
        self._library.orvane_call.restype = ctypes.c_void_p
        self._library.orvane_call.argtypes = [ctypes.c_char_p]
        self._library.orvane_free.restype = None
        self._library.orvane_free.argtypes = [ctypes.c_void_p]
        self._desktop = None

    @property
    def path(self):
        """What was handed to dlopen: the library's path, or its soname when the linker searched."""
        return self._library._name

    @property
    def desktop(self):
        """The simulated Mac, loaded on first use from the same place as the library."""
        if self._desktop is None:
            self._desktop = Desktop(library_folder(self._location))
        return self._desktop

    def request(self, request):
        """Sends one request (a dict, or JSON text as it is) and returns the whole reply."""
        text = request if isinstance(request, (str, bytes)) else json.dumps(request, ensure_ascii=False)
        if isinstance(text, str):
            text = text.encode("utf-8")
        return take_reply(self._library.orvane_call(text), self._library.orvane_free)

    def call(self, command, **args):
        """Runs command with args and returns the reply's data; raises OrvaneError on failure."""
        request = {"command": command}
        if args:
            request["args"] = args
        return checked(self.request(request))["data"]

    def events(self):
        """The queued events, oldest first; the queue is empty afterwards."""
        return self.call("events")
