#!/usr/bin/env bash
# Soak: a compressed week of use of the real padquiltkanalt.exe under wine.
# In cycles, one running program gets thousands of random key events
# (keypad, letters, Shift, Ctrl, arrows, back-space) typed with xdotool into
# the settings dialog's test field, in kana toggle mode and, switched from
# the icon's menu, in 2-touch mode; its advanced and About dialogs and its
# settings are opened and closed hundreds of times; a good and a broken
# keymap are loaded through its file dialog (the broken one's message boxes
# dismissed) and the default keymap restored; and the taskbar's return
# (TaskbarCreated), display and setting changes are broadcast.
#
# The program's memory and open handles are measured after a first cycle,
# in the middle and at the end, from Linux (the wine process's VmRSS and open
# file descriptors) and from Windows (its windows, handles, GDI and USER
# objects and working set, as far as wine reports them), written to
# OUTPUT_DIR/soak-resources.txt; from the middle to the end they must stay
# flat. Afterwards the program must still run, its hook still turn keypad
# keys into text in both modes, no key may be left held down, and the
# registry settings written before the start must be unchanged.
#
# Usage: tests/e2e/run-soak.sh PADQUILTKANALT.EXE PQK_PROBE.EXE PQK_KEYSTATE.EXE OUTPUT_DIR
#        (PQK_SOAK_CYCLES sets the cycles after the first, default 6;
#        PQK_SOAK_EVENTS the key events per cycle, default 800;
#        pqk_soak_driver.exe is taken from beside the probe)
set -uo pipefail

if [ $# -ne 4 ]; then
  echo "usage: $0 PADQUILTKANALT.EXE PQK_PROBE.EXE PQK_KEYSTATE.EXE OUTPUT_DIR" >&2
  exit 2
fi
exe=$(realpath "$1")
probe_exe=$(realpath "$2")
keystate_exe=$(realpath "$3")
driver_exe=$(dirname "$probe_exe")/pqk_soak_driver.exe
mkdir -p "$4"
out=$(cd "$4" && pwd)
cycles=${PQK_SOAK_CYCLES:-6}
events_per_cycle=${PQK_SOAK_EVENTS:-800}
source "$(dirname "$0")/e2e-common.sh"

driver() { wine "$driver_exe" "$@" 2>/dev/null | tr -d '\r'; return "${PIPESTATUS[0]}"; }

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
    "$(wine reg query "$settings_key" /v Keymap 2>/dev/null | tr -d '\r' | awk '$1 == "Keymap" { print $3 }')"
}

focus_test_field() {
  local window_id x y
  window_id=$(xdotool search --name '^padquiltkana$' | head -n 1)
  [ -n "$window_id" ] && xdotool windowfocus --sync "$window_id" 2>/dev/null
  read -r x y < <(probe center settings "$IDC_TEST_FIELD") || return 1
  xdotool mousemove "$x" "$y" click 1
  sleep 0.3
}

