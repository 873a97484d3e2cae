#!/usr/bin/env bash
# Installs a built tree into a temporary prefix, starts the program through
# the installed launcher in a temporary home, and uninstalls it again.
#   tests/install-check.sh <build-dir>
# Checks: the installed files are where a desktop expects them, the .desktop
# file is valid (when desktop-file-validate is there), the launcher lays out
# Programs/Parkbook/{Info,Data} without touching Parkbook.ini or Data, the
# program comes up and keeps running, and removing every file of
# install_manifest.txt leaves the user's Data as it was.
set -euo pipefail

build="$(cd "${1:?usage: install-check.sh <build-dir>}" && pwd)"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
prefix="$scratch/prefix"
home="$scratch/home/Parkbook"
fail() { echo "install-check: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >"$scratch/install.log"
for file in bin/parkbook bin/parkbook-start share/applications/parkbook.desktop \
            share/icons/hicolor/128x128/apps/parkbook.png share/parkbook/Info/README.txt \
            share/parkbook/Info/State_LatLon.csv share/parkbook/Info/Parkbook.png; do
    [ -e "$prefix/$file" ] || fail "$file was not installed"
done
[ -x "$prefix/bin/parkbook-start" ] || fail "parkbook-start is not executable"
[ ! -e "$prefix/share/parkbook/Info/Parkbook.ini" ] || fail "a Parkbook.ini was installed"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$prefix/share/applications/parkbook.desktop" \
        || fail "parkbook.desktop is not valid"
else
    echo "install-check: desktop-file-validate not found, .desktop file not validated"
fi
grep -qx 'Exec=parkbook-start' "$prefix/share/applications/parkbook.desktop" \
    || fail "the desktop entry does not start the launcher"

# A user who already has settings and a log.
mkdir -p "$home/Programs/Parkbook/Info" "$home/Programs/Parkbook/Data"
printf '[Main]\nAutoUpdate=false\n[Mine]\nKeep=yes\n' >"$home/Programs/Parkbook/Info/Parkbook.ini"
printf 'my log\n' >"$home/Programs/Parkbook/Data/keep.txt"
cp "$home/Programs/Parkbook/Info/Parkbook.ini" "$scratch/ini.before"

# Started the way the desktop does it (PATH lookup of the Exec name). The
# program must come up and still run after 5 seconds; no network is reached.
status=0
(cd / && env HOME="$scratch/home" PATH="$prefix/bin:$PATH" QT_QPA_PLATFORM=offscreen \
     PARKBOOK_QRZ_URL=http://127.0.0.1:9/xml/current/ \
     PARKBOOK_UPDATE_URL=http://127.0.0.1:9/xml/current/ \
     timeout 5 parkbook-start >"$scratch/run.log" 2>&1) || status=$?
[ "$status" -eq 124 ] || { cat "$scratch/run.log" >&2; fail "parkbook did not keep running (exit $status)"; }
[ -f "$home/Programs/Parkbook/Info/README.txt" ] || fail "the launcher did not copy the assets"
# A fresh Data folder: the program has opened its error log there (the new
# database is announced in a box first, which waits for a click).
[ -f "$home/Programs/Parkbook/Data/errorLog.txt" ] || fail "parkbook did not open its Data folder"
grep -q '^Keep=yes' "$home/Programs/Parkbook/Info/Parkbook.ini" \
    || fail "the user's Parkbook.ini was overwritten"
[ "$(cat "$home/Programs/Parkbook/Data/keep.txt")" = "my log" ] || fail "Data was changed"

# Uninstall: remove exactly what was installed.
manifest="$build/install_manifest.txt"
[ -f "$manifest" ] || fail "no install_manifest.txt"
find "$home/Programs/Parkbook/Data" -type f -exec sha256sum {} + | sort >"$scratch/data.before"
# (the manifest has no newline after its last line)
while IFS= read -r file || [ -n "$file" ]; do
    rm -f "$file"
done <"$manifest"
left="$(find "$prefix" -type f | wc -l)"
[ "$left" -eq 0 ] || fail "$left files left in the prefix after uninstalling: $(find "$prefix" -type f)"
find "$home/Programs/Parkbook/Data" -type f -exec sha256sum {} + | sort >"$scratch/data.after"
cmp -s "$scratch/data.before" "$scratch/data.after" || fail "uninstalling touched Data"
echo "install-check: installed, started from the launcher, uninstalled; Data untouched."
