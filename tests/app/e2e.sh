#!/usr/bin/env bash
# The window end to end, as a user drives it: under Xvfb and Wine, from
# outside with xdotool, reading the window back with orvantis_probe.exe.
#   tests/app/e2e.sh WINDOWS_BUILD_DIR LINUX_BUILD_DIR
# Run it under xvfb-run; WINEPREFIX must name the prefix to use.
set -euo pipefail
WIN=$(cd "$1" && pwd)
LIN=$(cd "$2" && pwd)
WORK="$WIN/e2e"
rm -rf "$WORK" && mkdir -p "$WORK/out"
cp "$WIN/orvantis.exe" "$WIN/orvantis_probe.exe" "$WORK/"
cd "$WORK"

winpath() { echo "Z:${1//\//\\}"; }
hex() { printf '%s' "$1" | od -An -tx1 -v | tr -d ' \n' | tr a-f A-F; }
# Settings: the fixed folder "out" chosen.
printf '50\r\n50\r\n480\r\n480\r\n0\r\n0\r\n0\r\n1\r\n0\r\n%s\r\n\r\n\r\n1\r\nWindows\r\n' \
  "$(hex "$(winpath "$WORK/out")\\")" > orvantis.dat

probe() { wine orvantis_probe.exe "$@" 2>/dev/null | tr -d '\r'; }
outputs() { ls out | wc -l; }
fail() { echo "e2e: $*" >&2; exit 1; }
# Waits until the command succeeds, up to N seconds.
wait_for() {
  local n=$1; shift
  for _ in $(seq 1 "$n"); do "$@" && return 0; sleep 1; done
  return 1
}
close_window() { probe close || true; wait_for 20 sh -c '! wine orvantis_probe.exe page >/dev/null 2>&1' || true; }

"$LIN/make_example" a.jww
cp a.jww b.jww
cp a.jww c.jww
echo "not a drawing" > notes.txt

echo "e2e: two drawings and a text file on the command line"
wine orvantis.exe a.jww b.jww notes.txt >/dev/null 2>&1 &
wait_for 60 sh -c '[ "$(ls out | wc -l)" -ge 2 ]' || fail "the command-line files were not converted"
wait_for 20 sh -c '[ "$(wine orvantis_probe.exe page 2>/dev/null | tr -d "\r")" = 1 ]' || fail "the log page is not shown"
[ "$(ls out)" = "$(printf 'a.jww\nb.jww')" ] || fail "unexpected outputs: $(ls out)"
[ "$(probe log | grep -c '変換完了')" = 2 ] || fail "log: $(probe log)"

echo "e2e: the open dialog picks a file by its typed name"
read -r X Y < <(probe label3)
xdotool mousemove "$X" "$Y" click 1
wait_for 20 xdotool search --name "変換元ファイルを指定" >/dev/null || fail "no open dialog"
DIALOG=$(xdotool search --name "変換元ファイルを指定" | head -1)
xdotool key --window "$DIALOG" ctrl+a 2>/dev/null
xdotool type --window "$DIALOG" "c.jww" 2>/dev/null
xdotool key --window "$DIALOG" Return 2>/dev/null
wait_for 30 test -f out/c.jww || fail "the picked file was not converted"
probe log | grep -q 'c.jww' || fail "log: $(probe log)"
close_window

echo "e2e: Escape held down stops a run of large drawings"
for i in 1 2 3 4; do "$LIN/bench/make_drawing" --out "big$i.jww" --elements 200k --seed "$i" --no-check >/dev/null; done
rm -f out/*
# Wine learns a key's state only from key events that reach one of its
# windows (Windows reads the keyboard itself): hold Escape down over a Wine
# window first, then start the run.
wine notepad >/dev/null 2>&1 &
wait_for 30 xdotool search --name "Notepad" >/dev/null || fail "no Wine window to type into"
eval "$(xdotool getwindowgeometry --shell "$(xdotool search --name Notepad | head -1)")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
xdotool keydown Escape
wine orvantis.exe big1.jww big2.jww big3.jww big4.jww >/dev/null 2>&1 &
wait_for 60 sh -c 'wine orvantis_probe.exe log 2>/dev/null | grep -q "ESC"' || { xdotool keyup Escape; fail "no ESC line: $(probe log)"; }
xdotool keyup Escape
[ "$(probe log)" = "[ESC]を押しましたので中断します。" ] || fail "log: $(probe log)"
[ "$(outputs)" = 0 ] || fail "files were converted: $(ls out)"
close_window
pkill -f notepad.exe || true
# Nothing of Wine outlives this display.
"$(command -v wineserver || echo /usr/lib/wine/wineserver)" -k 2>/dev/null || true
echo "e2e: passed"
