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

import sys
import threading
import time

from e2e_desktop import (TIMEOUT_S, EntryWindow, Fcitx, GLib, Gio, Gtk, NotificationService,
                         XKeyboard, wait_until)


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

def expand_keys(keys):
    for key in keys:
        if key.startswith("keypad:"):
            for label in key[len("keypad:"):]:
                if label != " ":
                    yield KEYPAD_NAMES.get(label, "KP_" + label)
        else:
            yield key


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
        fcitx.set_settings(dict(DEFAULT_SETTINGS, **settings))
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
    fcitx.set_settings(dict(DEFAULT_SETTINGS, KeymapPath=broken_keymap))
    found = notifications.wait_for_body(lambda summary, body: broken_keymap in body)
    fcitx.set_settings(DEFAULT_SETTINGS)
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
