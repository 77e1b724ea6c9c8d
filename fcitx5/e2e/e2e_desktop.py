"""The desktop that the add-on's end-to-end run types on.

Real key events through the X server's XTEST extension, the GTK3 entry and
what it shows, fcitx5's controller on the session bus, and a stand-in for
the desktop's notification service that keeps what it is sent.
"""

import ctypes
import threading
import time

import gi

gi.require_version("Gtk", "3.0")
gi.require_version("GdkX11", "3.0")
# GdkX11 gives GTK windows their X window id (get_xid).
from gi.repository import Gio, GLib, Gtk, GdkX11  # noqa: E402,F401

TIMEOUT_S = 8.0

NOTIFICATIONS_XML = """
<node><interface name="org.freedesktop.Notifications">
  <method name="GetCapabilities"><arg direction="out" type="as"/></method>
  <method name="Notify">
    <arg type="s"/><arg type="u"/><arg type="s"/><arg type="s"/><arg type="s"/>
    <arg type="as"/><arg type="a{sv}"/><arg type="i"/><arg direction="out" type="u"/>
  </method>
  <method name="CloseNotification"><arg type="u"/></method>
  <method name="GetServerInformation">
    <arg direction="out" type="s"/><arg direction="out" type="s"/>
    <arg direction="out" type="s"/><arg direction="out" type="s"/>
  </method>
  <signal name="NotificationClosed"><arg type="u"/><arg type="u"/></signal>
  <signal name="ActionInvoked"><arg type="u"/><arg type="s"/></signal>
</interface></node>
"""


class Failure(Exception):
    """A step of the run that could not be done."""


class XKeyboard:
    """Real key events through XTEST, by key code."""

    def __init__(self):
        self.x11 = ctypes.CDLL("libX11.so.6")
        self.xtst = ctypes.CDLL("libXtst.so.6")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XStringToKeysym.restype = ctypes.c_ulong
        self.x11.XStringToKeysym.argtypes = [ctypes.c_char_p]
        self.x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        self.x11.XKeysymToKeycode.restype = ctypes.c_ubyte
        self.x11.XFlush.argtypes = [ctypes.c_void_p]
        self.x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self.x11.XSetInputFocus.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int,
                                            ctypes.c_ulong]
        self.x11.XkbLockModifiers.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_uint,
                                              ctypes.c_uint]
        self.xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int,
                                                ctypes.c_ulong]
        self.display = self.x11.XOpenDisplay(None)
        if not self.display:
            raise Failure("cannot open the X display")
        # NumLock on, as the keypad needs it; locked without a key event.
        num_lock = 0x10  # Mod2Mask
        self.x11.XkbLockModifiers(self.display, 0x100, num_lock, num_lock)
        self.x11.XSync(self.display, 0)

    def focus(self, xid):
        self.x11.XSetInputFocus(self.display, xid, 2, 0)  # RevertToParent, CurrentTime
        self.x11.XSync(self.display, 0)

    def code(self, name):
        keysym = self.x11.XStringToKeysym(name.encode())
        code = self.x11.XKeysymToKeycode(self.display, keysym) if keysym else 0
        if code == 0:
            raise Failure(f"the X keyboard has no key {name}")
        return code

    def send(self, code, press):
        self.xtst.XTestFakeKeyEvent(self.display, code, 1 if press else 0, 0)
        self.x11.XSync(self.display, 0)
        time.sleep(0.02)

    def press(self, chord):
        """Presses and releases a key or a chord such as ctrl+space."""
        names = {"ctrl": "Control_L", "shift": "Shift_L", "alt": "Alt_L"}
        codes = [self.code(names.get(part, part)) for part in chord.split("+")]
        for code in codes:
            self.send(code, True)
        for code in reversed(codes):
            self.send(code, False)


