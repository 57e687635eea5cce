#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Records documents as recently used through GTK's own recent manager, exactly as desktop
# applications do. Reads one path a line from standard input; answers "ok <path>" once GTK has
# written its bookmark file. Prints "ready" when it can take paths.
import sys

import gi

gi.require_version("Gtk", "3.0")
from gi.repository import GLib, Gtk  # noqa: E402

Gtk.init([])
manager = Gtk.RecentManager.get_default()
pending = []


def on_changed(_manager):
    # The manager writes its file before the handlers of "changed" run.
    while pending:
        print("ok " + pending.pop(0), flush=True)


def on_input(_channel, _condition):
    line = sys.stdin.readline()
    if not line:
        Gtk.main_quit()
        return False
    path = line.rstrip("\n")
    data = Gtk.RecentData()
    data.mime_type = "text/plain"
    data.app_name = "vendle-test"
    data.app_exec = "vendle-test %u"
    pending.append(path)
    if not manager.add_full(GLib.filename_to_uri(path, None), data):
        pending.remove(path)
        print("failed " + path, flush=True)
    return True


manager.connect("changed", on_changed)
GLib.io_add_watch(GLib.IOChannel.unix_new(0), GLib.PRIORITY_DEFAULT, GLib.IO_IN | GLib.IO_HUP, on_input)
print("ready", flush=True)
Gtk.main()
