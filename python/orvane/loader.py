"""Finds and loads the two shared libraries with ctypes.

A location is a folder holding the libraries or the path of
libOrvaneNative itself. Without one, the folder this package is installed in
(<prefix>/lib/python/orvane gives <prefix>/lib) comes first when it holds the
library, then the dynamic linker's own search by soname, as a host loading
the library from its bundle would do.
"""
import ctypes
import os

from .errors import LibraryNotFoundError

NATIVE_SONAME = "libOrvaneNative.so.0"
DESKTOP_SONAME = "libOrvaneDesktop.so.0"

# <prefix>/lib/python/orvane/loader.py -> <prefix>/lib
_INSTALLED_LIBDIR = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def library_folder(location):
    """The folder a location names: itself when a folder, else the file's folder."""
    if location is None:
        return None
    location = os.fspath(location)
    return location if os.path.isdir(location) else os.path.dirname(location)


def _candidates(soname, location):
    """(what to hand to dlopen, how to describe it) in the order to try."""
    if location is not None:
        location = os.fspath(location)
        if not os.path.isdir(location) and soname == NATIVE_SONAME:
            return [(location, location)]
        folder = library_folder(location)
        return [(os.path.join(folder, soname), os.path.join(folder, soname))]
    installed = os.path.join(_INSTALLED_LIBDIR, soname)
    search = "the dynamic linker's search path (LD_LIBRARY_PATH={}, ld.so.cache, the system folders)".format(
        os.environ.get("LD_LIBRARY_PATH", "unset"))
    found = [(installed, installed)] if os.path.exists(installed) else []
    return found + [(soname, search)]


def load_library(soname, location=None):
    """Loads soname from location (see the module's text); raises LibraryNotFoundError."""
    places, reasons = [], []
    for target, place in _candidates(soname, location):
        try:
            return ctypes.CDLL(target)
        except OSError as error:
            places.append(place)
            reasons.append(str(error))
    if not places:
        places, reasons = [str(location)], ["not a library"]
    raise LibraryNotFoundError(soname, places, reasons)
