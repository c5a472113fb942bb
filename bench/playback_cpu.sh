#!/usr/bin/env bash
# The share of one core the whole player takes while it plays the 3-minute MP3 with its
# window shown, measured from outside over 20 s, for each player given, interleaved, RUNS
# times; medians. Each run: a fresh start folder whose list holds the MP3, a private session
# bus, the track started with `playerctl next` (in order: the first entry), 3 s to settle.
# With CHANGING=1 the list holds 1,000 silent waves of 1.5 s each instead, so that a track
# changes (and with Auto Save, a background save falls due) every 1.5 s.
# Usage (on a display, e.g. under xvfb-run): [CHANGING=1] bench/playback_cpu.sh RUNS PLAYER...
set -euo pipefail
runs=$1
shift
mp3=$(cd "$(dirname "$0")/data" && pwd)/three-minutes.mp3
ticks=$(getconf CLK_TCK)

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# A wave of 1.5 s of silence: 8 kHz, 8 bits, mono.
silent_wave() {
  printf 'RIFF\x04\x2f\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00\x40\x1f\x00\x00\x40\x1f\x00\x00\x01\x00\x08\x00data\xe0\x2e\x00\x00'
  head -c 12000 /dev/zero | tr '\0' '\200'
}

write_list() {
  local folder=$1
  if [ "${CHANGING:-0}" = 1 ]; then
    silent_wave >"$folder/wave"
    for i in $(seq 1000); do
      cp "$folder/wave" "$folder/$i.wav"
      printf '0\r\n%s\r\n' "$folder/$i.wav"
    done >"$folder/default-List.oml"
  else
    printf '0\r\n%s\r\n' "$mp3" >"$folder/default-List.oml"
  fi
}

measure() {
  local player=$1 folder
  folder=$(mktemp -d)
  write_list "$folder"
  local bus
  bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1)
  local address=${bus%%$'\n'*} daemon=${bus##*$'\n'}
  (cd "$folder" && XDG_CONFIG_HOME=$folder DBUS_SESSION_BUS_ADDRESS=$address exec "$player") >/dev/null 2>&1 &
  local pid=$!
  sleep 2
  DBUS_SESSION_BUS_ADDRESS=$address playerctl --player=ostrel next >/dev/null 2>&1 || true
  sleep 3
  local before after
  before=$(cpu_ticks "$pid")
  sleep 20
  after=$(cpu_ticks "$pid")
  DBUS_SESSION_BUS_ADDRESS=$address playerctl --player=ostrel status 2>/dev/null | grep -q Playing \
    || echo "warning: $player was not playing" >&2
  kill "$pid" "$daemon" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  rm -rf "$folder"
  awk -v t=$((after - before)) -v hz="$ticks" 'BEGIN { printf "%.2f\n", 100 * t / hz / 20 }'
}

declare -A results
for ((run = 0; run < runs; ++run)); do
  for player in "$@"; do
    results[$player]+="$(measure "$player") "
  done
done
for player in "$@"; do
  median=$(tr ' ' '\n' <<<"${results[$player]}" | grep -v '^$' | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')
  echo "$player: ${median}% of a core while playing (runs: ${results[$player]})"
done
