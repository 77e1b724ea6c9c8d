#!/usr/bin/python3
"""The add-on end to end: a GTK3 entry typed into through fcitx5 and mozc.

Runs inside the session that run-e2e.sh sets up (Xvfb, a private D-Bus
session, fcitx5 with mozc and the add-on). One GTK3 window holds the entry;
a driver thread presses real keys through the X server's XTEST extension
(by key code, with NumLock locked on, so the numeric keypad sends its digits
as a user's keypad does), sets the add-on's settings through fcitx5's D-Bus
configuration interface (as its configuration tool does) and reads the
entry's text back. The same process answers as the desktop's notification
service, to see the add-on's message about a broken keymap.

Usage: fcitx5_e2e.py BROKEN_KEYMAP FCITX5_LOG
"""

import ctypes
import sys
import threading
import time

import gi

gi.require_version("Gtk", "3.0")
gi.require_version("GdkX11", "3.0")
from gi.repository import Gio, GLib, Gtk, GdkX11  # noqa: E402

TIMEOUT_S = 8.0

# One table of scenarios: the settings (input mode and options as the add-on
# stores them), how the IME is put before the keys, the keys, the text the
# entry must show. Keys: a string of keypad keys ("2", "*", "#", ">" for the
# right arrow), an X key name ("Return" commits mozc's composition) or a
# pause in seconds ("wait:0.6").
SCENARIOS = [
    # (name, settings, IME, keys, expected text)
    ("kana toggle: こんにちは", {"InputMode": "KanaToggle"}, "hiragana",
     ["keypad:22222 000 55 44 6", "Return"], "こんにちは"),
    ("2-touch pairs: こんにちは", {"InputMode": "TwoTouch"}, "hiragana",
     ["keypad:25 03 52 42 61", "Return"], "こんにちは"),
    ("post-conversion with *: は → ば → ぱ", {"InputMode": "KanaToggle"}, "hiragana",
     ["keypad:6**", "Return"], "ぱ"),
    ("right arrow confirms the toggle: か か", {"InputMode": "KanaToggle"}, "hiragana",
     ["keypad:2>2", "Return"], "かか"),
    ("自動送り: the key events' times end a toggle after 300 ms",
     {"InputMode": "KanaToggle", "AutoAdvance": "True", "Timeout": "300"}, "hiragana",
     ["keypad:22", "wait:0.6", "keypad:2", "Return"], "きか"),
    ("digit row as keypad (テンキーを使う off)",
     {"InputMode": "KanaToggle", "NumericKeypad": "False"}, "hiragana",
     ["2", "2", "Return"], "き"),
    ("alphanumeric slot, fcitx5 on the keyboard layout (Ctrl+Space)",
     {"InputMode": "KanaToggle"}, "keyboard", ["keypad:22>3"], "bd"),
    ("alphanumeric slot, mozc in half-width alphanumeric (Shift+Muhenkan)",
     {"InputMode": "KanaToggle"}, "alphanumeric", ["keypad:22>3", "Return"], "bd"),
]

KEYPAD_NAMES = {"*": "KP_Multiply", "#": "KP_Decimal", ">": "Right"}

# The labels the configuration tool shows: the Windows dialogs' words.
SETTING_LABELS = [
    "入力方式", "無し", "かな入力・トグル式", "2タッチ(ポケベル)入力", "自動送り",
    "後変換/逆トグル後も自動送りする", "自動CapsLock", "ニコタッチ風", "IME制御(Atok/Wnn用)",
    "[クリア]キーで2タッチの一打目を取り消す", "テンキーを使う",
]

DEFAULT_SETTINGS = {
    "InputMode": "KanaToggle", "AutoAdvance": "False", "Timeout": "1000",
    "AdvanceAfterStep": "False", "AutoCapsLock": "True", "NicoTouch": "False",
    "ImeControl": "False", "ClearCancelsStroke": "True", "NumericKeypad": "True",
    "KeymapPath": "",
}

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
    pass


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


def expand_keys(keys):
    for key in keys:
        if key.startswith("keypad:"):
            for label in key[len("keypad:"):]:
                if label != " ":
                    yield KEYPAD_NAMES.get(label, "KP_" + label)
        else:
            yield key


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

    def set_settings(self, settings):
        values = dict(DEFAULT_SETTINGS, **settings)
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


