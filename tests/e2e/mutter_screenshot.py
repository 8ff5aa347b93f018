#!/usr/bin/python3
"""Takes a screenshot under mutter, which has no X root window to read: one frame of its monitor through
its screen-cast service and PipeWire, without the pointer, written as PNG.

  mutter_screenshot.py <file.png>

Needs the session bus that mutter runs on, PipeWire with WirePlumber, python3-dbus, python3-gi and
GStreamer's PipeWire source."""
import subprocess
import sys

import dbus
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

SERVICE = "org.gnome.Mutter.ScreenCast"


def main(out):
    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    cast = dbus.Interface(bus.get_object(SERVICE, "/org/gnome/Mutter/ScreenCast"), SERVICE)
    session_path = cast.CreateSession(dbus.Dictionary({}, signature="sv"))
    session = dbus.Interface(bus.get_object(SERVICE, session_path), SERVICE + ".Session")
    stream_path = session.RecordMonitor("", dbus.Dictionary({"cursor-mode": dbus.UInt32(0)}, signature="sv"))
    loop = GLib.MainLoop()
    nodes = []

    def stream_added(node):
        nodes.append(int(node))
        loop.quit()

    bus.add_signal_receiver(stream_added, signal_name="PipeWireStreamAdded", dbus_interface=SERVICE + ".Stream",
                            path=stream_path)
    session.Start()
    GLib.timeout_add_seconds(10, loop.quit)
    loop.run()
    try:
        if not nodes:
            sys.exit("mutter_screenshot: mutter offered no stream")
        # Mutter sends a frame when the stream starts and then only when the screen changes: take the first.
        return subprocess.call(["gst-launch-1.0", "-q", "pipewiresrc", f"path={nodes[0]}", "num-buffers=1", "!",
                                "videoconvert", "!", "pngenc", "snapshot=true", "!", "filesink", f"location={out}"],
                               timeout=30)
    finally:
        session.Stop()


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1]))
