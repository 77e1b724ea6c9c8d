#!/usr/bin/env bash
# The desktop session of the add-on's end-to-end run, as an unprivileged
# user: Xvfb, a private D-Bus session bus, fcitx5 with mozc and the add-on,
# then the GTK3 entry and its driver (fcitx5_e2e.py). Every process it starts
# is ended on the way out, with the children they started (mozc_server);
# the run has a session of its own, and nothing of it outlives the run.
# Usage: e2e-session.sh WORK_DIR  (prepared by run-e2e.sh)
set -euo pipefail

work=$1
run=$work/run
cd "$run"
export HOME=$work/home
export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
export XDG_DATA_DIRS=/usr/local/share:/usr/share
unset XDG_RUNTIME_DIR
# No accessibility bus or settings daemon for GTK to leave behind.
export NO_AT_BRIDGE=1 GSETTINGS_BACKEND=memory

started=()

end_process() {
  local pid=$1 child
  for child in $(pgrep -P "$pid" || true); do end_process "$child"; done
  kill "$pid" 2>/dev/null || true
}

end_session() {
  local i
  for ((i = ${#started[@]} - 1; i >= 0; i--)); do end_process "${started[i]}"; done
  for ((i = 0; i < 40; i++)); do
    local alive=0 pid
    for pid in "${started[@]}"; do kill -0 "$pid" 2>/dev/null && alive=1; done
    [ "$alive" -eq 0 ] && break
    sleep 0.05
  done
  for pid in "${started[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
  # What they left behind (mozc_server, should fcitx5 have ended first) is
  # still in this run's own session, which run-e2e.sh began for it.
  if [ "$(ps -o sid= -p $$ | tr -d ' ')" = "$$" ]; then
    for pid in $(pgrep -s $$ || true); do
      [ "$pid" = "$$" ] || kill -9 "$pid" 2>/dev/null || true
    done
  fi
  wait 2>/dev/null || true
}
trap end_session EXIT

fail() {
  echo "FAIL: $*" >&2
  for log in fcitx5.log xvfb.log dbus.log; do
    [ -s "$log" ] && { echo "--- $log (last lines)" >&2; tail -n 20 "$log" >&2; }
  done
  exit 1
}

# Waits up to $1 tenths of a second for the command after it to succeed.
wait_for() {
  local tenths=$1
  shift
  for ((; tenths > 0; tenths--)); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

Xvfb -displayfd 3 -nolisten tcp -screen 0 640x480x24 3>display 2>xvfb.log &
started+=($!)
wait_for 100 test -s display || fail "Xvfb did not start"
export DISPLAY=:$(head -n 1 display)

dbus-daemon --session --nofork --print-address=3 3>bus-address 2>dbus.log &
started+=($!)
wait_for 100 test -s bus-address || fail "the D-Bus session bus did not start"
export DBUS_SESSION_BUS_ADDRESS=$(head -n 1 bus-address)

# Only what the run needs: the D-Bus frontend (GTK's), X, the keyboard
# layouts, mozc, the notifications and the add-on.
fcitx5 --verbose='*=4' \
  --disable=classicui,kimpanel,notificationitem,clipboard,wayland,waylandim,emoji,quickphrase,unicode,spell,imselector,fcitx4frontend,ibusfrontend,xim \
  >fcitx5.log 2>&1 &
fcitx_pid=$!
started+=($fcitx_pid)

fcitx_on_bus() {
  kill -0 "$fcitx_pid" 2>/dev/null || fail "fcitx5 ended"
  gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
    --method org.freedesktop.DBus.NameHasOwner org.fcitx.Fcitx5 2>/dev/null | grep -q true
}
wait_for 300 fcitx_on_bus || fail "fcitx5 did not take its D-Bus name"
wait_for 100 grep -q 'Loaded addon padquiltkana' fcitx5.log || fail "fcitx5 did not load the add-on"

GTK_IM_MODULE=fcitx \
  timeout 120 /usr/bin/python3 "$work/fcitx5_e2e.py" "$work/broken-keymap.txt" "$run/fcitx5.log" &
driver=$!
started+=($driver)
status=0
wait "$driver" || status=$?
[ "$status" -eq 0 ] || fail "the entry did not show what was typed (status $status)"
echo "fcitx5 end-to-end run passed"
