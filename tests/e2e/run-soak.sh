#!/usr/bin/env bash
# Soak of the real padquiltkanalt.exe under wine: thousands of random key
# events (keypad, letters, Shift, Ctrl, arrows, back-space) typed with xdotool
# into the settings dialog's test field, in kana toggle mode and in 2-touch
# mode. Afterwards the program must still run, its hook must still turn
# keypad keys into text, no key may be left held down, and the registry
# settings written before the start must be unchanged.
#
# Usage: tests/e2e/run-soak.sh PADQUILTKANALT.EXE PQK_PROBE.EXE PQK_KEYSTATE.EXE OUTPUT_DIR
#        (PQK_SOAK_EVENTS sets the events per mode, default 1200)
set -uo pipefail

if [ $# -ne 4 ]; then
  echo "usage: $0 PADQUILTKANALT.EXE PQK_PROBE.EXE PQK_KEYSTATE.EXE OUTPUT_DIR" >&2
  exit 2
fi
exe=$(realpath "$1")
probe_exe=$(realpath "$2")
keystate_exe=$(realpath "$3")
mkdir -p "$4"
out=$(cd "$4" && pwd)
events_per_mode=${PQK_SOAK_EVENTS:-1200}
source "$(dirname "$0")/e2e-common.sh"

# Keys of a random stream, the keypad weighted so that most events are its.
keypad=(1 2 3 4 5 6 7 8 9 0 F8 F9)
others=(a e k s t n z q shift+a shift+k ctrl+a ctrl+z Left Right Up Down BackSpace
  shift+Left ctrl+End Home)
RANDOM=2718  # the same stream on every run

random_keys() {  # COUNT: prints COUNT key names
  local i
  for ((i = 0; i < $1; i++)); do
    if ((RANDOM % 10 < 7)); then
      printf '%s\n' "${keypad[RANDOM % ${#keypad[@]}]}"
    else
      printf '%s\n' "${others[RANDOM % ${#others[@]}]}"
    fi
  done
}

# Waits until the test field's text stops changing: under load the program
# may still be working off the typed keys when xdotool returns.
settled_text() {
  local last current
  last=$(probe text settings "$IDC_TEST_FIELD")
  for _ in $(seq 40); do
    sleep 0.5
    current=$(probe text settings "$IDC_TEST_FIELD")
    [ "$current" = "$last" ] && break
    last=$current
  done
  printf '%s' "$last"
}

settings_snapshot() {
  printf 'Flag=%s Tout=%s Keymap=%s' "$(reg_value Flag)" "$(reg_value Tout)" \
    "$(wine reg query "$settings_key" /v Keymap 2>/dev/null | tr -d '\r' | grep -c Keymap)"
}

soak_mode() {  # NAME FLAG CHECK-KEYS EXPECTED-SUFFIX
  local name=$1 flag=$2 check_keys=$3 expected=$4
  wine reg delete "$settings_key" /f >/dev/null 2>&1
  wine reg add "$settings_key" /v Flag /t REG_DWORD /d "$flag" /f >/dev/null 2>&1
  wine reg add "$settings_key" /v Tout /t REG_DWORD /d 400 /f >/dev/null 2>&1
  local before
  before=$(settings_snapshot)

  start_app
  if ! probe wait-window 30000 || ! probe wait-dialog settings 15000; then
    fail "$name: the program did not start"
    return
  fi
  sleep 1
  local window_id x y
  window_id=$(xdotool search --name '^padquiltkana$' | head -n 1)
  xdotool windowfocus --sync "$window_id" 2>/dev/null || true
  read -r x y < <(probe center settings "$IDC_TEST_FIELD")
  xdotool mousemove "$x" "$y" click 1
  sleep 0.5

  log "$name: typing $events_per_mode random key events"
  mapfile -t keys < <(random_keys "$events_per_mode")
  local at
  for ((at = 0; at < ${#keys[@]}; at += 100)); do
    xdotool key --delay 6 "${keys[@]:at:100}"
  done
  sleep 1

  probe alive && pass "$name: the program keeps running after $events_per_mode events" ||
    fail "$name: the program stopped answering"
  local held
  held=$(wine "$keystate_exe" 2>/dev/null | tr -d '\r' | tr '\n' ' ')
  [ -z "$held" ] && pass "$name: no key is left held down" || fail "$name: keys held down: $held"

  # Ctrl (an unmapped key) ends any running input and End puts the caret at
  # the end; the hook must still turn the keypad keys into their text.
  xdotool key ctrl+End
  sleep 0.3
  local text_before text_after
  text_before=$(settled_text)
  xdotool key --delay 150 $check_keys
  sleep 1
  text_after=$(settled_text)
  if [ "${text_after,,}" = "${text_before,,}$expected" ]; then
    pass "$name: the hook still types: keys '$check_keys' gave '$expected'"
  else
    fail "$name: keys '$check_keys' changed the text from '${text_before: -12}' to '${text_after: -12}'"
  fi

  [ "$(settings_snapshot)" = "$before" ] && pass "$name: the stored settings are unchanged" ||
    fail "$name: settings changed while running: $(settings_snapshot) (before: $before)"
  wine "$exe" -c >/dev/null 2>&1
  probe wait-gone 10000 || fail "$name: -c did not end the program"
  wait "$app_pid" 2>/dev/null
  app_pid=
  [ "$(settings_snapshot)" = "$before" ] && pass "$name: the stored settings are unchanged at the end" ||
    fail "$name: settings changed at the end: $(settings_snapshot) (before: $before)"
}

# Kana toggle mode with auto-advance; wine has no Japanese IME, so slot 5
# (letters) applies: key 2 gives a.
soak_mode "kana toggle" 0x41c0 "2" "a"
# 2-touch mode, slot 0: keys 2 then 1 give か, typed as k a.
soak_mode "2-touch" 0x4108 "2 1" "ka"

if [ "$failures" -ne 0 ]; then
  echo "soak: $failures check(s) failed"
  exit 1
fi
echo "soak: all checks passed"
