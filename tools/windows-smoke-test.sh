#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The Windows program's real window under Wine, on a virtual screen (Xvfb): installs it silently
# from the installer (or takes a built quorvel.exe), starts it as a user named José with a drive C
# of its own in a folder named 東京, finds the main window by its caption, picks a group and its
# image with the keyboard (the common 28F008 loader and boot file are picked at start), starts
# the run and confirms it. The stand-in flasher (a Windows program named flasher.com) records
# what was staged; the journal in José's profile records the run's end and `--history` prints
# it. A screenshot of the window is taken. Then the uninstaller removes the program and leaves
# the library as it was. Uses the Wine prefix of $WINEPREFIX.
# Usage: windows-smoke-test.sh (--installer SETUP.exe | --program quorvel.exe)
#            --stand-in stand_in_flasher.exe [--screenshot FILE.png]
set -euo pipefail
self=$(realpath "$0")
cd "$(dirname "$0")/.."
installer="" program="" stand_in="" screenshot=""
while [ $# -gt 0 ]; do
    case $1 in
    --installer) installer=$(realpath "$2") ;;
    --program) program=$(realpath "$2") ;;
    --stand-in) stand_in=$(realpath "$2") ;;
    --screenshot) screenshot=$(realpath -m "$2") ;;
    *) echo "unknown argument $1" >&2; exit 2 ;;
    esac
    shift 2
done
if [ -z "${QUORVEL_ON_XVFB:-}" ]; then
    export QUORVEL_ON_XVFB=1
    exec xvfb-run --auto-servernum --server-args="-screen 0 1024x768x24" "$self" \
        ${installer:+--installer "$installer"} ${program:+--program "$program"} \
        --stand-in "$stand_in" ${screenshot:+--screenshot "$screenshot"}
fi
export LC_ALL=C.UTF-8 WINEDEBUG=-all
fail() { echo "FAIL (Windows smoke test): $*" >&2; exit 1; }
# A wineserver started without a display serves no windows.
wineserver -k 2>/dev/null || true
work=$(mktemp -d)
app=""
cleanup() {
    [ -z "$app" ] || kill "$app" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

user=José
drive="$work/東京/drive_c"
tools/sample-library.sh "$drive" >/dev/null
cp "$stand_in" "$drive/flasher/flasher.com"
library_state() { (cd "$drive/nk_files/Lunzo" && find . -type f -exec sha256sum {} + | sort); }

installed_folder='C:\Program Files\Quorvel'
if [ -n "$installer" ]; then
    wine "$installer" /S </dev/null || fail "the installer ended with $?"
    wineserver -w
    program=$(winepath -u "$installed_folder\\quorvel.exe")
    [ -f "$program" ] || fail "the installer put no quorvel.exe in $installed_folder"
    start_menu=$(winepath -u 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Quorvel.lnk')
    [ -f "$start_menu" ] || fail "no Start menu entry"
fi

USER=$user wine "$program" --drive-c "$(winepath -w "$drive")" </dev/null >"$work/program.log" 2>&1 &
app=$!
window=""
for _ in $(seq 120); do
    window=$(xdotool search --onlyvisible --name 'Lunzos Nokia Quorvel v1.0' 2>/dev/null | head -n 1) || true
    [ -n "$window" ] && break
    kill -0 "$app" 2>/dev/null || { cat "$work/program.log" >&2; fail "quorvel.exe ended before its window showed"; }
    sleep 1
done
[ -n "$window" ] || fail "no main window within 120 s"
sleep 2 # its first paint
echo "main window: $(xdotool getwindowname "$window"), $(xdotool getwindowgeometry "$window" | grep Geometry)"

keys() { xdotool key --delay 150 "$@"; sleep 0.7; }
# No window manager gives the window the keyboard: it is given it here. Then the group 3210's
# page to the front (from the find field back to the group tabs, and its first letter typed
# there), its image picked in its list (Tab, Space), Start pressed (Alt+S) and the run confirmed
# (Enter, the confirmation's default button). The loader and boot file are picked at start.
xdotool windowfocus --sync "$window"
sleep 0.5
for step in ctrl+f shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab 3 Tab space alt+s Return; do
    keys "$step"
done

log="$drive/flasher/stand-in.log"
for _ in $(seq 30); do [ -f "$log" ] && break; sleep 1; done
[ -f "$log" ] || fail "the stand-in flasher was not started"
grep -qx 'arguments: 0' "$log" || fail "the flasher was given arguments: $(cat "$log")"
for staged in 'f_loader.bin' 'boot.bin' 'nhm5.fls'; do
    grep -q "^staged: $staged " "$log" || fail "$staged was not staged: $(cat "$log")"
done
grep -qx 'flasher.cfg: 68 bytes' "$log" || fail "flasher.cfg is not the group's: $(cat "$log")"
sleep 2 # the status line takes the run's end
if [ -n "$screenshot" ]; then
    import -window "$window" "$screenshot"
    echo "screenshot: $screenshot"
fi
keys alt+e # Exit
for _ in $(seq 20); do kill -0 "$app" 2>/dev/null || break; sleep 1; done
kill -0 "$app" 2>/dev/null && fail "Exit did not close the program"
app=""

history=$(USER=$user wine "$program" --history </dev/null 2>&1) || fail "--history ended with $?"
grep -q '3210' <<<"$history" && grep -qi 'success' <<<"$history" ||
    fail "--history does not show the run: $history"
echo "--history as $user:"
echo "$history"

# What the uninstaller must leave as it is (closing the program may have written the library).
library_before=$(library_state)
if [ -n "$installer" ]; then
    wine "$(winepath -u "$installed_folder\\uninstall.exe")" /S </dev/null || fail "the uninstaller ended with $?"
    wineserver -w
    [ ! -e "$(winepath -u "$installed_folder")" ] || fail "the uninstaller left $(ls "$(winepath -u "$installed_folder")")"
    [ ! -e "$start_menu" ] || fail "the uninstaller left the Start menu entry"
fi
[ "$(library_state)" = "$library_before" ] || fail "the library changed"
echo "ok: Windows program${installer:+ installed, }started, ran the stand-in flasher${installer:+, uninstalled}"
