#!/bin/bash
# Runs one whole FT8 QSO against a real Parkbook without a radio or a desktop:
# a throw-away home, Parkbook on a virtual X display, "Auto Reply" ticked by a
# key press, then wsjtx-sim as WSJT-X (heartbeat, CQ POTA, report, sign-off,
# logged record). Prints what Parkbook sent back and the rows it wrote.
#
#   tools/wsjtx-sim/try-qso.sh [build-dir]        (default: build)
#
# Needs Xvfb, xdotool and sqlite3. PORT=nnnn picks another UDP port when 2237
# is taken; DISPLAY_NUMBER another virtual display.
set -euo pipefail

build=$(realpath "${1:-build}")
source_dir=$(cd "$(dirname "$0")" && pwd)
port=${PORT:-2237}
display=:${DISPLAY_NUMBER:-77}

for tool in Xvfb xdotool sqlite3; do
    command -v "$tool" >/dev/null || { echo "$tool is missing (apt-get install xvfb xdotool sqlite3)"; exit 1; }
done
[ -x "$build/src/parkbook" ] && [ -x "$build/tools/wsjtx-sim/wsjtx-sim" ] ||
    { echo "build parkbook and wsjtx-sim first"; exit 1; }

home=$(mktemp -d)
pids=()
finish() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$home"
}
trap finish EXIT

# Parkbook's home: the program files, an empty data folder, settings that open
# only the main window and the WSJT-X panel, and a station so that no message
# box asks for call signs at start-up.
mkdir -p "$home/Programs/Parkbook/Info" "$home/Programs/Parkbook/Data"
cp "$build"/Info/* "$home/Programs/Parkbook/Info/"
{
    echo "[Main]"
    echo "AutoUpdate=false"
    for group in About Station Contact Activity ParkLog ContactLog ActivationLog; do
        printf '[%s]\nVisible=No\n' "$group"
    done
    printf '[WSJTx]\nVisible=Yes\nUdpIp=127.0.0.1\nUdpPort=%s\n' "$port"
} >"$home/Programs/Parkbook/Info/Parkbook.ini"
sqlite3 "$home/Programs/Parkbook/Data/parkbook.db" <<'SQL'
CREATE TABLE station (id INTEGER PRIMARY KEY NOT NULL, station TEXT, call TEXT, passwd TEXT,
  lat TEXT, lon TEXT, mode TEXT, band TEXT, frequency TEXT, power TEXT, county TEXT, state TEXT,
  location TEXT, park1 TEXT, name1 TEXT, mst1 TEXT, park2 TEXT, name2 TEXT, mst2 TEXT,
  park3 TEXT, name3 TEXT, mst3 TEXT, park4 TEXT, name4 TEXT, mst4 TEXT, park5 TEXT, name5 TEXT,
  mst5 TEXT);
INSERT INTO station (station, call, lat, lon, mode, band, power, state, park1, name1)
  VALUES ('Q1ABC', 'Q1ABC', '41.714775', '-72.727260', 'FT8', '20m', '10', 'CT', 'K-0001',
          'Test Park');
SQL

Xvfb "$display" -screen 0 1280x1024x24 >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=$display
# Never the real QRZ service or update server.
export PARKBOOK_QRZ_URL=http://127.0.0.1:9/ PARKBOOK_UPDATE_URL=http://127.0.0.1:9/
(cd "$home" && QT_QPA_PLATFORM=xcb exec "$build/src/parkbook" >"$home/parkbook.out" 2>&1) &
pids+=($!)

panel=
for _ in $(seq 50); do
    panel=$(xdotool search --name "^WSJT-X: UDP" 2>/dev/null | head -1) && [ -n "$panel" ] && break
    sleep 0.2
done
[ -n "$panel" ] || { echo "the WSJT-X panel did not appear"; cat "$home/parkbook.out"; exit 1; }
# The panel opens with the UDP IP field focused; the third Tab reaches "Auto Reply".
xdotool windowfocus --sync "$panel"
xdotool key --window "$panel" --delay 100 Tab Tab Tab space
sleep 0.5

"$build/tools/wsjtx-sim/wsjtx-sim" --port "$port" --wait 700 \
    --decodes "$source_dir/qso.txt" --log "$source_dir/logged.adi"

echo "-- log rows in parkbook.db:"
sqlite3 "$home/Programs/Parkbook/Data/parkbook.db" \
    "SELECT date, time, park, call, mode, band, sent, rcvd FROM log"
echo "-- activations:"
sqlite3 "$home/Programs/Parkbook/Data/parkbook.db" "SELECT date, park, name FROM parks"
