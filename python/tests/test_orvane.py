"""The orvane package against a built or installed OrvaneNative.

ORVANE_LIBRARY_DIR names the folder holding the libraries; without it the
package finds them itself (beside an installed package, else by soname).
"""
import os
import re
import tempfile
import threading
import unittest

import orvane

LOCATION = os.environ.get("ORVANE_LIBRARY_DIR") or None
SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
MISSING_APP = {"id": "com.example.gone", "name": "Gone", "path": "/Applications/Gone.app"}


def running_ids(desktop):
    return [app["bundleId"] for app in desktop.verb("state")["state"]["running"]]


class SessionTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.native = orvane.load(LOCATION)

    def setUp(self):
        self.native.desktop.reset()
        self.native.call("start")
        self.addCleanup(self.native.call, "stop")

    def test_a_command_returns_its_data(self):
        snapshot = self.native.call("snapshot")
        self.assertIn("visible", snapshot)
        self.assertIsInstance(snapshot["trusted"], bool)

    def test_a_failed_reply_raises_with_the_librarys_message(self):
        with self.assertRaises(orvane.OrvaneError) as caught:
            self.native.call("Start")
        self.assertEqual(str(caught.exception), "未知原生操作")

    def test_another_thread_is_refused(self):
        errors = []

        def off_main():
            try:
                self.native.call("snapshot")
            except orvane.OrvaneError as error:
                errors.append(str(error))

        thread = threading.Thread(target=off_main)
        thread.start()
        thread.join()
        self.assertEqual(errors, ["主线程要求"])

    def test_events_drain(self):
        self.native.call("launch", **MISSING_APP)
        self.native.desktop.advance(0.5)
        events = self.native.events()
        self.assertEqual([event["kind"] for event in events], ["error"])
        self.assertIn("Gone", events[0]["message"])
        self.assertEqual(self.native.events(), [])

    def test_a_verb_moves_the_simulated_mac(self):
        desktop = self.native.desktop
        self.assertIn("com.apple.Safari", running_ids(desktop))
        desktop.verb("quit com.apple.Safari")
        desktop.advance(0.5)
        self.assertNotIn("com.apple.Safari", running_ids(desktop))
        running = [app["id"] for app in self.native.call("snapshot")["running"]]
        self.assertNotIn("com.apple.Safari", running)

    def test_a_failed_verb_raises_with_its_message(self):
        with self.assertRaises(orvane.OrvaneError) as caught:
            self.native.desktop.verb("launch com.example.nowhere")
        self.assertIn("com.example.nowhere", str(caught.exception))

    def test_advance_moves_the_manual_clock(self):
        before = self.native.desktop.verb("state")["state"]["now"]
        self.native.desktop.advance(2)
        self.assertAlmostEqual(self.native.desktop.verb("state")["state"]["now"], before + 2)

    def test_a_scene_replaces_the_mac(self):
        self.native.desktop.reset({"apps": [{"bundleId": "com.example.only", "name": "Only",
                                             "path": "/Applications/Only.app", "running": True}]})
        self.assertIn("com.example.only", running_ids(self.native.desktop))
        with self.assertRaises(orvane.OrvaneError):
            self.native.desktop.reset("[1]")

    def test_a_screenshot_is_a_png(self):
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "screen.png")
            self.native.desktop.screenshot(path)
            with open(path, "rb") as picture:
                self.assertEqual(picture.read(8), b"\x89PNG\r\n\x1a\n")


class LoadingTest(unittest.TestCase):
    def test_a_missing_folder_names_the_library_and_the_place(self):
        with tempfile.TemporaryDirectory() as folder:
            with self.assertRaises(orvane.LibraryNotFoundError) as caught:
                orvane.load(folder)
        message = str(caught.exception)
        self.assertIn(orvane.NATIVE_SONAME, message)
        self.assertIn(os.path.join(folder, orvane.NATIVE_SONAME), message)
        self.assertIsInstance(caught.exception, orvane.OrvaneError)

    def test_a_missing_file_names_it(self):
        path = os.path.join(tempfile.gettempdir(), "no-such-dir", "libOrvaneNative.so.0")
        with self.assertRaises(orvane.LibraryNotFoundError) as caught:
            orvane.load(path)
        self.assertIn(path, str(caught.exception))

    def test_the_librarys_own_path_loads(self):
        native = orvane.load(LOCATION)
        again = orvane.load(native.path)
        self.assertEqual(again.call("snapshot").keys(), native.call("snapshot").keys())


class VersionTest(unittest.TestCase):
    def test_the_package_version_is_the_headers(self):
        with open(os.path.join(SOURCE, "include", "orvane.h"), encoding="utf-8") as header:
            version = re.search(r'#define ORVANE_VERSION_STRING "([^"]+)"', header.read()).group(1)
        with open(os.path.join(SOURCE, "python", "pyproject.toml"), encoding="utf-8") as project:
            self.assertIn(f'version = "{version}"', project.read())


if __name__ == "__main__":
    unittest.main()
