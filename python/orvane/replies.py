"""Reads the replies the libraries allocate and hand back as raw pointers."""
import ctypes
import json

from .errors import OrvaneError


def take_reply(pointer, release):
    """Decodes the NUL-terminated JSON reply at pointer and releases it exactly once."""
    if not pointer:
        raise OrvaneError("no reply (out of memory)")
    try:
        return json.loads(ctypes.string_at(pointer).decode("utf-8"))
    finally:
        release(pointer)


def checked(reply):
    """The reply itself when {"ok": true}; raises OrvaneError with its "error" otherwise."""
    if not isinstance(reply, dict) or reply.get("ok") is not True:
        message = reply.get("error") if isinstance(reply, dict) else None
        raise OrvaneError(message if isinstance(message, str) else f"unexpected reply: {reply!r}")
    return reply
