# Shared set-up of the end-to-end scripts: the wine prefix (made once, with
# "MS UI Gothic" mapped to the IPA P Gothic font, and window frames drawn and
# windows placed by wine itself, as there is no window manager), a private
# Xvfb display, the probe helpers and the pass/fail bookkeeping. Source it
# after setting `exe`, `probe_exe` and `out`.

export WINEPREFIX=$out/wine-e2e/prefix
export WINEDEBUG=-all
export WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml="
unset WAYLAND_DISPLAY

settings_key='HKCU\Software\ZEF\padquiltkana'

# Control and command ids under the names the code gives them, read from the
# program's own sources: IDC_TEST_FIELD, IDM_ADVANCED and every other id of
# shell/resource_ids.h, and the engine's run-program window command.
source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
eval "$(awk '$1 == "#define" && $2 ~ /^ID[A-Z]_/ && $3 ~ /^[0-9]+$/ { print $2 "=" $3 }' \
  "$source_dir/shell/resource_ids.h")"
kCommandRunProgram=$(sed -n 's/^ *kCommandRunProgram = \([0-9]*\),.*/\1/p' \
  "$source_dir/engine/platform.h")
if [ -z "${IDC_TEST_FIELD:-}" ] || [ -z "$kCommandRunProgram" ]; then
  echo "e2e: the control and command ids could not be read from $source_dir" >&2
  exit 1
fi
failures=0
xvfb_pid=
app_pid=

log() { echo "e2e: $*"; }
pass() { echo "PASS: $*"; }
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

finish() {
  if [ -n "$app_pid" ]; then kill "$app_pid" 2>/dev/null || true; fi
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
}
trap finish EXIT
trap 'exit 143' TERM
trap 'exit 130' INT

probe() { wine "$probe_exe" "$@" 2>/dev/null | tr -d '\r'; return "${PIPESTATUS[0]}"; }
reg_value() {
  wine reg query "$settings_key" /v "$1" 2>/dev/null | tr -d '\r' |
    awk -v name="$1" '$1 == name { print $3 }'
}
start_app() {
  wine "$exe" "$@" >/dev/null 2>&1 &
  app_pid=$!
}
# The screen's DPI for the programs started from now on (96 is 100 %).
set_dpi() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
}

# Clicks into the probe's key window (`probe keys` or `probe key-events`)
# so that it has the keyboard; false when it is not up.
focus_probe_keys_window() {
  local window x y
  window=$(xdotool search --name '^pqk_probe keys$' | head -n 1)
  [ -n "$window" ] || return 1
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  read -r x y < <(xdotool getwindowgeometry --shell "$window" |
    awk -F= '/^X=/{x=$2} /^Y=/{y=$2} END{print x+50, y+30}')
  xdotool mousemove "$x" "$y" click 1
  sleep 0.3
}

# Wine places the windows itself and gives the keyboard to the window clicked
# last (the notification area's, after a click on the icon): the program's
# open menu gets it back before keys are typed into it.
focus_menu() {
  local size window
  size=$(probe rect menu | cut -d+ -f1) || return 1
  for window in $(xdotool search --onlyvisible --class "$(basename "$exe")"); do
    if [ "$(xdotool getwindowgeometry "$window" | awk '/Geometry/ { print $2 }')" = "$size" ]; then
      xdotool windowfocus "$window"
      sleep 0.2
      return 0
    fi
  done
  return 1
}

# The prefix is made once and kept: its creation is the slow part. A prefix
# made by an older set-up (another version below) is made again.
prefix_setup_version=2
mkdir -p "$out/wine-e2e"
exec 8>"$out/wine-e2e/setup.lock"
flock -x 8
if [ ! -f "$WINEPREFIX/system.reg" ] ||
  [ "$(cat "$out/wine-e2e/prefix-set-up" 2>/dev/null)" != "$prefix_setup_version" ]; then
  log "creating the wine prefix"
  rm -rf "$WINEPREFIX"
  DISPLAY= wineboot -i >/dev/null 2>&1
  DISPLAY= wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "MS UI Gothic" \
    /d "IPAPGothic" /f >/dev/null 2>&1
  DISPLAY= wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
  # No window manager runs: without this wine would wait two seconds for one
  # each time a window is shown or hidden.
  DISPLAY= wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wineserver -w
  echo "$prefix_setup_version" >"$out/wine-e2e/prefix-set-up"
fi

display_file=$(mktemp "$out/wine-e2e/display.XXXXXX")
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$display_file" ] && break
  sleep 0.05
done
display_number=$(tr -dc '0-9' <"$display_file")
rm -f "$display_file"
if [ -z "$display_number" ]; then
  echo "e2e: Xvfb did not start" >&2
  exit 1
fi
export DISPLAY=:$display_number

# A run that stopped half-way may have left another DPI behind.
set_dpi 96