def put_ime(fcitx, keyboard, ime):
    """mozc in hiragana first, then the scenario's IME state by the user's keys."""
    fcitx.use_input_method("mozc")
    wait_until("mozc to be the input method", lambda: fcitx.current_input_method() == "mozc")
    if ime == "keyboard":
        keyboard.press("ctrl+space")  # fcitx5's own switch
        wait_until("the keyboard layout to be the input method",
                   lambda: fcitx.current_input_method() == "keyboard-us")
    elif ime == "alphanumeric":
        keyboard.press("shift+Muhenkan")


def restore_ime(keyboard, ime):
    if ime == "alphanumeric":
        keyboard.press("shift+Muhenkan")  # back to hiragana


def run_scenarios(entry, keyboard, fcitx):
    failures = []
    for name, settings, ime, keys, expected in SCENARIOS:
        fcitx.set_settings(settings)
        put_ime(fcitx, keyboard, ime)
        entry.clear()
        if not entry.wait_for(""):
            failures.append(f"{name}: the entry did not clear ({entry.shows()})")
            continue
        for key in expand_keys(keys):
            if key.startswith("wait:"):
                time.sleep(float(key[len("wait:"):]))
            else:
                keyboard.press(key)
        if entry.wait_for(expected):
            print(f"ok   {name}: {expected}")
        else:
            failures.append(f"{name}: expected {expected!r}, the entry shows {entry.shows()}")
            print(f"FAIL {failures[-1]}")
        restore_ime(keyboard, ime)
    return failures


def check_labels(fcitx):
    """The configuration tool's view of the settings names them as Windows does."""
    _values, description = fcitx.call(
        "GetConfig", GLib.Variant("(s)", ("fcitx://config/addon/padquiltkana",)),
        reply="(va(sa(sssva{sv})))")
    shown = str(description)
    missing = [label for label in SETTING_LABELS if label not in shown]
    if missing:
        return [f"configuration labels missing: {missing}"]
    print("ok   configuration labels: " + ", ".join(SETTING_LABELS))
    return []


def check_broken_keymap(fcitx, notifications, broken_keymap, log_path):
    """A broken keymap's messages, each with its line, in the log and a notification."""
    fcitx.set_settings({"KeymapPath": broken_keymap})
    found = notifications.wait_for_body(lambda summary, body: broken_keymap in body)
    fcitx.set_settings({})
    if found is None:
        return [f"no notification about {broken_keymap}"]
    summary, body = found
    lines = body.split("\n")[1:]
    failures = []
    if summary != "padquiltkana" or not lines or not all("行:" in line for line in lines):
        failures.append(f"notification {summary!r}: {body!r} does not list the lines")
    with open(log_path, encoding="utf-8", errors="replace") as log:
        logged = log.read()
    missing = [line for line in lines if line not in logged]
    if missing:
        failures.append(f"fcitx5's log lacks {missing}")
    if not failures:
        print(f"ok   broken keymap reported: {lines}")
    return failures


def drive(entry, notifications, broken_keymap, log_path, outcome):
    try:
        keyboard = XKeyboard()
        fcitx = Fcitx()
        wait_until("the GTK window to map", lambda: entry.xid() != 0)
        xid = entry.xid()
        keyboard.focus(xid)
        wait_until("the entry to have the keyboard focus", entry.is_active)
        # fcitx5 has the entry's input context once it reports it focused.
        wait_until("fcitx5 to see the entry focused",
                   lambda: "focus:1" in fcitx.call("DebugInfo", reply="(s)")[0])
        failures = check_labels(fcitx)
        failures += run_scenarios(entry, keyboard, fcitx)
        failures += check_broken_keymap(fcitx, notifications, broken_keymap, log_path)
        outcome["failures"] = failures
    except Exception as error:  # reported as a failure of the run
        outcome["failures"] = [f"{type(error).__name__}: {error}"]
    finally:
        GLib.idle_add(Gtk.main_quit)


def main():
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    broken_keymap, log_path = sys.argv[1], sys.argv[2]
    entry = EntryWindow()
    notifications = NotificationService(Gio.bus_get_sync(Gio.BusType.SESSION, None))
    outcome = {}
    driver = threading.Thread(
        target=drive, args=(entry, notifications, broken_keymap, log_path, outcome), daemon=True)
    driver.start()
    Gtk.main()
    driver.join(TIMEOUT_S)
    failures = outcome.get("failures", ["the driver did not finish"])
    for failure in failures:
        print(f"FAIL {failure}", file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
