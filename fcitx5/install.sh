#!/usr/bin/env bash
# Builds the fcitx5 add-on and installs it for the current user, or into
# PREFIX: the library with its default keymap and manual beside it in
# PREFIX/lib/fcitx5, and its description in PREFIX/share/fcitx5/addon, where
# fcitx5 finds it when it starts.
# Usage: fcitx5/install.sh [PREFIX]   (default ~/.local)
set -euo pipefail
cd "$(dirname "$0")/.."
prefix=${1:-$HOME/.local}
build=build/fcitx5-addon

# The add-on alone: no tests, so only a compiler, cmake and fcitx5's
# development files are needed.
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DPQK_BUILD_TESTS=OFF >/dev/null
targets=$(cmake --build "$build" --target help)
if ! grep -qx '\.\.\. padquiltkana' <<<"$targets"; then
  echo "fcitx5's development files are missing; on Debian or Ubuntu:" >&2
  echo "  sudo apt-get install libfcitx5core-dev fcitx5-modules-dev" >&2
  exit 1
fi
cmake --build "$build" --target padquiltkana -j "$(nproc)"
cmake --install "$build" --prefix "$prefix" --component fcitx5
cat <<MESSAGE
Installed into $prefix. Restart fcitx5 to load the add-on:
  fcitx5 -r -d
Its settings are under the add-on "padquiltkana" in fcitx5's configuration tool
(fcitx5-configtool); it types through mozc (package fcitx5-mozc).
MESSAGE
