#!/usr/bin/env bash
# The fcitx5 add-on end to end: installs it from the build into a fresh
# HOME as a user would, then runs a desktop session of its own (Xvfb, a private D-Bus session,
# fcitx5 with mozc and the add-on, a GTK3 entry) and types into the entry
# (fcitx5_e2e.py). mozc refuses to run as root, so as root the session runs
# as the user nobody; its HOME is a fresh folder that already has ~/.config.
# Usage: run-e2e.sh BUILD_DIR [CMAKE]
set -euo pipefail

build=$(cd "$1" && pwd)
cmake=${2:-cmake}
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)

work=$(mktemp -d /tmp/pqk-fcitx5-e2e.XXXXXX)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"

mkdir -p "$work/home/.config/fcitx5" "$work/run"
# Installed as a user installs it (fcitx5/install.sh): into ~/.local.
"$cmake" --install "$build" --prefix "$work/home/.local" --component fcitx5 >/dev/null
if [ ! -f "$work/home/.local/share/fcitx5/addon/padquiltkana.conf" ]; then
  echo "FAIL: cmake --install put no add-on description in ~/.local/share/fcitx5/addon" >&2
  exit 1
fi
# One group: the US keyboard layout, and mozc as the input method it
# switches to (Ctrl+Space).
cat > "$work/home/.config/fcitx5/profile" <<'EOF'
[Groups/0]
Name=Default
Default Layout=us
DefaultIM=mozc

[Groups/0/Items/0]
Name=keyboard-us
Layout=

[Groups/0/Items/1]
Name=mozc
Layout=

[GroupOrder]
0=Default
EOF
# A keymap whose key 1 is a bell key with one action instead of twelve.
printf "keymap '\\\\x00'\nkey '\\\\x01'\nchar '\\\\x41'\nkey '\\\\x02'\n" > "$work/broken-keymap.txt"
cp "$here/e2e-session.sh" "$here/fcitx5_e2e.py" "$here/e2e_desktop.py" "$work/"

session=(setsid --wait bash "$work/e2e-session.sh" "$work")
if [ "$(id -u)" -eq 0 ]; then
  if ! id nobody >/dev/null 2>&1; then
    echo "FAIL: mozc cannot run as root and there is no user nobody to run it as" >&2
    exit 1
  fi
  chown -R nobody: "$work/home" "$work/run"
  session=(setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups "${session[@]}")
fi
"${session[@]}"
