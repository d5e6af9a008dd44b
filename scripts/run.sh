#!/usr/bin/env bash
# Builds quipstream.exe and starts it: under Wine on Linux, on the current X
# display or, when there is none, in an Xvfb of its own. The program and its
# Settings.xml live in $QS_HOME (default ~/Quipstream).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install_deps.sh"
"$root/scripts/build_windows.sh" "$root/build/win64"

home=${QS_HOME:-$HOME/Quipstream}
mkdir -p "$home"
cp "$root/build/win64/quipstream.exe" "$home/quipstream.exe"

case "$(uname -s)" in
  MINGW*|MSYS*|CYGWIN*) exec "$home/quipstream.exe" ;;
esac

export WINEDEBUG=${WINEDEBUG:--all}
if [ -z "${DISPLAY:-}" ]; then
  display=:$(( (RANDOM % 400) + 100 ))
  echo "No X display: starting Xvfb on $display (screenshots: DISPLAY=$display import -window root shot.png)"
  Xvfb "$display" -screen 0 1280x800x24 >/dev/null 2>&1 &
  xvfb_pid=$!
  trap 'kill "$xvfb_pid" 2>/dev/null || true' EXIT
  export DISPLAY=$display
  sleep 1
fi
echo "Starting $home/quipstream.exe under Wine (Settings.xml lives beside it)"
wine "$home/quipstream.exe"