class EntryWindow:
    """The GTK3 entry and what it shows, read from any thread."""

    def __init__(self):
        self.condition = threading.Condition()
        self.text = ""
        self.preedit = ""
        self.window = Gtk.Window(title="padquiltkana e2e")
        self.entry = Gtk.Entry()
        self.entry.connect("changed", self.on_changed)
        self.entry.connect("preedit-changed", self.on_preedit)
        self.window.add(self.entry)
        self.window.show_all()

    def on_changed(self, entry):
        with self.condition:
            self.text = entry.get_text()
            self.condition.notify_all()

    def on_preedit(self, _entry, preedit):
        with self.condition:
            self.preedit = preedit
            self.condition.notify_all()

    def xid(self):
        return run_on_main(lambda: self.window.get_window().get_xid())

    def is_active(self):
        return run_on_main(lambda: self.window.is_active() and self.entry.has_focus())

    def clear(self):
        run_on_main(lambda: self.entry.set_text(""))

    def wait_for(self, text, timeout=TIMEOUT_S):
        """Waits until the entry shows `text` with no composition left."""
        deadline = time.monotonic() + timeout
        with self.condition:
            while self.text != text or self.preedit != "":
                left = deadline - time.monotonic()
                if left <= 0:
                    return False
                self.condition.wait(left)
        return True

    def shows(self):
        with self.condition:
            return f"text {self.text!r}, composition {self.preedit!r}"


def run_on_main(function):
    """Runs `function` on the GTK thread and returns its result."""
    done = threading.Event()
    result = {}

    def call():
        try:
            result["value"] = function()
        except Exception as error:  # handed to the caller
            result["error"] = error
        done.set()
        return False

    GLib.idle_add(call)
    if not done.wait(TIMEOUT_S):
        raise Failure("the GTK main loop does not answer")
    if "error" in result:
        raise result["error"]
    return result["value"]


class Fcitx:
    """fcitx5's controller on the session bus."""

    def __init__(self):
        self.bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)

    def call(self, method, parameters=None, reply="()"):
        result = self.bus.call_sync(
            "org.fcitx.Fcitx5", "/controller", "org.fcitx.Fcitx.Controller1", method,
            parameters, GLib.VariantType(reply), Gio.DBusCallFlags.NONE, 5000, None)
        return result.unpack()

    def set_settings(self, values):
        """Sets the add-on's settings as the configuration tool does."""
        config = GLib.Variant("a{sv}", {k: GLib.Variant("s", v) for k, v in values.items()})
        self.call("SetConfig", GLib.Variant("(sv)", ("fcitx://config/addon/padquiltkana",
                                                     config)))

    def current_input_method(self):
        return self.call("CurrentInputMethod", reply="(s)")[0]

    def use_input_method(self, name):
        self.call("SetCurrentIM", GLib.Variant("(s)", (name,)))


class NotificationService:
    """Answers as the desktop's notification service; keeps what it is sent."""

    def __init__(self, bus):
        self.condition = threading.Condition()
        self.bodies = []
        info = Gio.DBusNodeInfo.new_for_xml(NOTIFICATIONS_XML)
        bus.register_object("/org/freedesktop/Notifications", info.interfaces[0],
                            self.on_call, None, None)
        Gio.bus_own_name_on_connection(bus, "org.freedesktop.Notifications",
                                       Gio.BusNameOwnerFlags.NONE, None, None)

    def on_call(self, _bus, _sender, _path, _interface, method, parameters, invocation):
        if method == "GetCapabilities":
            invocation.return_value(GLib.Variant("(as)", (["body"],)))
        elif method == "GetServerInformation":
            invocation.return_value(GLib.Variant("(ssss)", ("e2e", "padquiltkana", "1", "1.2")))
        elif method == "Notify":
            _app, _replaces, _icon, summary, body = parameters.unpack()[:5]
            with self.condition:
                self.bodies.append((summary, body))
                self.condition.notify_all()
            invocation.return_value(GLib.Variant("(u)", (len(self.bodies),)))
        else:
            invocation.return_value(None)

    def wait_for_body(self, predicate, timeout=TIMEOUT_S):
        deadline = time.monotonic() + timeout
        with self.condition:
            while not any(predicate(summary, body) for summary, body in self.bodies):
                left = deadline - time.monotonic()
                if left <= 0:
                    return None
                self.condition.wait(left)
            return [(s, b) for s, b in self.bodies if predicate(s, b)][0]


def wait_until(what, check, timeout=TIMEOUT_S):
    deadline = time.monotonic() + timeout
    while not check():
        if time.monotonic() > deadline:
            raise Failure(f"timed out waiting for {what}")
        time.sleep(0.05)
