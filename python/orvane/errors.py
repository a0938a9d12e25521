"""The exceptions of the orvane package."""


class OrvaneError(Exception):
    """A reply of {"ok": false}: the message is the reply's "error" text."""


class LibraryNotFoundError(OrvaneError):
    """A shared library could not be loaded; names the library and every place tried."""

    def __init__(self, library, places, reasons):
        self.library = library
        self.places = list(places)
        self.reasons = list(reasons)
        lines = [f"cannot load {library}; looked in:"]
        lines += [f"  {place}: {reason}" for place, reason in zip(self.places, self.reasons)]
        super().__init__("\n".join(lines))
