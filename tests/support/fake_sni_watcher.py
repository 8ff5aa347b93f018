#!/usr/bin/python3
"""A StatusNotifierWatcher with a host of its own, as a desktop panel has, for the tray tests.

It stands in for a panel where a test calls the item itself as a host would, without a display: it keeps
the watcher's name and properties, and reads the items that register as a host does. It writes one line to
standard output per event: "watching" once it has its name, "host" once a host is registered,
"item <service> <path>" when an item registers, "icon <service> <digest>" for each new picture (at
registration and after NewIcon).

  fake_sni_watcher.py [--host-after SECONDS]

With --host-after the watcher is there at once but reports its host only after that delay, as a panel that
starts its tray late.
"""
import argparse
import hashlib
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

WATCHER = "org.kde.StatusNotifierWatcher"
ITEM = "org.kde.StatusNotifierItem"

# Written out because Qt reads the watcher's properties through its introspection, and dbus-python's own
# introspection leaves properties out.
INTROSPECTION = """<node>
 <interface name="org.kde.StatusNotifierWatcher">
  <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
  <method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
  <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
  <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
  <property name="ProtocolVersion" type="i" access="read"/>
  <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
  <signal name="StatusNotifierItemUnregistered"><arg type="s"/></signal>
  <signal name="StatusNotifierHostRegistered"/>
  <signal name="StatusNotifierHostUnregistered"/>
 </interface>
 <interface name="org.freedesktop.DBus.Properties">
  <method name="Get">
   <arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="v" direction="out"/>
  </method>
  <method name="GetAll"><arg type="s" direction="in"/><arg type="a{sv}" direction="out"/></method>
 </interface>
 <interface name="org.freedesktop.DBus.Introspectable">
  <method name="Introspect"><arg type="s" direction="out"/></method>
 </interface>
</node>"""


def say(*words):
    print(*words, flush=True)


class Watcher(dbus.service.Object):
    def __init__(self, bus):
        self.bus = bus
        self.items = []
        self.host = False
        super().__init__(dbus.service.BusName(WATCHER, bus), "/StatusNotifierWatcher")
        bus.add_signal_receiver(self.on_new_icon, signal_name="NewIcon", dbus_interface=ITEM,
                                sender_keyword="sender")

    def register_host(self):
        self.host = True
        self.StatusNotifierHostRegistered()
        say("host")
        return False

    @dbus.service.method(WATCHER, in_signature="s", sender_keyword="sender")
    def RegisterStatusNotifierItem(self, service, sender=None):
        # An item names either its bus name or, from some toolkits, its object path.
        name, path = (sender, service) if service.startswith("/") else (service, "/StatusNotifierItem")
        self.items.append(f"{name}{path}")
        say("item", name, path)
        self.StatusNotifierItemRegistered(f"{name}{path}")
        GLib.idle_add(self.read_icon, name, path)

    @dbus.service.method(WATCHER, in_signature="s")
    def RegisterStatusNotifierHost(self, service):
        pass

    @dbus.service.signal(WATCHER, signature="s")
    def StatusNotifierItemRegistered(self, service):
        pass

    @dbus.service.signal(WATCHER, signature="s")
    def StatusNotifierItemUnregistered(self, service):
        pass

    @dbus.service.signal(WATCHER, signature="")
    def StatusNotifierHostRegistered(self):
        pass

    @dbus.service.method(dbus.INTROSPECTABLE_IFACE, in_signature="", out_signature="s")
    def Introspect(self):
        return INTROSPECTION

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
    def Get(self, interface, prop):
        return self.GetAll(interface)[prop]

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="s", out_signature="a{sv}")
    def GetAll(self, interface):
        return {
            "RegisteredStatusNotifierItems": dbus.Array(self.items, signature="s"),
            "IsStatusNotifierHostRegistered": dbus.Boolean(self.host),
            "ProtocolVersion": dbus.Int32(0),
        }

    def on_new_icon(self, sender=None):
        self.read_icon(sender, "/StatusNotifierItem")

    def read_icon(self, name, path):
        item = self.bus.get_object(name, path)
        pixmaps = item.Get(ITEM, "IconPixmap", dbus_interface=dbus.PROPERTIES_IFACE)
        digest = hashlib.sha1()
        for width, height, data in pixmaps:
            digest.update(f"{width}x{height}".encode())
            digest.update(bytes(data))
        say("icon", name, digest.hexdigest()[:12])
        return False


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--host-after", type=float, default=0)
    args = parser.parse_args()
    DBusGMainLoop(set_as_default=True)
    watcher = Watcher(dbus.SessionBus())
    say("watching")
    if args.host_after > 0:
        GLib.timeout_add(int(args.host_after * 1000), watcher.register_host)
    else:
        watcher.register_host()
    GLib.MainLoop().run()


if __name__ == "__main__":
    sys.exit(main())