type_random_keys() {  # COUNT
  local keys at
  mapfile -t keys < <(random_keys "$1")
  for ((at = 0; at < ${#keys[@]}; at += 100)); do
    xdotool key --delay 6 "${keys[@]:at:100}"
  done
}

# The icon's menu, by keyboard as a user would, with the program in the
# background (where wine shows the icon, the program's window would lie over
# it): 設定画面を表示, 無し, かな入力・トグル式, 2タッチ(ポケベル)入力 are 1 to
# 4 steps down. The program comes forward again afterwards.
tray_mode() {  # STEPS
  local icon_x icon_y status=0
  probe post-command "$IDM_HIDE" 0
  sleep 0.5
  if read -r icon_x icon_y < <(probe tray-icon); then
    xdotool mousemove "$icon_x" "$icon_y" click 3
    sleep 0.5
    if focus_menu; then
      local i
      for ((i = 0; i < $1; i++)); do xdotool key Down; done
      xdotool key Return
      sleep 0.5
    else
      status=1
    fi
  else
    status=1
  fi
  probe post-command "$IDM_TRAY_SHOW" 0
  probe wait-dialog settings 5000
  return "$status"
}
kana_mode=3
two_touch_mode=4

# The default keymap again, by "defaultに戻す" in the advanced dialog.
restore_default_keymap() {
  probe post-command "$IDM_ADVANCED" 0
  probe wait-dialog advanced 10000 || return 1
  read -r x y < <(probe center advanced "$IDC_DEFAULT_KEYMAP") || return 1
  xdotool mousemove "$x" "$y" click 1
  sleep 0.5
  [ -z "$(probe text advanced "$IDC_KEYMAP_PATH")" ] || return 1
  probe send advanced ok
  probe wait-dialog settings 10000
}

report=$out/soak-resources.txt
: >"$report"
measure() {  # LABEL
  local rss fds windows
  rss=$(awk '/^VmRSS/ { print $2 }' "/proc/$app_pid/status" 2>/dev/null)
  fds=$(ls "/proc/$app_pid/fd" 2>/dev/null | wc -l)
  windows=$(driver resources)
  printf '%s: vmrss_kb=%s fds=%s %s\n' "$1" "$rss" "$fds" "$windows" | tee -a "$report"
}
field() {  # LABEL NAME: a measured value
  grep "^$1:" "$report" | tr ' ' '\n' | awk -F= -v name="$2" '$1 == name { print $2 }'
}

good_keymap=$out/soak/good-keymap.txt
broken_keymap=$out/soak/broken-keymap.txt
mkdir -p "$out/soak"
cp "$(dirname "$exe")/defaultkeymap.txt" "$good_keymap"
# Two errors: a bell key with one action, and a keymap one key short.
cat >"$broken_keymap" <<'EOF'
keymap '\x00'
key '\x01'
char A
key '\x02'
EOF
good_keymap_windows=$(winepath -w "$good_keymap" 2>/dev/null | tr -d '\r')
broken_keymap_windows=$(winepath -w "$broken_keymap" 2>/dev/null | tr -d '\r')

openings=0
keymap_boxes=0
key_events=0
broadcasts=0
mode_switches=0
one_cycle() {  # NUMBER
  local count
  # The field starts empty each cycle, so that the text typed into it does not
  # count as the program's memory growing.
  probe set-text settings "$IDC_TEST_FIELD" ""
  focus_test_field || fail "cycle $1: no test field to type into"
  type_random_keys $((events_per_cycle / 2))
  tray_mode "$two_touch_mode" || fail "cycle $1: the icon's menu did not open"
  focus_test_field
  type_random_keys $((events_per_cycle / 2))
  tray_mode "$kana_mode" || fail "cycle $1: the icon's menu did not open"
  key_events=$((key_events + events_per_cycle))
  mode_switches=$((mode_switches + 2))
  count=$(driver dialogs 20) || fail "cycle $1: the dialogs did not open and close ($count)"
  openings=$((openings + ${count:-0}))
  count=$(driver load-keymap "$good_keymap_windows") && [ "$count" = 0 ] ||
    fail "cycle $1: the good keymap showed '$count' message boxes"
  count=$(driver load-keymap "$broken_keymap_windows") && [ "${count:-0}" -ge 1 ] ||
    fail "cycle $1: the broken keymap showed '$count' message boxes, one at a time expected"
  keymap_boxes=$((keymap_boxes + ${count:-0}))
  restore_default_keymap || fail "cycle $1: the default keymap did not come back"
  driver broadcast 10
  broadcasts=$((broadcasts + 10))
  log "cycle $1: $key_events key events, $openings dialog openings, $keymap_boxes keymap messages so far"
}

wine reg delete "$settings_key" /f >/dev/null 2>&1
wine reg add "$settings_key" /v Flag /t REG_DWORD /d 0x41c0 /f >/dev/null 2>&1
wine reg add "$settings_key" /v Tout /t REG_DWORD /d 400 /f >/dev/null 2>&1
before=$(settings_snapshot)
start_app
if ! probe wait-window 30000 || ! probe wait-dialog settings 15000; then
  fail "the program did not start"
  exit 1
fi
sleep 1

soak_start=$SECONDS
# A first cycle loads what the program loads once (the file dialog, fonts).
one_cycle 0
measure start
middle=$(((cycles + 1) / 2))
for ((cycle = 1; cycle <= cycles; cycle++)); do
  one_cycle "$cycle"
  [ "$cycle" = "$middle" ] && measure middle
done
measure end
log "soak: $((SECONDS - soak_start)) s for $key_events key events, $openings dialog openings," \
  "$((2 * (cycles + 1))) keymap loads ($keymap_boxes messages dismissed), $mode_switches mode" \
  "switches, $broadcasts broadcasts of each kind"

probe alive && pass "the program keeps running after a week of use" ||
  fail "the program stopped answering"

# Flat from the middle to the end: the same windows, file descriptors and
# handles (a few of wine's own may come and go), and memory within 5 %.
flat() {  # NAME TOLERANCE WHAT
  local middle_value end_value
  middle_value=$(field middle "$1")
  end_value=$(field end "$1")
  if [ -z "$middle_value" ] || [ -z "$end_value" ]; then
    fail "$3: not measured"
  elif [ $((end_value - middle_value)) -le "$2" ]; then
    pass "$3 stay flat: $(field start "$1") at the start, $middle_value in the middle, $end_value at the end"
  else
    fail "$3 grow: $(field start "$1") at the start, $middle_value in the middle, $end_value at the end"
  fi
}
flat windows 0 "the program's windows"
flat fds 3 "open file descriptors (Linux)"
# Wine counts no handles of another process (and has no GetGuiResources): a
# count of 0 says nothing, so only a real count is checked.
if [ "$(field middle handles)" = 0 ] && [ "$(field end handles)" = 0 ]; then
  log "open handles (Windows): wine does not count them; the Linux figures stand in"
else
  flat handles 10 "open handles (Windows)"
fi
rss_middle=$(field middle vmrss_kb)
flat vmrss_kb $((${rss_middle:-0} / 20)) "resident memory in KB (Linux)"
private_middle=$(field middle private_kb)
flat private_kb $((${private_middle:-0} / 20)) "private memory in KB (Windows)"

held=$(wine "$keystate_exe" 2>/dev/null | tr -d '\r' | tr '\n' ' ')
[ -z "$held" ] && pass "no key is left held down" || fail "keys held down: $held"

# Ctrl (an unmapped key) ends any running input and End puts the caret at
# the end; the hook must still turn the keypad keys into their text. Wine has
# no Japanese IME, so slot 5 (letters) applies in kana toggle mode: 2 gives
# a; in 2-touch mode (slot 0) 2 then 1 give か, typed as k a.
hook_types() {  # WHAT KEYS EXPECTED
  focus_test_field
  xdotool key ctrl+End
  sleep 0.3
  local text_before text_after
  text_before=$(settled_text)
  xdotool key --delay 150 $2
  sleep 1
  text_after=$(settled_text)
  if [ "${text_after,,}" = "${text_before,,}$3" ]; then
    pass "$1: the hook still types: keys '$2' gave '$3'"
  else
    fail "$1: keys '$2' changed the text from '${text_before: -12}' to '${text_after: -12}'"
  fi
}
hook_types "kana toggle" "2" "a"
tray_mode "$two_touch_mode"
hook_types "2-touch" "2 1" "ka"
tray_mode "$kana_mode"

# The changes made while the settings were shown are written as they close.
probe post-command "$IDM_HIDE" 0
sleep 1
[ "$(settings_snapshot)" = "$before" ] && pass "the stored settings are unchanged" ||
  fail "settings changed while running: $(settings_snapshot) (before: $before)"
wine "$exe" -c >/dev/null 2>&1
probe wait-gone 10000 || fail "-c did not end the program"
wait "$app_pid" 2>/dev/null
app_pid=
[ "$(settings_snapshot)" = "$before" ] && pass "the stored settings are unchanged at the end" ||
  fail "settings changed at the end: $(settings_snapshot) (before: $before)"

if [ "$failures" -ne 0 ]; then
  echo "soak: $failures check(s) failed"
  exit 1
fi
echo "soak: all checks passed"
