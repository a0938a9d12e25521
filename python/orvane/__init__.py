"""Python bindings of OrvaneNative, with ctypes only.

    import orvane
    native = orvane.load()            # by soname; or orvane.load("/opt/orvane/lib")
    native.desktop.reset()            # the simulated Mac: default scene, manual clock
    native.call("start")
    native.desktop.advance(0.5)
    for event in native.events(): ...

A failed reply raises OrvaneError carrying the library's message.
"""
from .desktop import Desktop
from .errors import LibraryNotFoundError, OrvaneError
from .loader import DESKTOP_SONAME, NATIVE_SONAME
from .native import Orvane

__all__ = ["load", "Orvane", "Desktop", "OrvaneError", "LibraryNotFoundError",
           "NATIVE_SONAME", "DESKTOP_SONAME"]


def load(location=None):
    """Loads libOrvaneNative from location (a folder or the library's path), else by soname."""
    return Orvane(location)
