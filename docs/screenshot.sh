#!/usr/bin/env bash
# Takes docs/window.png: the window with its log page after converting the
# example, under Wine and Xvfb (a Wine virtual desktop draws the title bar).
#   docs/screenshot.sh WINDOWS_BUILD_DIR   (run under xvfb-run, WINEPREFIX set)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
WIN=$(cd "$1" && pwd)
WORK=/tmp/orvantis-demo  # a short path for the picture
rm -rf "$WORK" && mkdir -p "$WORK/図面/出力"
cp "$WIN/orvantis.exe" "$WIN/orvantis_probe.exe" "$WORK/"
cp "$ROOT/examples/sample.jww" "$WORK/図面/平面図.jww"
cp "$ROOT/examples/sample.jww" "$WORK/図面/立面図.jww"
cd "$WORK"
hex() { printf '%s' "$1" | od -An -tx1 -v | tr -d ' \n' | tr a-f A-F; }
out="Z:${WORK//\//\\}\\図面\\出力\\"
printf '40\r\n40\r\n560\r\n520\r\n0\r\n0\r\n0\r\n1\r\n0\r\n%s\r\n\r\n\r\n1\r\nWindows\r\n' "$(hex "$out")" > orvantis.dat
wine explorer /desktop=Orvantis,640x600 orvantis.exe "図面/平面図.jww" "図面/立面図.jww" >/dev/null 2>&1 &
for _ in $(seq 1 60); do [ "$(ls 図面/出力 | wc -l)" -ge 2 ] && break; sleep 1; done
sleep 3
import -window root -crop 600x560+20+20 "$ROOT/docs/window.png"
wine orvantis_probe.exe close >/dev/null 2>&1 || true
sleep 2
"$(command -v wineserver || echo /usr/lib/wine/wineserver)" -k 2>/dev/null || true
echo "docs/window.png written"
