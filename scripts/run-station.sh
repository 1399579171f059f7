#!/usr/bin/env bash
# Builds the station and its device simulator, starts the simulator on a pseudo-terminal, waits until it
# is ready, then starts the station in a working directory that has its Data folder. Without a DISPLAY
# the station runs under xvfb-run. The simulator answers at the device's pace (19200 baud, a small
# latency) through a USB adapter's packets, its default.
# Usage: scripts/run-station.sh [working-directory]   (default: ~/QintarSoft)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$here/build"

bash "$here/scripts/build.sh" "$build"

workdir="${1:-$HOME/QintarSoft}"
mkdir -p "$workdir/Data"

devsim="$build/tools/devsim/qintar-devsim"
devsim_pid=""
cleanup() {
  exec 3>&- 2>/dev/null || true
  if [ -n "$devsim_pid" ]; then
    kill "$devsim_pid" 2>/dev/null || true
    wait "$devsim_pid" 2>/dev/null || true
  fi
  rm -f "${control:-}"
}
trap cleanup EXIT

if [ -x "$devsim" ]; then
  log="$workdir/qintar-devsim.log"
  control="$workdir/qintar-devsim.control"
  # A link left behind by a simulator that did not end cleanly leads nowhere; it may be replaced.
  link="${XDG_CONFIG_HOME:-$HOME/.config}/Qintar_54_Ports/COM99"
  force=()
  if [ -L "$link" ] && [ ! -e "$link" ]; then force=(--force); fi
  rm -f "$control"
  mkfifo "$control"
  "$devsim" --port 99 --circle "${force[@]}" <"$control" >"$log" 2>&1 &
  devsim_pid=$!
  # Holding the control pipe open keeps the simulator running; each line written to it is a control
  # line, for example: echo record > ~/QintarSoft/qintar-devsim.control
  exec 3>"$control"
  for _ in $(seq 1 300); do
    grep -q ready "$log" && break
    kill -0 "$devsim_pid" 2>/dev/null || { cat "$log" >&2; echo "run-station: the simulator stopped" >&2; exit 1; }
    sleep 0.1
  done
  grep -q ready "$log" || { echo "run-station: the simulator did not get ready" >&2; exit 1; }
  echo "run-station: simulator $(grep -m1 ready "$log"); record a point with: echo record > $control"
else
  echo "run-station: no device simulator built; starting the station alone" >&2
fi

cd "$workdir"
if [ -z "${DISPLAY:-}" ]; then
  xvfb-run -a -s "-screen 0 1280x1024x24" "$build/src/app/qintarsoft"
else
  "$build/src/app/qintarsoft"
fi
